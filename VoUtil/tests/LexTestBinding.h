// Stand-ins for the collation and the language statistics of a lexicon in tests: a small
// bible of three books ("Gen" 3 chapters of 5 verses, "Joh" 4 chapters of 10 verses,
// "Jud" one chapter of 25 verses) with the library's reference values and packed form,
// typed and shown as "Gen 2:3", "Joh 3", "Jud 5", "Joh 3:4-6".
#pragma once
#include <windows.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include "LexSupport.h"
#include "VarInt.h"

namespace lextest {

// Case-blind order of bytes, enough to test that the lexicon sorts by its collation.
class TestCollation : public LexCollation {
public:
    int Compare(const char* a, const char* b) const override {
        for (;; ++a, ++b) {
            int ca = tolower(static_cast<unsigned char>(*a)), cb = tolower(static_cast<unsigned char>(*b));
            if (ca != cb) return ca < cb ? -1 : 1;
            if (!ca) return 0;
        }
    }
    HRESULT GetLanguage(IRyLanguage**) const override { return E_NOINTERFACE; }
};

class TestRefSystem : public LexRefSystem {
public:
    static constexpr int kBooks = 3;
    static constexpr int kChapters = 8;
    static constexpr int kVerses = 80;
    static const char* BookName(int b) { static const char* n[] = {"Gen", "Joh", "Jud"}; return n[b]; }
    static int ChaptersIn(int b) { static const int c[] = {3, 4, 1}; return c[b]; }
    static int VersesIn(int b) { static const int v[] = {5, 10, 25}; return v[b]; }
    static int FirstChapter(int b) { return b == 0 ? 0 : b == 1 ? 3 : 7; }
    static int FirstVerse(int b) { return b == 0 ? 0 : b == 1 ? 15 : 55; }

