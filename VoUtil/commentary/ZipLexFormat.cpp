#include "ZipLexFormat.h"
#include <cstring>
#include "LexDates.h"
#include "VarInt.h"

const wchar_t kZipNamesStream[] = L"Names";
const wchar_t kZipStatStream[] = L"Stat";
const wchar_t kZipTextStream[] = L"Text";

namespace {

HRESULT ReadInt32(ByteReader& r, int* out) {
    const BYTE* p = nullptr;
    HRESULT hr = r.Bytes(4, &p);
    if (FAILED(hr)) return hr;
    *out = static_cast<int>(static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
                            static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24);
    return S_OK;
}

// A count or size: not negative.
HRESULT ReadCount(ByteReader& r, int* out) {
    HRESULT hr = ReadInt32(r, out);
    if (FAILED(hr)) return hr;
    return *out < 0 ? E_FAIL : S_OK;
}

HRESULT ReadTitles(ByteReader& r, int count, std::vector<LexKey>& keys) {
    int poolSize = 0;
    HRESULT hr = ReadCount(r, &poolSize);
    const BYTE* pool = nullptr;
    if (SUCCEEDED(hr)) hr = r.Bytes(static_cast<size_t>(poolSize), &pool);
    if (FAILED(hr)) return hr;
    // Each title takes at least its character and its zero.
    if (count > poolSize / 2) return E_FAIL;
    const char* p = reinterpret_cast<const char*>(pool);
    const char* end = p + poolSize;
    for (int i = 0; i < count; ++i) {
        const char* zero = static_cast<const char*>(memchr(p, 0, static_cast<size_t>(end - p)));
        if (!zero || zero == p) return E_FAIL;
        keys.push_back(LexKey::Text(std::string(p, zero)));
        p = zero + 1;
    }
    return S_OK;
}

HRESULT ReadReferences(ByteReader& r, int count, LexRefSystem& refs, std::vector<LexKey>& keys) {
    int size = 0;
    HRESULT hr = ReadCount(r, &size);
    const BYTE* data = nullptr;
    if (SUCCEEDED(hr)) hr = r.Bytes(static_cast<size_t>(size), &data);
    if (FAILED(hr)) return hr;
    // A packed reference takes at least two bytes.
    if (count > size / 2) return E_FAIL;
    ByteReader packed(data, static_cast<size_t>(size));
    for (int i = 0; i < count; ++i) {
        int ref = 0, book = -1, chapter = -1, verse = -1;
        size_t before = packed.Remaining();
        hr = refs.Unpack(packed, &ref);
        if (FAILED(hr) || packed.Remaining() == before) return E_FAIL;
        if (!ref || FAILED(refs.Split(ref, &book, &chapter, &verse))) return E_FAIL;
        keys.push_back(LexKey::Reference(ref));
    }
    return S_OK;
}

HRESULT ReadDates(ByteReader& r, int count, std::vector<LexKey>& keys) {
    if (static_cast<size_t>(count) > r.Remaining() / 4) return E_FAIL;
    for (int i = 0; i < count; ++i) {
        int value = 0;
        HRESULT hr = ReadInt32(r, &value);
        if (FAILED(hr)) return hr;
        if (!IsValidDateValue(static_cast<DWORD>(value))) return E_FAIL;
        keys.push_back(LexKey::Date(static_cast<DWORD>(value)));
    }
    return S_OK;
}

}  // namespace

bool ZipLexWideWords(unsigned long long rows, unsigned long long entries) {
    return (rows > entries ? rows : entries) * 4 > 65536;
}

HRESULT DecodeNamesStream(const std::string& bytes, LexRefSystem& refs, ZipLexNames* out) {
    return NoThrow([&] {
        ByteReader r(bytes.data(), bytes.size());
        BYTE nameLength = 0;
        const BYTE* name = nullptr;
        HRESULT hr = r.Byte(&nameLength);
        if (SUCCEEDED(hr)) hr = r.Bytes(nameLength, &name);
        if (FAILED(hr)) return hr;
        if (!nameLength || memchr(name, 0, nameLength)) return E_FAIL;

        int texts = 0, references = 0, dates = 0;
        hr = ReadCount(r, &texts);
        if (SUCCEEDED(hr)) hr = ReadCount(r, &references);
        if (SUCCEEDED(hr)) hr = ReadCount(r, &dates);
        if (FAILED(hr)) return hr;
        // Every entry has an index word of at least two bytes in what is left.
        unsigned long long entries = static_cast<unsigned long long>(texts) + references + dates;
        if (entries > r.Remaining() / 2) return E_FAIL;

        std::vector<LexKey> keys;
        keys.reserve(static_cast<size_t>(entries));
        hr = ReadTitles(r, texts, keys);
        if (SUCCEEDED(hr)) hr = ReadReferences(r, references, refs, keys);
        if (SUCCEEDED(hr)) hr = ReadDates(r, dates, keys);
        int rows = 0;
        if (SUCCEEDED(hr)) hr = ReadCount(r, &rows);
        if (FAILED(hr)) return hr;

        const size_t width = ZipLexWideWords(static_cast<unsigned>(rows), entries) ? 4 : 2;
        const BYTE* data = nullptr;
        if (entries > r.Remaining() / width) return E_FAIL;
        hr = r.Bytes(static_cast<size_t>(entries) * width, &data);
        if (FAILED(hr)) return hr;
        std::vector<DWORD> words(static_cast<size_t>(entries));
        for (size_t i = 0; i < words.size(); ++i) {
            const BYTE* p = data + i * width;
            DWORD w = static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8;
            if (width == 4) w |= static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
            // An article's row must be one of the rows the index count counts.
            if (IndexFlags(w) == kArticleEntry && IndexValue(w) >= static_cast<DWORD>(rows)) return E_FAIL;
            words[i] = w;
        }
        out->language.assign(reinterpret_cast<const char*>(name), nameLength);
        out->keys.swap(keys);
        out->words.swap(words);
        out->rows = static_cast<DWORD>(rows);
        return S_OK;
    });
}

HRESULT CheckStrictKeyOrder(const std::vector<LexKey>& keys, const KeyOrder& order) {
    for (size_t i = 1; i < keys.size(); ++i)
        if (!order.Less(keys[i - 1], keys[i])) return E_FAIL;
    return S_OK;
}
