// Commentaries through VoUtil.dll's exports, with the real language statistics of the
// 66-book numbering and the collation of RyTxtUtl.dll beside it.
#include <gtest/gtest.h>
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "RyTextUtilsApi.h"
#include "UserLexTestSupport.h"
#include "VoUtil.h"

using namespace lextest;

namespace {

class LexExports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, BuildProtestantStat(stat_.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(stat_.Get(), langStat_.Put()));
        ASSERT_EQ(S_OK, stat_.As(IID_IBibleHandles, &handles_));
        path_ = dir_.File("Notater.vrsn");
    }
    int Ref(int book, int chapter, int verse) {
        int r = 0;
        EXPECT_EQ(S_OK, handles_->MakeRef(&r, book, chapter, verse));
        return r;
    }

    TempDir dir_;
    std::string path_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleLangStat> langStat_;
    ComPtr<IBibleHandles> handles_;
};

TEST_F(LexExports, CreateEditSaveAndReopenWithRealReferencesAndCollation) {
    std::vector<EntryView> saved;
    {
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, CreateOldVoLexFile(path_.c_str(), langStat_.Get(), "Mine notater", lex.Put()));
        AddEntry(lex.Get(), "\xC5ndens frukt", "Gal 5:22");  // Å
        AddEntry(lex.Get(), "\xC6rlighet");                   // Æ
        AddEntry(lex.Get(), "\xD8yenstikker");                // Ø
        AddEntry(lex.Get(), "Abraham", "Troens far");
        AddEntry(lex.Get(), "zebra");
        AddEntry(lex.Get(), "Joh 3:16", "Gud elsket verden");
        AddEntry(lex.Get(), "1 Mos 1");
        AddEntry(lex.Get(), "Jud 5");
        AddEntry(lex.Get(), "Joh 3:16-18");
        AddEntry(lex.Get(), "24.12", "Julaften");
        // Texts by the Norwegian collation (z, æ, ø, å), references in bible order.
        const std::vector<std::string> titles = {
            "Abraham", "zebra", "\xC6rlighet", "\xD8yenstikker", "\xC5ndens frukt",
            "1 Mos 1", "Joh 3:16", "Joh 3:16-18", "Jud 5", "24. desember"};
        EXPECT_EQ(titles, Titles(lex.Get()));
        int id = 0;
        EXPECT_EQ(S_OK, lex->FindEntryForReference(Ref(42, 2, 17), FALSE, &id));  // Joh 3:18: none
        EXPECT_EQ(0, id);
        EXPECT_EQ(S_OK, lex->FindEntryForReference(Ref(42, 2, 15), TRUE, &id));
        EXPECT_EQ(7, id);
        EXPECT_EQ(S_OK, lex->FindEntryForReference(Ref(0, 0, 30), FALSE, &id));  // 1 Mos 1:31
        EXPECT_EQ(6, id);

        ComPtr<IRyLanguage> language;
        ASSERT_EQ(S_OK, lex->GetLanguage(language.Put()));
        BSTR name = nullptr;
        ASSERT_EQ(S_OK, language->get_LanguageName(&name));
        EXPECT_EQ(std::wstring(L"StdLang"), std::wstring(name));
        SysFreeString(name);
        ComPtr<IBibleLangStat> refs;
        ASSERT_EQ(S_OK, lex->GetLangStat(refs.Put()));
        char book[64];
        ASSERT_EQ(S_OK, refs->GetBookName(book, 42));
        EXPECT_STREQ("Joh", book);

        ASSERT_EQ(S_OK, SaveLex(lex.Get()));
        saved = Entries(lex.Get());
    }
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
    EXPECT_EQ(saved, Entries(lex.Get()));
    char name[64];
    EXPECT_EQ(S_OK, lex->GetName(name));
    EXPECT_STREQ("Mine notater", name);
    EXPECT_EQ(2u, lex->AddRef());
    EXPECT_EQ(1u, lex->Release());
    EXPECT_EQ(0u, lex.Detach()->Release());
}

TEST_F(LexExports, TitlesParseThroughTheLanguageStatistics) {
    ComPtr<IVoLexicon> lex;
    ASSERT_EQ(S_OK, CreateOldVoLexFile(path_.c_str(), langStat_.Get(), "x", lex.Put()));
    AddEntry(lex.Get(), "@Joh 3", "a text that reads like a reference");
    int id = AddEntry(lex.Get(), "joh 3:16", "typed in small letters");
    int kind = 0, ref = 0, pos = -1;
    VARIANT_BOOL exact = 0;
    ASSERT_EQ(S_OK, lex->GetEntryPosition(id, &pos));
    EXPECT_EQ(S_OK, lex->GetEntryKind(pos, &kind));
    EXPECT_EQ(2, kind);
    EXPECT_EQ(S_OK, lex->GetEntryReference(pos, &ref));
    EXPECT_EQ(Ref(42, 2, 15), ref);
    EXPECT_EQ(S_OK, lex->FindEntry("Joh 3:16", &pos, &exact));
    EXPECT_EQ(1, exact);
    // "Joh 3" is a reference with no entry of its own: the text entry of that text answers.
    EXPECT_EQ(S_OK, lex->FindEntry("Joh 3", &pos, &exact));
    EXPECT_EQ(0, pos);
    EXPECT_EQ(1, exact);
    // Only a whole title that is one reference makes a reference key.
    for (const char* text : {"Joh 3:16 og mer", "Joh 3:16, 18", "3:16"}) {
        AddEntry(lex.Get(), text);
        ASSERT_EQ(S_OK, lex->FindEntry(text, &pos, &exact)) << text;
        EXPECT_EQ(S_OK, lex->GetEntryKind(pos, &kind));
        EXPECT_EQ(1, kind) << text;
    }
    ASSERT_EQ(S_OK, SaveLex(lex.Get()));
    lex.Reset();
    EXPECT_NE("<missing>", StreamOf(path_, L"I_Joh_3_16"));
}

TEST_F(LexExports, DamagedLanguageStatisticsFailAndChangeNothing) {
    ASSERT_EQ(S_OK, CreateOldVoLexFile(path_.c_str(), langStat_.Get(), "x", nullptr));
    std::string langStat = StreamOf(path_, L"LangStat");
    ASSERT_GT(langStat.size(), 100u);
    RewriteStream(path_, L"LangStat", langStat.substr(0, langStat.size() / 2));
    const std::string bytes = ReadWholeFile(path_);
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(E_INVALIDARG, OpenVoLexFile(path_.c_str(), lex.Put()));
    EXPECT_FALSE(lex);
    EXPECT_TRUE(bytes == ReadWholeFile(path_));
}

TEST_F(LexExports, ArgumentsAreChecked) {
    EXPECT_EQ(E_POINTER, OpenVoLexFile(path_.c_str(), nullptr));
    ComPtr<IVoLexicon> lex;
    EXPECT_EQ(E_POINTER, CreateOldVoLexFile(path_.c_str(), nullptr, "x", lex.Put()));
    EXPECT_FALSE(lex);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str()));
    EXPECT_EQ(S_OK, CreateOldVoLexFile(path_.c_str(), langStat_.Get(), nullptr, nullptr));
    EXPECT_EQ(S_OK, OpenVoLexFile(path_.c_str(), lex.Put()));
    char name[64];
    EXPECT_EQ(S_OK, lex->GetName(name));
    EXPECT_STREQ("", name);
    // A packaged lexicon that is not there.
    EXPECT_EQ(STG_E_FILENOTFOUND, OpenVoLexFile(dir_.File("lexicon.vrsl").c_str(), lex.Put()));
    EXPECT_FALSE(lex);
}

}  // namespace
