// A small numbering for bible-file tests (three books: 2 chapters of 3 and 4 verses,
// 1 chapter of 5 verses, 3 chapters of 2 verses each) with short names, and a builder
// of bible files over it.
#pragma once
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "VoUtil.h"
#include "BibleWriter.h"
#include "ComPtr.h"

// {3F0B9E47-1C2D-4A5B-8E6F-70819A2B3C4D}
inline const GUID kSmallIdentity = {0x3F0B9E47, 0x1C2D, 0x4A5B, {0x8E, 0x6F, 0x70, 0x81, 0x9A, 0x2B, 0x3C, 0x4D}};
// {3F0B9E48-1C2D-4A5B-8E6F-70819A2B3C4D}
inline const GUID kSmallLanguage = {0x3F0B9E48, 0x1C2D, 0x4A5B, {0x8E, 0x6F, 0x70, 0x81, 0x9A, 0x2B, 0x3C, 0x4D}};

class SmallNames : public ILangStatSource {
public:
    virtual ~SmallNames() = default;
    int STDMETHODCALLTYPE GetNameCount() override { return 3; }
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) override {
        static const char* const names[] = {"Alfa", "Beta", "Gamma"};
        strcpy(buf, index < 0 ? "Testsprak" : names[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int index) override {
        static const char* const names[] = {"Boken Alfa", "Boken Beta", "Boken Gamma"};
        strcpy(buf, names[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unused() override { return E_NOTIMPL; }
    int STDMETHODCALLTYPE GetAliasCount() override { return 0; }
    HRESULT STDMETHODCALLTYPE GetAlias(char*, int) override { return E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE GetAliasValues(int, int*, int*) override { return E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override {
        *out = kSmallLanguage;
        return S_OK;
    }
};

// Language statistics with the small names over a numbering of the given books (each the
// verse counts of its chapters; at most three books).
inline ComPtr<IBibleLangStat> LangStatOver(const GUID& identity, const std::vector<std::vector<int>>& books) {
    ComPtr<IBibleStatBuilder> builder;
    EXPECT_EQ(S_OK, CreateBibleStat(&identity, &identity, static_cast<int>(books.size()), builder.Put()));
    for (size_t b = 0; b < books.size(); ++b)
        EXPECT_EQ(S_OK, builder->AddBook(static_cast<int>(b) + 1, static_cast<int>(books[b].size()), books[b].data()));
    ComPtr<IBibleStat> stat;
    EXPECT_EQ(S_OK, builder.As(IID_IBibleStat, &stat));
    SmallNames names;
    ComPtr<IBibleLangStat> lang;
    EXPECT_EQ(S_OK, CreateLangStat(stat.Get(), &names, lang.Put()));
    return lang;
}

// Verses: book 0 chapter 0 = 0..2, chapter 1 = 3..6; book 1 = 7..11; book 2 = 12..17.
inline ComPtr<IBibleLangStat> SmallLangStat() { return LangStatOver(kSmallIdentity, {{3, 4}, {5}, {2, 2, 2}}); }

// A writer over the small numbering with a text for every verse ("Vers N.").
inline BibleWriter SmallBible() {
    BibleWriter w(SmallLangStat().Get());
    for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, "Vers " + std::to_string(v) + ".");
    w.SetNames("Liten testbibel", "LTB");
    w.SetDescription("Beskrivelse av testbibelen.");
    return w;
}

inline const char* FormatName(BibleFormat f) { return f == BibleFormat::kNew ? "new" : "old"; }

// Opens either format through IBible.
inline HRESULT OpenAnyBible(BibleFormat format, const std::string& path, IBible** out) {
    if (format == BibleFormat::kOld) return OpenBibleFile(path.c_str(), out);
    INewBible* nb = nullptr;
    HRESULT hr = OpenNewBibleFile(path.c_str(), &nb);
    *out = nb;
    return hr;
}
