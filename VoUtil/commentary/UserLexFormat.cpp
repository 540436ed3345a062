#include "UserLexFormat.h"
#include <algorithm>
#include <cstring>
#include <climits>
#include "LexDates.h"
#include "Scramble.h"
#include "VarInt.h"

const wchar_t kNameStream[] = L"Name";
const wchar_t kLangStatStream[] = L"LangStat";
const wchar_t kSettingsStream[] = L"LexiconSettings";
const wchar_t kListStream[] = L"LexiconListStream";

namespace {

enum ListTag { kTextTag = 0, kReferenceTag = 1, kDateTag = 2 };
constexpr size_t kNameChars = 29;

// A one-byte length and the bytes.
HRESULT ReadShortText(ByteReader& r, std::string* text) {
    BYTE n = 0;
    const BYTE* p = nullptr;
    HRESULT hr = r.Byte(&n);
    if (SUCCEEDED(hr)) hr = r.Bytes(n, &p);
    if (FAILED(hr)) return hr;
    if (memchr(p, 0, n)) return E_FAIL;
    text->assign(reinterpret_cast<const char*>(p), n);
    return S_OK;
}

HRESULT ReadKey(ByteReader& r, LexRefSystem& refs, LexKey* key) {
    int tag = 0;
    HRESULT hr = r.VarInt(&tag);
    if (FAILED(hr)) return hr;
    std::string text;
    switch (tag) {
    case kTextTag:
        hr = ReadShortText(r, &text);
        if (FAILED(hr)) return hr;
        *key = LexKey::Text(std::move(text));
        return S_OK;
    case kReferenceTag: {
        int ref = 0, b, c, v;
        if (FAILED(refs.Unpack(r, &ref)) || FAILED(refs.Split(ref, &b, &c, &v))) return E_FAIL;
        *key = LexKey::Reference(ref);
        return S_OK;
    }
    case kDateTag: {
        DWORD date = 0;
        hr = ReadShortText(r, &text);
        if (FAILED(hr)) return hr;
        if (!ParseSlashDate(text.data(), text.size(), &date)) return E_FAIL;
        *key = LexKey::Date(date);
        return S_OK;
    }
    default:
        return E_FAIL;
    }
}

void AppendShortText(std::string& out, const std::string& text) {
    out += static_cast<char>(text.size());
    out += text;
}

}  // namespace

std::string EncodeNameStream(const char* name) {
    std::string bytes(32, '\0');
    memcpy(&bytes[0], name, strnlen(name, 31));
    return bytes;
}

HRESULT DecodeNameStream(const std::string& bytes, char name[64]) {
    if (bytes.empty()) return E_FAIL;
    size_t n = strnlen(bytes.data(), std::min<size_t>(bytes.size(), 63));
    memcpy(name, bytes.data(), n);
    name[n] = '\0';
    return S_OK;
}

std::string EncodeSettingsStream(const std::string& record) {
    std::string out;
    AppendVarInt(out, 0);
    AppendVarInt(out, static_cast<int>(record.size() + 1));
    out += record;
    out += '\0';
    return out;
}

HRESULT DecodeSettingsStream(const std::string& bytes, std::string* record) {
    ByteReader r(bytes.data(), bytes.size());
    int ignored = 0, n = 0;
    const BYTE* p = nullptr;
    HRESULT hr = r.VarInt(&ignored);
    if (SUCCEEDED(hr)) hr = r.VarInt(&n);
    if (SUCCEEDED(hr) && n < 0) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = r.Bytes(static_cast<size_t>(n), &p);
    if (FAILED(hr)) return hr;
    record->assign(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), n));
    return S_OK;
}

HRESULT EncodeListStream(const LexEntryList& list, LexRefSystem& refs, std::string* out) {
    return NoThrow([&] {
        std::string& s = *out;
        s.clear();
        AppendVarInt(s, 0);
        AppendVarInt(s, list.Count());
        for (int i = 0; i < list.Count(); ++i) {
            const LexKey& key = list.Key(i);
            switch (key.kind) {
            case kTextKey:
                if (key.text.size() > 255) return E_FAIL;
                AppendVarInt(s, kTextTag);
                AppendShortText(s, key.text);
                break;
            case kReferenceKey: {
                AppendVarInt(s, kReferenceTag);
                HRESULT hr = refs.Pack(static_cast<int>(key.value), s);
                if (FAILED(hr)) return hr;
                break;
            }
            default:
                AppendVarInt(s, kDateTag);
                AppendShortText(s, SlashDateText(key.value));
                break;
            }
        }
        for (int i = 0; i < list.Count(); ++i) {
            DWORD w = list.IndexWord(i);
            AppendVarInt(s, static_cast<int>(IndexValue(w) * 2 + (IndexFlags(w) != kUnlistedAlias ? 1 : 0)));
        }
        return S_OK;
    });
}

