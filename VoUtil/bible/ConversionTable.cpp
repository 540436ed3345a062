#include "ConversionTable.h"
#include "IIndexedData.h"
#include "VoUtil.h"
#include "PackedIO.h"
#include "ComPtr.h"
#include <cstring>
#include <new>

namespace {

constexpr WORD kOwnOrderMark = 0xFFFE;
constexpr WORD kReversedOrderMark = 0xFEFF;
constexpr int kRowHeaderSize = 3;

WORD Swap16(WORD v) { return static_cast<WORD>((v >> 8) | (v << 8)); }
DWORD Swap32(DWORD v) { return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24); }

// Reads one 16-bit number of the trailer in the table's byte order.
HRESULT ReadWord(IStream* stream, bool swapped, WORD* out) {
    HRESULT hr = ReadAll(stream, out, sizeof *out);
    if (FAILED(hr)) return E_UNEXPECTED;
    if (swapped) *out = Swap16(*out);
    return S_OK;
}

HRESULT ReadGuid(IStream* stream, bool swapped, GUID* out) {
    if (FAILED(ReadAll(stream, out, sizeof *out))) return E_UNEXPECTED;
    if (swapped) {
        out->Data1 = Swap32(out->Data1);
        out->Data2 = Swap16(out->Data2);
        out->Data3 = Swap16(out->Data3);
    }
    return S_OK;
}

}  // namespace

HRESULT CConversionTable::Load(const char* path) {
    ComPtr<IIndexedData> data;
    HRESULT hr = OpenIndexedDataFile(path, data.Put());
    return FAILED(hr) ? hr : Load(data.Get());
}

HRESULT CConversionTable::Load(IStream* stream) {
    ComPtr<IIndexedData> data;
    HRESULT hr = OpenIndexedDataOnStream(stream, data.Put());
    return FAILED(hr) ? hr : Load(data.Get());
}

HRESULT CConversionTable::Load(IIndexedData* data) {
    ComPtr<IStream> trailer;
    HRESULT hr = data->GetTrailingStream(trailer.Put());
    if (SUCCEEDED(hr)) hr = ReadTrailer(trailer.Get());
    return FAILED(hr) ? hr : ReadRows(data);
}

