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
    EXPECT_EQ(E_NOTIMPL, OpenVoLexFile(dir_.File("lexicon.vrsl").c_str(), lex.Put()));
    EXPECT_FALSE(lex);
}

}  // namespace