    HRESULT Make(int book, int chapter, int verse, int* ref) override {
        *ref = static_cast<int>(0xFFFF0000u);
        int p = 0;
        if (book < 0) p = 1;
        else if (book >= kBooks) return E_INVALIDARG;
        else if (chapter < 0) p = 2 + book;
        else if (chapter >= ChaptersIn(book)) return E_INVALIDARG;
        else if (verse < 0) p = kBooks + 2 + FirstChapter(book) + chapter;
        else if (verse >= VersesIn(book)) return E_INVALIDARG;
        else p = kBooks + 2 + kChapters + FirstVerse(book) + chapter * VersesIn(book) + verse;
        *ref = static_cast<int>(0xFFFF0000u | p);
        return S_OK;
    }
    HRESULT Split(int ref, int* book, int* chapter, int* verse) override {
        int p = ref & 0x7FFF;
        *book = *chapter = *verse = -1;
        if (p == 1) return S_OK;
        if (p >= 2 && p < 2 + kBooks) { *book = p - 2; return S_OK; }
        int c = p - (kBooks + 2);
        if (c >= 0 && c < kChapters) {
            for (int b = kBooks - 1; b >= 0; --b)
                if (c >= FirstChapter(b)) { *book = b; *chapter = c - FirstChapter(b); return S_OK; }
        }
        int v = p - (kBooks + 2 + kChapters);
        if (v >= 0 && v < kVerses) {
            for (int b = kBooks - 1; b >= 0; --b)
                if (v >= FirstVerse(b)) {
                    *book = b;
                    *chapter = (v - FirstVerse(b)) / VersesIn(b);
                    *verse = (v - FirstVerse(b)) % VersesIn(b);
                    return S_OK;
                }
        }
        return E_INVALIDARG;
    }
    HRESULT Parse(const char* text, int* ref) override {
        char name[8] = "";
        int n = 0, a = 0, b = 0, e = 0;
        int book = -1;
        if (sscanf(text, "%7[A-Za-z]%n", name, &n) != 1) return S_FALSE;
        for (int i = 0; i < kBooks; ++i)
            if (lstrcmpiA(name, BookName(i)) == 0) book = i;
        if (book < 0) return S_FALSE;
        const char* rest = text + n;
        int used = 0;
        int chapter = -1, verse = -1, last = -1;
        if (sscanf(rest, " %d:%d-%d%n", &a, &b, &e, &used) == 3) chapter = a - 1, verse = b - 1, last = e - 1;
        else if (sscanf(rest, " %d:%d%n", &a, &b, &used) == 2) chapter = a - 1, verse = b - 1;
        else if (sscanf(rest, " %d%n", &a, &used) == 1) {
            if (ChaptersIn(book) == 1) chapter = 0, verse = a - 1;
            else chapter = a - 1;
        }
        rest += used;
        while (*rest == ' ') ++rest;
        if (*rest) return S_FALSE;
        if (FAILED(Make(book, chapter, verse, ref))) return S_FALSE;
        if (last >= 0) {
            if (last <= verse || last >= VersesIn(book)) return S_FALSE;
            *ref = (*ref & 0x7FFF) | 0x8000 | ((last - verse + 1) << 16);
        }
        return S_OK;
    }
    HRESULT Format(int ref, char* buf, size_t size) override {
        int b, c, v;
        if (FAILED(Split(ref, &b, &c, &v)) || b < 0) return E_INVALIDARG;
        char out[64];
        if (c < 0) snprintf(out, sizeof out, "%s", BookName(b));
        else if (v < 0) snprintf(out, sizeof out, "%s %d", BookName(b), c + 1);
        else if (ChaptersIn(b) == 1) snprintf(out, sizeof out, "%s %d", BookName(b), v + 1);
        else snprintf(out, sizeof out, "%s %d:%d", BookName(b), c + 1, v + 1);
        if (ref & 0x8000) {
            size_t len = strlen(out);
            snprintf(out + len, sizeof out - len, "-%d", v + ((ref >> 16) & 0xFFF));
        }
        lstrcpynA(buf, out, static_cast<int>(size));
        return S_OK;
    }
    HRESULT Pack(int ref, std::string& out) override {
        unsigned r = static_cast<unsigned>(ref);
        out += static_cast<char>((r >> 8) & 0xFF);
        out += static_cast<char>(r & 0xFF);
        if (r & 0x8000) {
            unsigned high = r >> 16;
            do {
                BYTE g = high & 0x7F;
                high >>= 7;
                out += static_cast<char>(g | (high ? 0x80 : 0));
            } while (high);
        }
        return S_OK;
    }
    HRESULT Unpack(ByteReader& in, int* ref) override {
        BYTE hi = 0, lo = 0;
        if (FAILED(in.Byte(&hi)) || FAILED(in.Byte(&lo))) return E_INVALIDARG;
        unsigned r = static_cast<unsigned>(hi) << 8 | lo;
        if (r & 0x8000) {
            unsigned high = 0;
            for (unsigned shift = 0;; shift += 7) {
                BYTE g = 0;
                if (shift > 14 || FAILED(in.Byte(&g))) return E_INVALIDARG;
                high |= static_cast<unsigned>(g & 0x7F) << shift;
                if (!(g & 0x80)) break;
            }
            r |= high << 16;
        } else {
            r |= 0xFFFF0000u;
        }
        *ref = static_cast<int>(r);
        return S_OK;
    }
    HRESULT Save(IStream* stream) override {
        ULONG put = 0;
        return stream->Write(kStoredForm, sizeof kStoredForm, &put);
    }
    HRESULT GetLangStat(IBibleLangStat**) const override { return E_NOINTERFACE; }

    static constexpr char kStoredForm[] = "TEST-LANGSTAT";
};

inline HRESULT OpenTestRefSystem(IStream* stream, std::unique_ptr<LexRefSystem>* out) {
    char buf[sizeof TestRefSystem::kStoredForm + 1] = {};
    ULONG got = 0;
    stream->Read(buf, sizeof buf, &got);
    if (got != sizeof TestRefSystem::kStoredForm || memcmp(buf, TestRefSystem::kStoredForm, got) != 0) return E_INVALIDARG;
    out->reset(new TestRefSystem);
    return S_OK;
}
inline HRESULT WrapTestRefSystem(IBibleLangStat* langStat, std::unique_ptr<LexRefSystem>* out) {
    if (!langStat) return E_POINTER;
    out->reset(new TestRefSystem);
    return S_OK;
}
inline HRESULT CreateTestCollation(const char* name, std::unique_ptr<LexCollation>* out) {
    if (lstrcmpA(name, "StdLang") != 0) return E_INVALIDARG;
    out->reset(new TestCollation);
    return S_OK;
}
inline const LexBinding& TestBinding() {
    static const LexBinding binding = {OpenTestRefSystem, WrapTestRefSystem, CreateTestCollation};
    return binding;
}
// Any non-null pointer serves as the language statistics handed to the test binding.
inline IBibleLangStat* TestLangStat() {
    static int token;
    return reinterpret_cast<IBibleLangStat*>(&token);
}

}  // namespace lextest
