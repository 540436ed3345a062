// Articles for verses and keys across the open commentaries, in most-recent order and
// through the conversion of numberings (the sample variant numbering, converted by the
// copy of VoUtil.dll beside the test through the tables in its "Bibles" folder); the
// handles, their titles and their checks; the heading of a verse; a link's text as a verse.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "ArticleFinder.h"
#include "ArticleFixture.h"
#include "ArticleReferences.h"
#include "DataDirectories.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "SampleTables.h"
#include "SampleVersifications.h"
#include "ScratchRegistry.h"
#include "LexiconFiles.h"
#include "TestFiles.h"

namespace {


class ArticleFinderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string failed;
        ASSERT_TRUE(CopySampleTables(&failed)) << failed;
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nLexicons=.\\scratch\\Lexicons\r\n");
        CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
        CreateDirectoryA((std::string(program) + "scratch\\Lexicons").c_str(), nullptr);
    }

    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        ASSERT_EQ(S_OK, BuildProtestantStat(common.Put()));
        ASSERT_EQ(S_OK, BuildVariantStat(variant.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(common.Get(), commonLang.Put()));
        ASSERT_EQ(S_OK, BuildNorwegianLangStat(variant.Get(), variantLang.Put()));
    }

    // A saved user commentary with the given titles (entries with a short text).
    std::string Make(const char* file, const char* name, IBibleLangStat* lang, std::initializer_list<const char*> titles) {
        const std::string path = dir.File(file);
        ComPtr<IVoLexicon> lexicon;
        EXPECT_EQ(S_OK, CreateOldVoLexFile(path.c_str(), lang, name, lexicon.Put()));
        for (const char* title : titles) {
            int id = 0;
            EXPECT_EQ(S_OK, lexicon->AddEntry(title, &id)) << title;
            EXPECT_EQ(S_OK, lexicon->SetEntryText(id, "tekst"));
        }
        EXPECT_EQ(S_OK, SaveLexicon(lexicon.Get()));
        return path;
    }

    // Three commentaries: the first and third in the common numbering, the second in the
    // variant one, where Joel 2:28 is Joel 3:1 and Romans 16:25 has no counterpart.
    void MakeThree(VoLexiconList& list) {
        ASSERT_EQ(0, list.AddFile(Make("forste.vrsn", "Første", commonLang.Get(), {"Joel 2:28", "Rom 16:25", "Sara"}).c_str()));
        ASSERT_EQ(1, list.AddFile(Make("andre.vrsn", "Andre", variantLang.Get(), {"Joel 3:1", "Rom 16:25"}).c_str()));
        ASSERT_EQ(2, list.AddFile(Make("tredje.vrsn", "Tredje", commonLang.Get(), {"Joel 2:28", "Rom 16:25", "Sara"}).c_str()));
        list.SetCurrent(0);
    }

    int Verse(int book, int chapter, int verse) {
        ComPtr<IBibleHandles> handles;
        EXPECT_EQ(S_OK, common.As(IID_IBibleHandles, &handles));
        int reference = 0;
        handles->MakeRef(&reference, book, chapter, verse);
        return reference;
    }

    // The commentaries of a walk over every article of a verse, by index.
    std::vector<int> WalkVerse(VoArticleFinder& finder, int verse) {
        std::vector<int> indices;
        for (ArticleHandle a = finder.FindArticleForVerse(true, common.Get(), verse, true, kNoArticle); a != kNoArticle;
             a = finder.FindArticleForVerse(true, common.Get(), verse, true, a)) {
            indices.push_back(ArticleCommentaryIndex(a));
            if (indices.size() > 5) break;
        }
        return indices;
    }

    ScratchRegistry registry;
    TempDir dir;
    ComPtr<IBibleStat> common, variant;
    ComPtr<IBibleLangStat> commonLang, variantLang;
};

TEST_F(ArticleFinderTest, TheWalkGoesThroughTheCommentariesInOrderThroughTheirNumberings) {
    VoLexiconList list;
    MakeThree(list);
    VoArticleFinder finder(list);
    const int joel = Verse(kJoelBook, 1, 27);       // Joel 2:28, Joel 3:1 of the variant numbering
    const int romans = Verse(kRomansBook, 15, 24);  // Romans 16:25, nowhere in the variant one
    EXPECT_EQ((std::vector<int>{0, 1, 2}), WalkVerse(finder, joel));
    EXPECT_EQ((std::vector<int>{0, 2}), WalkVerse(finder, romans)) << "no counterpart: nothing in the second";

    // The most recent commentary first.
    list.MarkMostRecent(2);
    EXPECT_EQ((std::vector<int>{2, 0, 1}), WalkVerse(finder, joel));

    // The second commentary's entry is the one with the converted reference.
    ArticleHandle inVariant = finder.FindArticleForVerse(true, common.Get(), joel, true, kNoArticle);
    while (inVariant != kNoArticle && ArticleCommentaryIndex(inVariant) != 1)
        inVariant = finder.FindArticleForVerse(true, common.Get(), joel, true, inVariant);
    char title[64];
    finder.GetArticleTitle(inVariant, true, title, sizeof title);
    EXPECT_STREQ("Andre: Joel 3:1", title);

    // Only the current commentary without `all`: `after` is not used.
    const ArticleHandle first = finder.FindArticleForVerse(false, common.Get(), joel, true, kNoArticle);
    EXPECT_EQ(0, ArticleCommentaryIndex(first));
    EXPECT_EQ(first, finder.FindArticleForVerse(false, common.Get(), joel, true, first));
    // No current commentary: nothing.
    list.SetCurrent(-1);
    EXPECT_EQ(kNoArticle, finder.FindArticleForVerse(true, common.Get(), joel, true, kNoArticle));
}

