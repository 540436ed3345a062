#include "RefDataWriters.h"
#include "VoUtil.h"
#include "ComPtr.h"
#include <shlwapi.h>
#include <cstring>

namespace {

WORD Swap16(WORD v) { return static_cast<WORD>((v >> 8) | (v << 8)); }
DWORD Swap32(DWORD v) { return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24); }

HRESULT Put(IStream* stream, const void* data, ULONG size) {
    ULONG written = 0;
    HRESULT hr = stream->Write(data, size, &written);
    return FAILED(hr) ? hr : written == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT PutWord(IStream* stream, WORD v, bool reversed) {
    if (reversed) v = Swap16(v);
    return Put(stream, &v, sizeof v);
}

HRESULT PutGuid(IStream* stream, GUID g, bool reversed) {
    if (reversed) {
        g.Data1 = Swap32(g.Data1);
        g.Data2 = Swap16(g.Data2);
        g.Data3 = Swap16(g.Data3);
    }
    return Put(stream, &g, sizeof g);
}

// Packs handles with the numbering's own writer.
HRESULT PackRefs(IBibleHandles* handles, const std::vector<int>& refs, size_t first, size_t count,
                 std::vector<char>* out) {
    out->clear();
    for (size_t i = first; i < first + count && i < refs.size(); ++i) {
        char packed[8];
        char* cursor = packed;
        unsigned room = sizeof packed;
        HRESULT hr = handles->WriteRef(refs[i], &cursor, &room);
        if (FAILED(hr)) return hr;
        out->insert(out->end(), packed, cursor);
    }
    return S_OK;
}

HRESULT WriteEntry(ICreateIndexedData* data, const std::vector<char>& bytes, int index) {
    if (!bytes.empty()) {
        int written = 0;
        HRESULT hr = data->Write(bytes.data(), static_cast<int>(bytes.size()), &written);
        if (FAILED(hr)) return hr;
    }
    return data->EndEntry(index);
}

}  // namespace

std::vector<BYTE> EncodeConversionRow(const ConversionRow& row) {
    std::vector<BYTE> bytes;
    bytes.push_back(static_cast<BYTE>((row.shiftB ? 0x80 : 0) | (row.shift & 0x3F)));
    bytes.push_back(static_cast<BYTE>(row.countA));
    bytes.push_back(static_cast<BYTE>(row.countB));
    for (const ConversionPair& p : row.pairs) {
        bytes.push_back(static_cast<BYTE>(p.same));
        bytes.push_back(static_cast<BYTE>((p.blockA & 15) | ((p.blockB & 15) << 4)));
    }
    bytes.insert(bytes.end(), row.extra.begin(), row.extra.end());
    return bytes;
}

namespace {

HRESULT WriteTable(ICreateIndexedData* data, const GUID& a, const GUID& b, int rowsPerKey,
                   const std::vector<ConversionBook>& books, bool reversed) {
    const int rows = static_cast<int>(books.size()) * rowsPerKey;
    HRESULT hr = S_OK;
    for (size_t k = 0; k < books.size(); ++k) {
        for (const ConversionRow& row : books[k].rows) {
            if (row.chapter < 0 || row.chapter >= rowsPerKey) return E_INVALIDARG;
            const std::vector<BYTE> bytes = EncodeConversionRow(row);
            int written = 0;
            hr = data->Write(bytes.data(), static_cast<int>(bytes.size()), &written);
            if (SUCCEEDED(hr)) hr = data->EndEntry(static_cast<int>(k) * rowsPerKey + row.chapter);
            if (FAILED(hr)) return hr;
        }
    }
    // Rows after the last one written are empty; closing the last index gives them all.
    if (rows > 0) {
        hr = data->EndEntry(rows - 1);
        if (FAILED(hr)) return hr;
    }
    ComPtr<IStream> trailer;
    hr = data->GetTrailingStream(trailer.Put());
    if (FAILED(hr)) return hr;
    hr = PutWord(trailer.Get(), 0xFFFE, reversed);
    if (SUCCEEDED(hr)) hr = PutWord(trailer.Get(), 0, reversed);
    if (SUCCEEDED(hr)) hr = PutWord(trailer.Get(), static_cast<WORD>(books.size()), reversed);
    if (SUCCEEDED(hr)) hr = PutWord(trailer.Get(), static_cast<WORD>(rowsPerKey), reversed);
    if (SUCCEEDED(hr)) hr = PutGuid(trailer.Get(), a, reversed);
    if (SUCCEEDED(hr)) hr = PutGuid(trailer.Get(), b, reversed);
    for (size_t k = 0; k < books.size() && SUCCEEDED(hr); ++k) {
        DWORD id = static_cast<DWORD>(books[k].bookId);
        if (reversed) id = Swap32(id);
        hr = Put(trailer.Get(), &id, sizeof id);
    }
    return hr;
}

}  // namespace

HRESULT WriteConversionTable(IStream* stream, const GUID& a, const GUID& b, int rowsPerKey,
                             const std::vector<ConversionBook>& books, bool reversed) {
    ComPtr<ICreateIndexedData> data;
    HRESULT hr = CreateIndexedDataOnStream(stream, FALSE, static_cast<int>(books.size()) * rowsPerKey, data.Put());
    return FAILED(hr) ? hr : WriteTable(data.Get(), a, b, rowsPerKey, books, reversed);
}

