#include "CompoundFileCheck.h"
#include <cstring>
#include <vector>
#include "Handles.h"
#include "VarInt.h"

namespace {

constexpr DWORD kEndOfChain = 0xFFFFFFFE;
constexpr DWORD kFreeSector = 0xFFFFFFFF;
constexpr DWORD kMaxRegularSector = 0xFFFFFFFA;
constexpr DWORD kNoStream = 0xFFFFFFFF;
constexpr DWORD kHeaderDifatEntries = 109;
constexpr size_t kEntrySize = 128;
constexpr HRESULT kCorrupt = STG_E_DOCFILECORRUPT;
constexpr HRESULT kUnsafeNames = STG_E_INVALIDNAME;

DWORD Le32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }
WORD Le16(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

// The file is looked at through a read-only view of it; nothing is written.
class CompoundFile {
public:
    CompoundFile(const BYTE* data, size_t size) : data_(data), size_(size) {}

    HRESULT Check() {
        // Not a compound file at all: the code the storage code gives for it.
        static const BYTE kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        if (size_ < 512 || memcmp(data_, kSignature, 8) != 0) return STG_E_FILEALREADYEXISTS;
        const BYTE* header = data_;
        WORD shift = Le16(header + 0x1E), miniShift = Le16(header + 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6) return kCorrupt;
        sectorSize_ = 1u << shift;
        // Sectors the file holds (a last partial sector counts; what is missing reads as 0).
        size_t sectors = (size_ - 1) / sectorSize_;
        if (sectors == 0 || sectors > 0x7FFFFFFF) return kCorrupt;
        sectorCount_ = static_cast<DWORD>(sectors);
        usedSectors_.assign(sectorCount_, false);

        HRESULT hr = ReadFat(header);
        if (SUCCEEDED(hr)) hr = ReadDirectory(Le32(header + 0x30));
        if (SUCCEEDED(hr)) hr = CheckTree();
        if (SUCCEEDED(hr)) hr = CheckStreams(Le32(header + 0x3C), Le32(header + 0x38));
        if (SUCCEEDED(hr)) hr = CheckNames();
        return hr;
    }

private:
    // Copies one sector out of the file (the sector must exist).
    void ReadSector(DWORD sector, BYTE* buf) const {
        size_t offset = (static_cast<size_t>(sector) + 1) * sectorSize_;
        size_t n = offset + sectorSize_ <= size_ ? sectorSize_ : size_ - offset;
        memcpy(buf, data_ + offset, n);
        memset(buf + n, 0, sectorSize_ - n);
    }

    // The sectors of a chain in a table: each inside the file and in no other chain.
    HRESULT Chain(const std::vector<DWORD>& table, DWORD start, std::vector<bool>& used, std::vector<DWORD>* out) {
        out->clear();
        for (DWORD s = start; s != kEndOfChain;) {
            if (s >= used.size() || s >= table.size() || used[s]) return kCorrupt;
            used[s] = true;
            out->push_back(s);
            s = table[s];
            if (s > kMaxRegularSector && s != kEndOfChain) return kCorrupt;
        }
        return S_OK;
    }

    HRESULT ReadFat(const BYTE* header) {
        DWORD fatSectors = Le32(header + 0x2C);
        DWORD perSector = sectorSize_ / 4;
        if (fatSectors > sectorCount_) return kCorrupt;
        std::vector<DWORD> fatList;
        for (DWORD i = 0; i < kHeaderDifatEntries && fatList.size() < fatSectors; ++i)
            fatList.push_back(Le32(header + 0x4C + 4 * i));
        DWORD difat = Le32(header + 0x44), difatCount = Le32(header + 0x48);
        std::vector<BYTE> buf(sectorSize_);
        for (DWORD d = 0; fatList.size() < fatSectors; ++d) {
            if (d >= difatCount || difat >= sectorCount_) return kCorrupt;
            ReadSector(difat, buf.data());
            for (DWORD i = 0; i + 1 < perSector && fatList.size() < fatSectors; ++i)
                fatList.push_back(Le32(buf.data() + 4 * i));
            difat = Le32(buf.data() + 4 * (perSector - 1));
        }
        fat_.clear();
        fat_.reserve(static_cast<size_t>(fatSectors) * perSector);
        for (DWORD s : fatList) {
            if (s >= sectorCount_) return kCorrupt;
            ReadSector(s, buf.data());
            for (DWORD i = 0; i < perSector; ++i) fat_.push_back(Le32(buf.data() + 4 * i));
        }
        return S_OK;
    }

    HRESULT ReadDirectory(DWORD start) {
        std::vector<DWORD> chain;
        HRESULT hr = Chain(fat_, start, usedSectors_, &chain);
        if (FAILED(hr)) return hr;
        if (chain.empty()) return kCorrupt;
        dir_.assign(chain.size() * sectorSize_, 0);
        for (size_t i = 0; i < chain.size(); ++i) ReadSector(chain[i], &dir_[i * sectorSize_]);
        entryCount_ = static_cast<DWORD>(dir_.size() / kEntrySize);
        return Type(0) == 5 ? S_OK : kCorrupt;  // entry 0 is the root
    }

    const BYTE* Entry(DWORD i) const { return &dir_[i * kEntrySize]; }
    BYTE Type(DWORD i) const { return Entry(i)[66]; }

    // Every storage's children form a tree of left and right siblings; no entry may be
    // reached twice and every link must name an entry of the directory.
    HRESULT CheckTree() {
        std::vector<bool> seen(entryCount_, false);
        std::vector<DWORD> stack{0};
        seen[0] = true;
        while (!stack.empty()) {
            DWORD e = stack.back();
            stack.pop_back();
            const BYTE* p = Entry(e);
            BYTE type = p[66];
            if (type != 1 && type != 2 && type != 5) return kCorrupt;
            DWORD links[3] = {Le32(p + 68), Le32(p + 72), Le32(p + 76)};
            if (e == 0 && (links[0] != kNoStream || links[1] != kNoStream)) return kCorrupt;
            if (type == 2 && links[2] != kNoStream) return kCorrupt;
            for (DWORD link : links) {
                if (link == kNoStream) continue;
                if (link >= entryCount_ || seen[link]) return kCorrupt;
                seen[link] = true;
                stack.push_back(link);
            }
            if (type == 2) streams_.push_back(e);
            reached_.push_back(e);
        }
        return S_OK;
    }

    // The name-length field of every entry in the tree must give its name: even, 2 to 64
    // bytes, and ending at the name's terminating zero. The storage code reads names up
    // to their zero and so reads such a file, but takes an entry whose length field is 0
    // for a free one and writes another over it, and other systems find names by the
    // field; a file like that is not rewritten.
    HRESULT CheckNames() const {
        for (DWORD e : reached_) {
            const BYTE* p = Entry(e);
            WORD length = Le16(p + 64);
            if (length < 2 || length > 64 || length % 2) return kUnsafeNames;
            DWORD chars = length / 2u;
            for (DWORD i = 0; i + 1 < chars; ++i)
                if (Le16(p + 2 * i) == 0) return kUnsafeNames;
            if (Le16(p + 2 * (chars - 1)) != 0) return kUnsafeNames;
        }
        return S_OK;
    }

    HRESULT CheckStreams(DWORD miniFatStart, DWORD cutoff) {
        std::vector<DWORD> chain;
        // The mini FAT, and the mini stream that the root entry holds.
        HRESULT hr = Chain(fat_, miniFatStart, usedSectors_, &chain);
        if (FAILED(hr)) return hr;
        std::vector<DWORD> miniFat;
        std::vector<BYTE> buf(sectorSize_);
        for (DWORD s : chain) {
            ReadSector(s, buf.data());
            for (DWORD i = 0; i < sectorSize_ / 4; ++i) miniFat.push_back(Le32(buf.data() + 4 * i));
        }
        hr = Chain(fat_, Le32(Entry(0) + 116), usedSectors_, &chain);
        if (FAILED(hr)) return hr;
        if (Le32(Entry(0) + 120) > static_cast<ULONGLONG>(chain.size()) * sectorSize_) return kCorrupt;
        std::vector<bool> usedMini(chain.size() * (sectorSize_ / 64), false);
        for (DWORD e : streams_) {
            const BYTE* p = Entry(e);
            DWORD start = Le32(p + 116), size = Le32(p + 120);
            if (size == 0 && (start == kEndOfChain || start == kFreeSector)) continue;
            DWORD unit = size < cutoff ? 64 : sectorSize_;
            if (size < cutoff) hr = Chain(miniFat, start, usedMini, &chain);
            else hr = Chain(fat_, start, usedSectors_, &chain);
            if (FAILED(hr)) return hr;
            // The size counts the bytes its chain holds: no more, and not a sector less.
            if (chain.size() != (static_cast<ULONGLONG>(size) + unit - 1) / unit) return kCorrupt;
        }
        return S_OK;
    }

    const BYTE* data_;
    size_t size_;
    DWORD sectorSize_ = 512;
    DWORD sectorCount_ = 0;
    std::vector<DWORD> fat_;
    std::vector<bool> usedSectors_;  // sectors some chain has taken
    std::vector<BYTE> dir_;
    DWORD entryCount_ = 0;
    std::vector<DWORD> streams_;
    std::vector<DWORD> reached_;  // every entry of the tree, the root first
};

struct ViewTraits {
    static const void* Invalid() { return nullptr; }
    static void Close(const void* p) { UnmapViewOfFile(p); }
};
using FileView = UniqueHandle<const void*, ViewTraits>;

}  // namespace

HRESULT CheckCompoundFile(const wchar_t* path) {
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) return HRESULT_FROM_WIN32(GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) return HRESULT_FROM_WIN32(GetLastError());
    if (size.QuadPart < 512) return STG_E_FILEALREADYEXISTS;
    if (size.QuadPart > 0x40000000) return S_OK;  // beyond what the view may take: left to the storage
    KernelHandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.IsValid()) return HRESULT_FROM_WIN32(GetLastError());
    FileView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view.IsValid()) return HRESULT_FROM_WIN32(GetLastError());
    return NoThrow([&] {
        return CompoundFile(static_cast<const BYTE*>(view.Get()), static_cast<size_t>(size.QuadPart)).Check();
    });
}