TEST_F(ArticleFinderTest, KeysAreFoundByTheirExactTitle) {
    VoLexiconList list;
    MakeThree(list);
    VoArticleFinder finder(list);
    const ArticleHandle first = finder.FindArticleForKey(true, "Sara", kNoArticle);
    EXPECT_EQ(0, ArticleCommentaryIndex(first));
    const ArticleHandle second = finder.FindArticleForKey(true, "Sara", first);
    EXPECT_EQ(2, ArticleCommentaryIndex(second));
    EXPECT_EQ(kNoArticle, finder.FindArticleForKey(true, "Sara", second));
    EXPECT_EQ(kNoArticle, finder.FindArticleForKey(true, "Sar", kNoArticle));
    EXPECT_EQ(kNoArticle, finder.FindArticleForKey(true, nullptr, kNoArticle));
}

TEST_F(ArticleFinderTest, TitlesAreBoundedAndHandlesAreCheckedAndGoStale) {
    VoLexiconList list;
    MakeThree(list);
    VoArticleFinder finder(list);
    const ArticleHandle own = finder.FindArticleForKey(false, "Sara", kNoArticle);
    const ArticleHandle other = finder.FindArticleForKey(true, "Sara", own);
    char title[64];
    finder.GetArticleTitle(own, false, title, sizeof title);
    EXPECT_STREQ("Sara", title) << "the current commentary's article without its name";
    finder.GetArticleTitle(other, false, title, sizeof title);
    EXPECT_STREQ("Tredje: Sara", title);
    // Room for the name and part of ": " only: never a size of 0 or less for the title.
    std::memset(title, '#', sizeof title);
    finder.GetArticleTitle(other, false, title, 8);
    EXPECT_STREQ("Tredje:", title);
    EXPECT_EQ('#', title[8]);
    finder.GetArticleTitle(other, false, title, 3);
    EXPECT_STREQ("Tr", title);
    finder.GetArticleTitle(other, true, title, 10);
    EXPECT_STREQ("Tredje: S", title);

    // Values that name nothing: none, negative, an index past the list, a position past the
    // commentary, a handle never handed out.
    int index = -1, position = -1;
    for (ArticleHandle bad : {kNoArticle, static_cast<ArticleHandle>(-5), MakeArticleHandle(7, 0),
                              MakeArticleHandle(0, 100), own + 1}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(finder.ResolveArticle(bad, &index, &position));
        title[0] = 'x';
        finder.GetArticleTitle(bad, true, title, sizeof title);
        EXPECT_STREQ("", title);
    }
    EXPECT_TRUE(finder.ResolveArticle(other, &index, &position));
    EXPECT_EQ(2, index);

    // Removing a commentary moves the third into the second place: the old handle, whose
    // index now names another commentary, names nothing.
    list.RemoveAt(1);
    EXPECT_FALSE(finder.ResolveArticle(other, &index, &position));
    finder.GetArticleTitle(other, true, title, sizeof title);
    EXPECT_STREQ("", title);
    const ArticleHandle again = finder.FindArticleForKey(true, "Sara", own);
    EXPECT_EQ(1, ArticleCommentaryIndex(again));
    finder.GetArticleTitle(again, false, title, sizeof title);
    EXPECT_STREQ("Tredje: Sara", title);
    // Switching a commentary off makes earlier handles stale too; the pane's own are made.
    ASSERT_TRUE(list.SetActive(list.GetAt(1), false));
    EXPECT_FALSE(finder.ResolveArticle(again, &index, &position));
    EXPECT_EQ(kNoArticle, finder.MakeArticle(1, 0)) << "a commentary that is not open";
    const ArticleHandle made = finder.MakeArticle(0, 0);
    EXPECT_TRUE(finder.ResolveArticle(made, &index, &position));
}

