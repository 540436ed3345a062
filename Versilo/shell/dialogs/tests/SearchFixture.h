// Small Norwegian bibles for the search and information tests, written by the project's
// bible writer: four one-chapter books (1 Mos, Sal, Matt, Joh) whose aliases 0 and 1 are
// the two testaments, ten verses whose hits are worked out by hand.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "BibleWriter.h"
#include "ComPtr.h"
#include "IBible.h"
#include "TestFiles.h"
#include "VoUtil.h"

// Verses: 1 Mos 1-3 = 0..2; Sal 1-2 = 3..4; Matt 1-3 = 5..7; Joh 1-2 = 8..9 (a book of
// one chapter is written without its chapter).
inline const std::vector<std::string>& FixtureVerses() {
    static const std::vector<std::string> verses = {
        "I begynnelsen skapte Gud himmelen og jorden.",
        "Og jorden var \xF8" "de og tom, og det var m\xF8rke over det store dyp.",
        "Og Gud sa: Det bli lys! Og det ble lys.",
        "Herren er min hyrde, jeg mangler intet.",
        "Ditt ord er en lykte for min fot og et lys p\xE5 min sti.",
        "S\xF8k f\xF8rst Guds rike og hans rettferdighet.",
        "Dere er jordens salt. Dere er verdens lys.",
        "Salige er de fattige i \xE5nden, for himlenes rike er deres.",
        "For s\xE5 har Gud elsket verden at han gav sin S\xF8nn, den enb\xE5rne.",
        "Jeg er verdens lys.",
    };
    return verses;
}

// {6A1E4C20-5B7D-4F21-9C3E-2D4B5A6F7081}
inline const GUID kFixtureIdentity = {0x6A1E4C20, 0x5B7D, 0x4F21, {0x9C, 0x3E, 0x2D, 0x4B, 0x5A, 0x6F, 0x70, 0x81}};
// {6A1E4C21-5B7D-4F21-9C3E-2D4B5A6F7081}
inline const GUID kFixtureLanguage = {0x6A1E4C21, 0x5B7D, 0x4F21, {0x9C, 0x3E, 0x2D, 0x4B, 0x5A, 0x6F, 0x70, 0x81}};

// Book names and the aliases; tiling: aliases 0 and 1 cover books 0-1 and 2-3, otherwise
// 0-1 and 3-3 (Matt belongs to neither testament).
class FixtureNames : public ILangStatSource {
public:
    FixtureNames(bool tiling, int books) : tiling_(tiling), books_(books) {}
    virtual ~FixtureNames() = default;
    int STDMETHODCALLTYPE GetNameCount() override { return books_; }
    HRESULT STDMETHODCALLTYPE GetName(char* buf, int index) override {
        static const char* const names[] = {"1 Mos", "Sal", "Matt", "Joh"};
        strcpy(buf, index < 0 ? "Norsk" : names[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSecondName(char* buf, int index) override {
        static const char* const names[] = {"F\xF8rste Mosebok", "Salmene", "Matteus", "Johannes"};
        strcpy(buf, names[index]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unused() override { return E_NOTIMPL; }
    int STDMETHODCALLTYPE GetAliasCount() override { return 2; }
    HRESULT STDMETHODCALLTYPE GetAlias(char* buf, int index) override {
        strcpy(buf, index == 0 ? "Det gamle testamente" : "Det nye testamente");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAliasValues(int index, int* first, int* second) override {
        *first = index == 0 ? 0 : tiling_ ? 2 : 3;
        *second = index == 0 ? 1 : 3;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLanguageGuid(GUID* out) override {
        *out = kFixtureLanguage;
        return S_OK;
    }

private:
    bool tiling_;
    int books_;
};

// Each variant has an identity of its own: statistics of one identity are one shared object.
inline ComPtr<IBibleLangStat> FixtureLangStat(bool tiling, int books = 4) {
    static const int verses[4][1] = {{3}, {2}, {3}, {2}};
    GUID identity = kFixtureIdentity;
    identity.Data4[7] = static_cast<BYTE>(books * 2 + (tiling ? 1 : 0));
    ComPtr<IBibleStatBuilder> builder;
    EXPECT_EQ(S_OK, CreateBibleStat(&identity, &identity, books, builder.Put()));
    for (int b = 0; b < books; ++b) EXPECT_EQ(S_OK, builder->AddBook(b + 1, 1, verses[b]));
    ComPtr<IBibleStat> stat;
    EXPECT_EQ(S_OK, builder.As(IID_IBibleStat, &stat));
    FixtureNames names(tiling, books);
    ComPtr<IBibleLangStat> lang;
    EXPECT_EQ(S_OK, CreateLangStat(stat.Get(), &names, lang.Put()));
    return lang;
}

struct FixtureOptions {
    BibleFormat format = BibleFormat::kNew;
    bool tiling = true;
    int books = 4;  // the first books of the four, with their verses
    std::string longName = "Norsk testbibel";
    std::string description = "Fritt til bruk.\nTeksten er laget for testene.";
    const char* info = nullptr;  // the companion ".inf" file's text, none when null
};

// Writes the fixture bible as dir\name and opens it.
inline ComPtr<IBible> WriteFixtureBible(const TempDir& dir, const char* name, const FixtureOptions& o = {}) {
    BibleWriter w(FixtureLangStat(o.tiling, o.books).Get());
    for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, FixtureVerses()[static_cast<size_t>(v)]);
    w.SetNames(o.longName, "NTB");
    w.SetDescription(o.description);
    const std::string path = dir.File(name);
    std::string error;
    EXPECT_TRUE(w.WriteFile(o.format, path, &error)) << error;
    if (o.info) {
        EXPECT_TRUE(WriteFileReplacing(InfoFilePath(path), o.info, &error)) << error;
    }
    ComPtr<IBible> bible;
    if (o.format == BibleFormat::kOld) {
        EXPECT_EQ(S_OK, OpenBibleFile(path.c_str(), bible.Put()));
    } else {
        INewBible* nb = nullptr;
        EXPECT_EQ(S_OK, OpenNewBibleFile(path.c_str(), &nb));
        bible = ComPtr<IBible>::Attach(nb);
    }
    return bible;
}

// Opens a new-format bible such as a sample bible of the program folder.
inline ComPtr<IBible> OpenNewBible(const char* path) {
    INewBible* nb = nullptr;
    EXPECT_EQ(S_OK, OpenNewBibleFile(path, &nb)) << path;
    return ComPtr<IBible>::Attach(nb);
}

inline ComPtr<IBible> OpenKjv() { return OpenNewBible(VERSILO_KJV_BIBLE); }