HRESULT WriteConversionTableFile(const char* path, const GUID& a, const GUID& b, int rowsPerKey,
                                 const std::vector<ConversionBook>& books, bool reversed) {
    ComPtr<ICreateIndexedData> data;
    HRESULT hr = CreateIndexedDataFile(path, FALSE, static_cast<int>(books.size()) * rowsPerKey, data.Put());
    return FAILED(hr) ? hr : WriteTable(data.Get(), a, b, rowsPerKey, books, reversed);
}

HRESULT WriteRefLibFile(const char* path, IBibleStat* stat, const std::vector<std::vector<int>>& refs) {
    ComPtr<IBibleHandles> handles;
    HRESULT hr = stat->QueryInterface(IID_IBibleHandles, handles.PutVoid());
    if (FAILED(hr)) return hr;
    const int verses = stat->GetVerseCount();
    ComPtr<ICreateIndexedData> data;
    hr = CreateIndexedDataFile(path, FALSE, verses, data.Put());
    if (FAILED(hr)) return hr;
    std::vector<char> bytes;
    for (int v = 0; v < verses; ++v) {
        if (static_cast<size_t>(v) < refs.size()) hr = PackRefs(handles.Get(), refs[v], 0, refs[v].size(), &bytes);
        else bytes.clear();
        if (SUCCEEDED(hr)) hr = WriteEntry(data.Get(), bytes, v);
        if (FAILED(hr)) return hr;
    }
    ComPtr<IStream> trailer;
    hr = data->GetTrailingStream(trailer.Put());
    return FAILED(hr) ? hr : stat->Save(trailer.Get());
}

HRESULT WriteRefListFile(const char* path, IBibleStat* stat, const std::vector<int>& refs, int perEntry,
                         bool checkEntrySize) {
    if (perEntry <= 0 || perEntry > 0xFFFF) return E_INVALIDARG;
    ComPtr<IBibleHandles> handles;
    HRESULT hr = stat->QueryInterface(IID_IBibleHandles, handles.PutVoid());
    if (FAILED(hr)) return hr;
    const int entries = static_cast<int>((refs.size() + perEntry - 1) / perEntry);
    ComPtr<ICreateIndexedData> data;
    hr = CreateIndexedDataFile(path, FALSE, entries, data.Put());
    if (FAILED(hr)) return hr;
    std::vector<char> bytes;
    for (int e = 0; e < entries; ++e) {
        hr = PackRefs(handles.Get(), refs, static_cast<size_t>(e) * perEntry, perEntry, &bytes);
        if (SUCCEEDED(hr) && checkEntrySize && bytes.size() > 256) hr = E_INVALIDARG;
        if (SUCCEEDED(hr)) hr = WriteEntry(data.Get(), bytes, e);
        if (FAILED(hr)) return hr;
    }
    ComPtr<IStream> trailer;
    hr = data->GetTrailingStream(trailer.Put());
    if (SUCCEEDED(hr)) hr = stat->Save(trailer.Get());
    if (FAILED(hr)) return hr;
    BYTE tail[8] = {0xFE, 0xFF, static_cast<BYTE>(perEntry), static_cast<BYTE>(perEntry >> 8)};
    const DWORD count = static_cast<DWORD>(refs.size());
    for (int i = 0; i < 4; ++i) tail[4 + i] = static_cast<BYTE>(count >> (8 * i));
    return Put(trailer.Get(), tail, sizeof tail);
}

HRESULT WriteBibleStatFile(const char* path, IBibleStat* stat) {
    ComPtr<IStream> stream;
    HRESULT hr = SHCreateStreamOnFileA(path, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, stream.Put());
    return FAILED(hr) ? hr : stat->Save(stream.Get());
}

namespace {

// One position "B.C" or "B.C.V", 1-based, into zero-based indices.
bool ParsePosition(const char* p, const char* end, int* book, int* chapter, int* verse) {
    int values[3] = {-1, -1, -1}, n = 0;
    while (p < end && n < 3) {
        int v = 0, digits = 0;
        while (p < end && *p >= '0' && *p <= '9' && digits < 4) v = v * 10 + (*p++ - '0'), ++digits;
        if (!digits || v < 1) return false;
        values[n++] = v - 1;
        if (p < end && *p++ != '.') return false;
    }
    if (p != end || n < 2) return false;
    *book = values[0];
    *chapter = values[1];
    *verse = values[2];
    return true;
}

}  // namespace

HRESULT ParseNormalisedRef(IBibleHandles* handles, const char* text, int* handle) {
    *handle = 0;
    const char* end = text + strlen(text);
    const char* dash = strchr(text, '-');
    int b = 0, c = 0, v = 0;
    if (!ParsePosition(text, dash ? dash : end, &b, &c, &v)) return E_INVALIDARG;
    HRESULT hr = handles->MakeRef(handle, b, c, v);
    if (FAILED(hr) || !dash) return hr;
    int eb = 0, ec = 0, ev = 0;
    if (!ParsePosition(dash + 1, end, &eb, &ec, &ev)) return E_INVALIDARG;
    return handles->ExtendRef(handle, eb, ec, ev);
}