TEST_F(ArticleFinderTest, AVerseWithoutACounterpartConvertsToNothing) {
    VoLexiconList list;
    MakeThree(list);
    VoArticleFinder finder(list);
    const int joel = Verse(kJoelBook, 1, 27);
    ComPtr<IBibleHandles> variantHandles;
    ASSERT_EQ(S_OK, variant.As(IID_IBibleHandles, &variantHandles));
    int expected = 0;
    variantHandles->MakeRef(&expected, kJoelBook, 2, 0);
    EXPECT_EQ(expected, finder.ConvertVerse(1, common.Get(), joel));
    EXPECT_EQ(joel, finder.ConvertVerse(0, common.Get(), joel));
    EXPECT_EQ(0, finder.ConvertVerse(1, common.Get(), Verse(kRomansBook, 15, 24)));
    EXPECT_EQ(0, finder.ConvertVerse(1, nullptr, joel));
    EXPECT_EQ(0, finder.ConvertVerse(9, common.Get(), joel));
}

int Parse(const char* text) { return ParseReferenceText(KjvLangStat(), 0, text); }

TEST(ArticleHeadings, TheHeadingOfAVerse) {
    IBibleLangStat* kjv = KjvLangStat();
    ASSERT_TRUE(kjv);
    struct Row {
        const char* what;
        std::vector<const char*> headings;
        const char* verse;
        int expected;
    } rows[] = {
        {"between headings: the last before", {"Joh 3:1", "Joh 3:5", "Joh 3:9"}, "Joh 3:7", 1},
        {"an equal heading", {"Joh 3:1", "Joh 3:5", "Joh 3:9"}, "Joh 3:5", 1},
        {"a chapter that holds the verse wins", {"Joh 3:1", "Joh 3", "Joh 3:9"}, "Joh 3:7", 1},
        {"a later holding heading replaces an earlier", {"Joh 3", "Joh 3:1-8", "Joh 4"}, "Joh 3:7", 1},
        {"after every heading", {"Joh 3:1", "Joh 3:5", "Joh 3:9"}, "Joh 3:10", 2},
        {"before every heading", {"Joh 3:1", "Joh 3:5"}, "Joh 2:1", -1},
        {"a heading that is no reference breaks the run", {"Innledning", "Joh 3:1", "Joh 3:9"}, "Joh 3:7", -1},
        {"a holding heading after a text heading", {"Innledning", "Joh 3"}, "Joh 3:7", 1},
        {"no headings", {}, "Joh 3:7", -1},
        {"headings out of order", {"Joh 3:9", "Joh 3:1"}, "Joh 3:7", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.expected, ChooseHeadingForVerse(kjv, row.headings.data(), static_cast<int>(row.headings.size()),
                                                      Parse(row.verse)));
    }
    EXPECT_EQ(-1, ChooseHeadingForVerse(kjv, nullptr, 3, Parse("Joh 3:7")));
}

TEST(ArticleReferences, AReferenceTextIsOneWholeReference) {
    EXPECT_NE(0, Parse("Joh 3:16"));
    EXPECT_EQ(0, Parse("Joh 3:16 og mer"));
    EXPECT_EQ(0, Parse("ingen"));
    EXPECT_EQ(0, Parse(""));
    const int context = Parse("Joh 3:16");
    EXPECT_EQ(Parse("Joh 3:17"), ParseReferenceText(KjvLangStat(), context, "17"));
    EXPECT_EQ(0, ParseReferenceText(KjvLangStat(), context, "16")) << "the context itself";
}

TEST_F(ArticleFinderTest, ALinkTextBecomesAVerseOfTheActiveBible) {
    ASSERT_TRUE(KjvBible());
    char message[128];
    EXPECT_EQ(0, ReferenceTextToVerse(nullptr, KjvBible(), "Joh 3:16", message, sizeof message));
    EXPECT_STREQ("No lexicon is chosen, so the text of Joh 3:16 cannot be found.", message);
    EXPECT_EQ(0, ReferenceTextToVerse(variantLang.Get(), KjvBible(), "ingen henvisning", message, sizeof message));
    EXPECT_STREQ("'ingen henvisning' er ikke en gyldig henvisning.", message);
    EXPECT_EQ(0, ReferenceTextToVerse(variantLang.Get(), KjvBible(), "ingen henvisning", message, 10));
    EXPECT_STREQ("'ingen he", message);
    // Joel 3:1 of the variant numbering is Joel 2:28 of the KJV's.
    EXPECT_EQ(Parse("Joel 2:28"), ReferenceTextToVerse(variantLang.Get(), KjvBible(), "Joel 3:1", message, sizeof message));
    EXPECT_STREQ("", message);
    EXPECT_EQ(Parse("Joh 3:16"), ReferenceTextToVerse(KjvLangStat(), KjvBible(), "Joh 3:16", message, sizeof message));
    EXPECT_EQ(0, ReferenceTextToVerse(commonLang.Get(), nullptr, "Joh 3:16", message, sizeof message));
}

}  // namespace