HRESULT CConversionTable::ReadTrailer(IStream* stream) {
    WORD mark = 0;
    if (FAILED(ReadAll(stream, &mark, sizeof mark))) return E_UNEXPECTED;
    if (mark != kOwnOrderMark && mark != kReversedOrderMark) return E_UNEXPECTED;
    swapped_ = mark == kReversedOrderMark;
    WORD zero = 0, keyCount = 0, perKey = 0;
    HRESULT hr = ReadWord(stream, swapped_, &zero);
    if (SUCCEEDED(hr) && zero != 0) hr = E_UNEXPECTED;
    if (SUCCEEDED(hr)) hr = ReadWord(stream, swapped_, &keyCount);
    if (SUCCEEDED(hr)) hr = ReadWord(stream, swapped_, &perKey);
    if (SUCCEEDED(hr)) hr = ReadGuid(stream, swapped_, &a_);
    if (SUCCEEDED(hr)) hr = ReadGuid(stream, swapped_, &b_);
    if (FAILED(hr)) return hr;
    perKey_ = perKey;
    try {
        keys_.resize(keyCount);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (keyCount && FAILED(ReadAll(stream, keys_.data(), keyCount * sizeof(DWORD)))) return E_UNEXPECTED;
    for (size_t k = 0; k < keys_.size(); ++k) {
        if (swapped_) keys_[k] = Swap32(keys_[k]);
        // The keys are searched by halving: out of order, a book could be missed or mapped
        // by another book's rows.
        if (k && keys_[k] <= keys_[k - 1]) return E_UNEXPECTED;
    }
    return S_OK;
}

// Copies every row into memory (the rows the keys describe and the container holds) and
// checks them, so that a mapping never reads past a row or steps into a row that is not
// there.
HRESULT CConversionTable::ReadRows(IIndexedData* data) {
    int count = 0;
    HRESULT hr = data->GetCount(&count);
    if (FAILED(hr)) return hr;
    const ULONGLONG described = static_cast<ULONGLONG>(keys_.size()) * static_cast<ULONGLONG>(perKey_);
    const int rows = described < static_cast<ULONGLONG>(count) ? static_cast<int>(described) : count;
    if (rows > 0) {
        hr = data->LoadEntries(0, rows);
        if (FAILED(hr)) return hr;
    }
    try {
        rowStart_.assign(1, 0);
        rowStart_.reserve(static_cast<size_t>(rows) + 1);
        for (int i = 0; i < rows && SUCCEEDED(hr); ++i) {
            int size = 0;
            hr = data->GetEntrySize(i, &size);
            if (SUCCEEDED(hr) && size > 0) {
                const size_t at = rows_.size();
                rows_.resize(at + size);
                hr = data->ReadEntry(i, 0, &rows_[at], size);
            }
            rowStart_.push_back(static_cast<DWORD>(rows_.size()));
        }
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (rows > 0) data->UnloadEntries(0, rows);
    if (FAILED(hr)) return hr;
    return CheckRows();
}

HRESULT CConversionTable::CheckRows() const {
    for (int k = 0; k < static_cast<int>(keys_.size()); ++k) {
        for (int c = 0; c < perKey_; ++c) {
            const Row row = RowAt(k, c);
            if (!row.bytes) continue;
            if (row.size < kRowHeaderSize || (row.size - kRowHeaderSize) % 2) return E_UNEXPECTED;
            const int shift = row.bytes[0] & 0x3F;
            if (!shift) continue;
            // The first `shift` verses of the shifted side belong to the row before, which must
            // be there with its counts; and the shift can't exceed the side's verses.
            const bool sideB = (row.bytes[0] & 0x80) != 0;
            if (c == 0 || !RowAt(k, c - 1).HasCounts() || shift > row.Count(sideB)) return E_UNEXPECTED;
        }
    }
    return S_OK;
}

bool CConversionTable::Serves(const GUID& x, const GUID& y) const {
    return (IsEqualGUID(x, a_) && IsEqualGUID(y, b_)) || (IsEqualGUID(x, b_) && IsEqualGUID(y, a_));
}

CConversionTable::Row CConversionTable::RowAt(int key, int chapter) const {
    Row row;
    if (key < 0 || chapter < 0 || chapter >= perKey_) return row;
    const size_t index = static_cast<size_t>(key) * perKey_ + chapter;
    if (index + 1 >= rowStart_.size()) return row;
    row.size = static_cast<int>(rowStart_[index + 1] - rowStart_[index]);
    if (row.size) row.bytes = &rows_[rowStart_[index]];
    return row;
}

int CConversionTable::KeyOf(int bookId) const {
    size_t lo = 0, hi = keys_.size();
    const DWORD id = static_cast<DWORD>(bookId);
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        if (keys_[mid] < id) lo = mid + 1;
        else hi = mid;
    }
    return lo < keys_.size() && keys_[lo] == id ? static_cast<int>(lo) : -1;
}

void CConversionTable::WalkPairs(const Row& row, bool fromB, int verse, int* target, int* targetEnd) {
    int s = 0, t = 0;
    for (int i = kRowHeaderSize; i + 1 < row.size; i += 2) {
        const int same = row.bytes[i], blockA = row.bytes[i + 1] & 15, blockB = row.bytes[i + 1] >> 4;
        const int blockS = fromB ? blockB : blockA, blockT = fromB ? blockA : blockB;
        if (verse < s + same) break;
        if (verse < s + same + blockS) {
            const int offset = verse - (s + same), first = t + same;
            if (blockT == 0) {
                // No counterpart: the verse keeps its number.
                *target = *targetEnd = verse;
            } else if (blockS < blockT) {
                // Into the T block from the same offset, to the block's end.
                *target = first + offset;
                *targetEnd = first + blockT - 1;
            } else if (blockS > blockT) {
                *target = *targetEnd = first;
            } else {
                *target = *targetEnd = first + offset;
            }
            return;
        }
        s += same + blockS;
        t += same + blockT;
    }
    *target = *targetEnd = verse + (t - s);
}

HRESULT CConversionTable::Map(const GUID& from, int bookId, ChapterVerse* position) const {
    const bool fromB = IsEqualGUID(from, b_) && !IsEqualGUID(from, a_);
    position->verseEnd = position->verse;
    const int key = KeyOf(bookId);
    if (key < 0 || position->chapter < 0 || position->verse < 0) return S_OK;
    int r = position->chapter;
    Row row = RowAt(key, r);
    if (!row.bytes) return S_OK;

    int v = position->verse, shiftT = 0, countT = 0;
    if (!row.HasCounts()) {
        countT = 1000;
    } else if (v >= row.Count(fromB) && row.Count(fromB) != 0) {
        countT = row.Count(!fromB);
        shiftT = RowAt(key, r + 1).Shift(!fromB);
    } else if (v < row.Shift(fromB)) {
        // The verse belongs to the row before (checked present when the table was read).
        --r;
        row = RowAt(key, r);
        v += row.Count(fromB);
        shiftT = row.Shift(!fromB) - row.Shift(fromB);
        countT = row.Count(!fromB);
    } else {
        v -= row.Shift(fromB);
        shiftT = row.Shift(!fromB);
        countT = row.Count(!fromB);
    }
    int target = 0, targetEnd = 0;
    WalkPairs(row, fromB, v, &target, &targetEnd);
    target += shiftT;
    targetEnd += shiftT;
    if (countT != 0 && target >= countT) {
        target -= countT;
        targetEnd -= countT;
        ++r;
    }
    if (target < 0 || targetEnd < target) return S_FALSE;
    position->chapter = r;
    position->verse = target;
    position->verseEnd = targetEnd;
    return S_OK;
}