HRESULT DecodeListStream(const std::string& bytes, const KeyOrder& order, LexRefSystem& refs,
                         std::vector<LexKey>* keys, std::vector<DWORD>* words) {
    return NoThrow([&] {
        ByteReader r(bytes.data(), bytes.size());
        int version = 0, count = 0;
        HRESULT hr = r.VarInt(&version);
        if (FAILED(hr)) return hr;
        if (version != 0) return E_FAIL;
        hr = r.VarInt(&count);
        if (FAILED(hr)) return hr;
        // Every key takes at least two bytes and every index word one.
        if (count < 0 || static_cast<size_t>(count) > r.Remaining() / 3) return E_FAIL;

        std::vector<LexKey> k(count);
        std::vector<int> fileOrder(count);  // for each place, the key's number in the file
        for (int i = 0; i < count; ++i) {
            hr = ReadKey(r, refs, &k[i]);
            if (FAILED(hr)) return hr;
            fileOrder[i] = i;
            if (i == 0 || order.Less(k[i - 1], k[i])) continue;
            // A yearless date after one that it does not follow goes back to its place among
            // the dates; any other key out of order means a damaged list.
            if (k[i].kind != kDateKey || DateYear(k[i].value)) return E_FAIL;
            int at = static_cast<int>(std::upper_bound(k.begin(), k.begin() + i, k[i],
                                                       [&](const LexKey& a, const LexKey& b) { return order.Less(a, b); }) -
                                      k.begin());
            std::rotate(k.begin() + at, k.begin() + i, k.begin() + i + 1);
            std::rotate(fileOrder.begin() + at, fileOrder.begin() + i, fileOrder.begin() + i + 1);
        }
        std::vector<int> place(count);
        for (int i = 0; i < count; ++i) place[fileOrder[i]] = i;

        std::vector<DWORD> fileWords(count);
        for (int i = 0; i < count; ++i) {
            int v = 0;
            hr = r.VarInt(&v);
            if (FAILED(hr)) return hr;
            int target = v >> 1;
            if (v < 0 || target >= count) return E_FAIL;
            DWORD flags = target == i ? kArticleEntry : (v & 1) ? kListedAlias : kUnlistedAlias;
            fileWords[i] = MakeIndexWord(static_cast<DWORD>(place[target]), flags);
        }
        std::vector<DWORD> w(count);
        for (int i = 0; i < count; ++i) w[i] = fileWords[fileOrder[i]];
        keys->swap(k);
        words->swap(w);
        return S_OK;
    });
}

std::string EncodeEntryText(const char* text, bool scramble, BYTE seed) {
    std::string out;
    AppendVarInt(out, 0);
    AppendVarInt(out, 0);
    int n = static_cast<int>(strlen(text));
    if (scramble && n) {
        AppendVarInt(out, -n);
        AppendVarInt(out, seed);
        size_t at = out.size();
        out.append(text, n);
        ScrambleBytes(&out[at], n, seed);
    } else {
        AppendVarInt(out, n);
        out.append(text, n);
    }
    return out;
}

HRESULT DecodeEntryText(const std::string& bytes, std::string* text) {
    return NoThrow([&] {
        ByteReader r(bytes.data(), bytes.size());
        int ignored = 0, n = 0, seed = 0;
        HRESULT hr = r.VarInt(&ignored);
        if (SUCCEEDED(hr)) hr = r.VarInt(&ignored);
        if (SUCCEEDED(hr)) hr = r.VarInt(&n);
        if (FAILED(hr)) return hr;
        bool scrambled = n < 0;
        if (scrambled) {
            if (n == INT_MIN) return E_FAIL;
            n = -n;
            hr = r.VarInt(&seed);
            if (FAILED(hr)) return hr;
            if (seed < 1 || seed > 255) return E_FAIL;
        }
        const BYTE* p = nullptr;
        hr = r.Bytes(static_cast<size_t>(n), &p);
        if (FAILED(hr)) return hr;
        std::string t(reinterpret_cast<const char*>(p), n);
        if (scrambled) UnscrambleBytes(&t[0], t.size(), static_cast<BYTE>(seed));
        t.resize(strnlen(t.c_str(), t.size()));
        text->swap(t);
        return S_OK;
    });
}

HRESULT EntryStreamName(const LexKey& key, LexRefSystem& refs, std::wstring* name) {
    return NoThrow([&] {
        std::string n;
        switch (key.kind) {
        case kTextKey:
            n = key.text.substr(0, kNameChars);
            for (char& c : n)
                if (strchr("!./:\\", c)) c = '_';
            break;
        case kReferenceKey: {
            char shown[256];
            HRESULT hr = refs.Format(static_cast<int>(key.value), shown, sizeof shown);
            if (FAILED(hr)) return hr;
            n = std::string(shown).substr(0, kNameChars);
            for (char& c : n)
                if (!IsCharAlphaNumericA(c)) c = '_';
            break;
        }
        default:
            n = SlashDateText(key.value);
            std::replace(n.begin(), n.end(), '/', '.');
            break;
        }
        n.insert(0, "I_");
        wchar_t wide[64];
        int len = MultiByteToWideChar(CP_ACP, 0, n.c_str(), static_cast<int>(n.size()), wide, 63);
        if (len <= 0) return E_FAIL;
        name->assign(wide, len);
        return S_OK;
    });
}

std::wstring StreamNameKey(const std::wstring& name) {
    std::wstring key = name;
    if (!key.empty()) CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

bool SameStreamName(const std::wstring& a, const std::wstring& b) { return StreamNameKey(a) == StreamNameKey(b); }
