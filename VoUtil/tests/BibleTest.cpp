// Bible files of both formats built by the writer and read back: verse texts with and
// without markup, notes, titles and their markers, section ends, chapter summaries, the
// pinning pairs, names and description; the new format's display value, companion file
// and text table; and the string and path exports.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "Unknown.h"
#include "BibleFixture.h"
#include "BookListNames.h"
#include "RyTextUtilsIdl.h"
#include "TestFiles.h"

namespace {

ULONG RefCount(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

class ComScope {
public:
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

// ---- String and path exports -----------------------------------------------------------

TEST(StringExports, GetDirFromFullPathCutsAfterTheLastBackslash) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"C:\\Bibler\\abc.vrsb", "C:\\Bibler\\"},
        {"C:\\abc.vrsb", "C:\\"},
        {"C:\\Bibler\\", "C:\\Bibler\\"},
        {"abc.vrsb", ""},  // no folder part
    };
    for (const Case& c : cases) {
        char buf[64];
        strcpy(buf, c.in);
        EXPECT_EQ(buf, GetDirFromFullPath(buf));
        EXPECT_STREQ(c.out, buf) << c.in;
    }
}

TEST(StringExports, RemoveVerseTextFormattingFlattensRunsOfTabsAndLineEnds) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"\r\nOg Gud sa:\t\t\xABKli lys!\xBB\n", "Og Gud sa: \xABKli lys!\xBB "},
        {"a\r\n\r\n\tb", "a b"},
        {"\t\t", ""},
        {"", ""},
        {"uten  endring", "uten  endring"},
    };
    for (const Case& c : cases) {
        char buf[64];
        strcpy(buf, c.in);
        EXPECT_EQ(buf, RemoveVerseTextFormatting(buf));
        EXPECT_STREQ(c.out, buf) << c.in;
    }
}

TEST(StringExports, CollationIsTheBuiltInLanguages) {
    EXPECT_EQ(-1, StringCompare("\xC5", "\xF6"));  // Å before ö
    EXPECT_EQ(0, StringCompare("abc", "ABC"));
    EXPECT_EQ(1, StringCompare("\xE6rlig", "zebra"));  // æ after z
    EXPECT_EQ(-1, StringCompare("abc", "abcd"));
    EXPECT_TRUE(StringIsPrefixedBy("Begynnelsen", "beg"));
    EXPECT_TRUE(StringIsPrefixedBy("\xC5penbaring", "\xE5p"));
    EXPECT_TRUE(StringIsPrefixedBy("tekst", ""));
    EXPECT_FALSE(StringIsPrefixedBy("", "a"));
    EXPECT_FALSE(StringIsPrefixedBy("beg", "begynne"));
}

// ---- Both formats ----------------------------------------------------------------------

class BibleFormatTest : public ::testing::TestWithParam<BibleFormat> {
protected:
    void SetUp() override {
        live = CUnknown::LiveObjects();
        path = dir.File(GetParam() == BibleFormat::kNew ? "liten.vrsb" : "liten.bib");
    }
    void TearDown() override {
        bible.Reset();
        EXPECT_EQ(live, CUnknown::LiveObjects());
    }
    void Open(const BibleWriter& w) {
        std::string error;
        ASSERT_TRUE(w.WriteFile(GetParam(), path, &error)) << error;
        ASSERT_EQ(S_OK, OpenAnyBible(GetParam(), path, bible.Put()));
    }
    std::string Verse(int b, int c, int v, BOOL keep = TRUE, int len = 256) {
        std::vector<char> buf(static_cast<size_t>(len) + 1, 'X');
        EXPECT_EQ(S_OK, bible->GetVerseText(b, c, v, keep, buf.data(), len));
        return buf.data();
    }
    std::string Title(int b, int c, int v, HRESULT expect = S_OK) {
        char buf[256] = "X";
        EXPECT_EQ(expect, bible->GetSectionTitle(b, c, v, buf, sizeof buf)) << b << ":" << c << ":" << v;
        return buf;
    }
    std::string Summary(int b, int c, unsigned len = 512) {
        std::vector<char> buf(len, 'X');
        EXPECT_EQ(S_OK, bible->GetChapterSummary(b, c, buf.data(), len));
        return buf.data();
    }
    char Marker() const { return GetParam() == BibleFormat::kNew ? '\t' : '+'; }

    TempDir dir;
    std::string path;
    ComPtr<IBible> bible;
    LONG live = 0;
    ComScope com;
};

TEST_P(BibleFormatTest, ReadsBackVerseTextsNamesAndStatistics) {
    BibleWriter w = SmallBible();
    w.SetVerse(4, "<i> Salme</i> tekst");
    w.SetVerse(5, "<a<b>c>  inne");
    w.SetVerse(6, "<uten slutt");
    w.SetVerse(17, "");
    Open(w);
    EXPECT_EQ(1u, RefCount(bible.Get()));
    EXPECT_EQ("Vers 0.", Verse(0, 0, 0));
    EXPECT_EQ("Vers 16.", Verse(2, 2, 0));
    EXPECT_EQ("", Verse(2, 2, 1));
    EXPECT_EQ("<i> Salme</i> tekst", Verse(0, 1, 1));
    EXPECT_EQ("Salme</i> tekst", Verse(0, 1, 1, FALSE));
    EXPECT_EQ("inne", Verse(0, 1, 2, FALSE));           // nested group
    EXPECT_EQ("<uten slutt", Verse(0, 1, 3, FALSE));    // no closed group
    EXPECT_EQ("", Verse(0, 0, 0, TRUE, 1));              // len 1
    EXPECT_EQ("Salme", Verse(0, 1, 1, FALSE, 6));        // cut after removal
    if (GetParam() == BibleFormat::kOld) {
        EXPECT_EQ("Ver", Verse(0, 0, 0, TRUE, 4));
    }

    char buf[300];
    EXPECT_EQ(E_POINTER, bible->GetVerseText(0, 0, 0, TRUE, nullptr, 10));
    EXPECT_EQ(E_INVALIDARG, bible->GetVerseText(0, 0, 0, TRUE, buf, 0));
    const int bad[][3] = {{-1, 0, 0}, {3, 0, 0}, {0, 2, 0}, {0, 0, 3}, {0, -1, 0}, {0, 0, -1}, {1, 0, 5}};
    for (const auto& p : bad) {
        EXPECT_EQ(E_INVALIDARG, bible->GetVerseText(p[0], p[1], p[2], TRUE, buf, sizeof buf));
        EXPECT_EQ(E_INVALIDARG, bible->HasVerseNote(p[0], p[1], p[2]));
        EXPECT_EQ(E_INVALIDARG, bible->GetSectionTitle(p[0], p[1], p[2], buf, sizeof buf));
    }

    ASSERT_EQ(S_OK, bible->GetBibleName(TRUE, buf, sizeof buf));
    EXPECT_STREQ("Liten testbibel", buf);
    ASSERT_EQ(S_OK, bible->GetBibleName(FALSE, buf, sizeof buf));
    EXPECT_STREQ("LTB", buf);
    ASSERT_EQ(S_OK, bible->GetBibleName(TRUE, buf, 6));
    EXPECT_STREQ("Liten", buf);
    ASSERT_EQ(S_OK, bible->GetDescription(buf, sizeof buf));
    EXPECT_STREQ("Beskrivelse av testbibelen.", buf);
    ASSERT_EQ(S_OK, bible->GetFilePath(buf, sizeof buf));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), buf));

    ComPtr<IBibleLangStat> lang;
    ASSERT_EQ(S_OK, bible->GetLangStat(lang.Put()));
    EXPECT_EQ(2u, RefCount(lang.Get()));  // the bible's and ours
    ASSERT_EQ(S_OK, lang->GetBookName(buf, 1));
    EXPECT_STREQ("Beta", buf);
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, bible->GetBibleStat(stat.Put()));
    EXPECT_EQ(18, stat->GetVerseCount());
    GUID id;
    stat->GetGuid(&id, FALSE);
    EXPECT_TRUE(IsEqualGUID(kSmallIdentity, id));
    EXPECT_EQ(E_POINTER, bible->GetLangStat(nullptr));
    EXPECT_EQ(E_POINTER, bible->GetBibleStat(nullptr));
}

TEST_P(BibleFormatTest, NotesTitlesAndSectionEnds) {
    BibleWriter w = SmallBible();
    w.SetVerseNote(1, "En merknad.");
    w.SetSectionTitle(0, "Begynnelsen.");
    w.SetSectionTitle(3, "Forskj\xF8vet", true);
    w.SetSectionTitle(7, "Hva n\xE5?.");
    w.SetSectionTitle(9, "Med komma,");
    w.SetSectionTitle(14, "Siste");
    Open(w);
    char buf[64];
    EXPECT_EQ(S_FALSE, bible->HasVerseNote(0, 0, 0));
    EXPECT_EQ(S_OK, bible->HasVerseNote(0, 0, 1));
    EXPECT_EQ(S_OK, bible->GetVerseNote(0, 0, 1, buf, sizeof buf));
    EXPECT_STREQ("En merknad.", buf);
    EXPECT_EQ(S_OK, bible->GetVerseNote(0, 0, 1, buf, 3));
    EXPECT_STREQ("En", buf);
    EXPECT_EQ(S_FALSE, bible->GetVerseNote(2, 2, 1, buf, sizeof buf));
    EXPECT_STREQ("", buf);

    EXPECT_EQ(S_OK, bible->HasSectionTitle(0, 1, 0));
    EXPECT_EQ(S_FALSE, bible->HasSectionTitle(0, 1, 1));
    EXPECT_EQ("Begynnelsen.", Title(0, 0, 0));
    EXPECT_EQ("Forskj\xF8vet", Title(0, 1, 0));  // the marker is cut
    EXPECT_EQ("Hva n\xE5?", Title(1, 0, 0));     // the character after "?" is cut
    EXPECT_EQ("Med komma", Title(1, 0, 2));
    EXPECT_EQ("", Title(0, 0, 1, S_FALSE));

    struct Case { int in[3]; int out[3]; } cases[] = {
        {{0, 0, 0}, {0, 0, 2}},   // up to the verse before the next title
        {{0, 0, 1}, {0, 0, 2}},
        {{0, 1, 0}, {0, 1, 3}},   // to the chapter's end
        {{1, 0, 2}, {2, 0, 1}},   // across a chapter
        {{2, 1, 0}, {2, 2, 1}},   // the last titled section ends at the bible's end
        {{2, 2, 1}, {2, 2, 1}},
    };
    for (const Case& c : cases) {
        int b = c.in[0], ch = c.in[1], v = c.in[2];
        ASSERT_EQ(S_OK, bible->GetSectionEnd(&b, &ch, &v));
        EXPECT_EQ(c.out[0], b);
        EXPECT_EQ(c.out[1], ch);
        EXPECT_EQ(c.out[2], v);
    }
    int b = 0, ch = 5, v = 0;
    EXPECT_EQ(E_INVALIDARG, bible->GetSectionEnd(&b, &ch, &v));
    EXPECT_EQ(E_POINTER, bible->GetSectionEnd(nullptr, &ch, &v));
}

TEST_P(BibleFormatTest, ChapterSummaries) {
    BibleWriter w = SmallBible();
    // Book 0 chapter 0: one title over the whole chapter.
    w.SetSectionTitle(0, "Skapelsen.");
    // Chapter 1: two sections, the second starting in the second part of its verse and
    // running into the next book's chapter.
    w.SetSectionTitle(3, "Hagen,");
    w.SetSectionTitle(5, ".Fallet");
    // Book 1: a "?" title, then a section whose next title starts in a verse's first part.
    w.SetSectionTitle(8, "Hvem?.");
    w.SetSectionTitle(10, "Svar");
    w.SetSectionTitle(11, ".Neste");
    // Book 2 chapter 1: a title with the one-verse shift marker.
    w.SetSectionTitle(14, "Flyttet", true);
    // Book 2 chapter 2 has no title but a chapter text; chapter 0 has neither.
    w.SetChapterText(5, "Kapitteltekst.");
    w.SetVerse(12, "\tF\xF8rste\r\nvers");
    Open(w);
    EXPECT_EQ("Skapelsen.", Summary(0, 0));
    EXPECT_EQ("Hagen, 1-2a, Fallet, 3b-1:1.", Summary(0, 1));
    EXPECT_EQ("Hvem? Svar, 4. Neste, 5b-1:2.", Summary(1, 0));
    EXPECT_EQ("F\xF8rste vers...", Summary(2, 0));
    EXPECT_EQ("Flyttet, 2-2.", Summary(2, 1));  // the range counts from the stored verse
    EXPECT_EQ(" Kapitteltekst.", Summary(2, 2));
    // Small buffers: the pieces are cut, the text always terminated.
    EXPECT_EQ("F\xF8rs...", Summary(2, 0, 8));
    EXPECT_EQ("Hagen, 1-2a, ", Summary(0, 1, 40));  // no room for another section
    EXPECT_EQ("", Summary(0, 0, 1));
    char buf[16];
    EXPECT_EQ(E_INVALIDARG, bible->GetChapterSummary(0, 2, buf, sizeof buf));
    EXPECT_EQ(E_INVALIDARG, bible->GetChapterSummary(3, 0, buf, sizeof buf));
    EXPECT_EQ(E_POINTER, bible->GetChapterSummary(0, 0, nullptr, 16));
}

TEST_P(BibleFormatTest, ChapterSummaryOfTheMarkedFirstVerse) {
    BibleWriter w = SmallBible();
    w.SetVerse(0, "<<Merket>resten av verset");
    Open(w);
    EXPECT_EQ("Merket...", Summary(0, 0));
}

TEST_P(BibleFormatTest, LoadAndUnloadPairUp) {
    Open(SmallBible());
    EXPECT_EQ(S_OK, bible->LoadChapter(0, 1));
    EXPECT_EQ("Vers 3.", Verse(0, 1, 0));
    EXPECT_EQ(S_OK, bible->LoadBook(2));
    EXPECT_EQ(S_OK, bible->LoadBook(2));
    EXPECT_EQ("Vers 17.", Verse(2, 2, 1));
    EXPECT_EQ(S_OK, bible->UnloadBook(2));
    EXPECT_EQ(S_OK, bible->UnloadBook(2));
    EXPECT_EQ(S_OK, bible->UnloadChapter(0, 1));
    EXPECT_EQ("Vers 17.", Verse(2, 2, 1));
    EXPECT_EQ(E_INVALIDARG, bible->LoadChapter(0, 2));
    EXPECT_EQ(E_INVALIDARG, bible->LoadChapter(-1, 0));
    EXPECT_EQ(E_INVALIDARG, bible->LoadBook(3));
    EXPECT_EQ(S_OK, bible->UnloadChapter(0, 2));
    EXPECT_EQ(S_OK, bible->UnloadBook(3));
}

TEST_P(BibleFormatTest, OnlyTheNewFormatAnswersINewBible) {
    Open(SmallBible());
    ComPtr<INewBible> nb;
    EXPECT_EQ(GetParam() == BibleFormat::kNew ? S_OK : E_NOINTERFACE, bible.As(IID_INewBible, &nb));
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(S_OK, bible.As(IID_IUnknown, &a));
    if (nb) {
        ASSERT_EQ(S_OK, nb.As(IID_IUnknown, &b));
        EXPECT_EQ(a.Get(), b.Get());
    }
}

TEST_P(BibleFormatTest, TheOtherFormatsOpenerRefusesTheFile) {
    Open(SmallBible());
    bible.Reset();
    ComPtr<IBible> other;
    EXPECT_TRUE(FAILED(OpenAnyBible(GetParam() == BibleFormat::kNew ? BibleFormat::kOld : BibleFormat::kNew, path,
                                    other.Put())));
    EXPECT_FALSE(other);
}

TEST_P(BibleFormatTest, MissingFilesAndPaths) {
    ComPtr<IBible> b;
    EXPECT_EQ(E_INVALIDARG, OpenAnyBible(GetParam(), dir.File("finnes-ikke.vrsb"), b.Put()));
    EXPECT_EQ(E_INVALIDARG, OpenAnyBible(GetParam(), "", b.Put()));
    EXPECT_EQ(E_INVALIDARG, OpenAnyBible(GetParam(), std::string(400, 'a'), b.Put()));
    EXPECT_FALSE(b);
    EXPECT_EQ(E_POINTER, OpenBibleFile(path.c_str(), nullptr));
    EXPECT_EQ(E_POINTER, OpenNewBibleFile(path.c_str(), nullptr));
}

INSTANTIATE_TEST_SUITE_P(Formats, BibleFormatTest, ::testing::Values(BibleFormat::kOld, BibleFormat::kNew),
                         [](const ::testing::TestParamInfo<BibleFormat>& i) { return FormatName(i.param); });

// ---- New format only -------------------------------------------------------------------

class NewBibleTest : public ::testing::Test {
protected:
    ComPtr<INewBible> Open(const BibleWriter& w, const std::string& name = "liten.vrsb") {
        std::string error;
        path = dir.File(name);
        EXPECT_TRUE(w.WriteFile(BibleFormat::kNew, path, &error)) << error;
        ComPtr<INewBible> b;
        EXPECT_EQ(S_OK, OpenNewBibleFile(path.c_str(), b.Put()));
        return b;
    }
    TempDir dir;
    std::string path;
    ComScope com;
};

TEST_F(NewBibleTest, DisplayValueIsNormalised) {
    const int expected[21] = {10, 10, 10, 11, 8, 9, 10, 11, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4};
    for (unsigned v = 0; v <= 20; ++v) {
        BibleWriter w = SmallBible();
        w.SetDisplayValue(v);
        ComPtr<INewBible> b = Open(w);
        ASSERT_TRUE(b);
        int value = -1;
        ASSERT_EQ(S_OK, b->GetTrailerValue(&value));
        EXPECT_EQ(expected[v], value) << v;
    }
    // A file without the value reports 10.
    BibleWriter w = SmallBible();
    w.SetDisplayValue(3);
    ComPtr<INewBible> b = Open(w);
    b.Reset();
    std::string bytes = ReadWholeFile(path);
    ASSERT_EQ(3, bytes.back());
    WriteWholeFile(path, bytes.substr(0, bytes.size() - 1));
    ASSERT_EQ(S_OK, OpenNewBibleFile(path.c_str(), b.Put()));
    int value = -1;
    EXPECT_EQ(S_OK, b->GetTrailerValue(&value));
    EXPECT_EQ(10, value);
    EXPECT_EQ(E_POINTER, b->GetTrailerValue(nullptr));
}

TEST_F(NewBibleTest, ReadInfoFileReadsTheCompanion) {
    ComPtr<INewBible> b = Open(SmallBible(), "abc.vrsb");
    char buf[64] = "X";
    EXPECT_EQ(S_FALSE, b->ReadInfoFile(buf, sizeof buf));
    EXPECT_STREQ("", buf);
    ASSERT_TRUE(WriteWholeFile(dir.File("abc.inf"), "Om denne bibelen.\r\n"));
    EXPECT_EQ(S_OK, b->ReadInfoFile(buf, sizeof buf));
    EXPECT_STREQ("Om denne bibelen.\r\n", buf);
    EXPECT_EQ(S_OK, b->ReadInfoFile(buf, 3));
    EXPECT_STREQ("Om", buf);
    EXPECT_EQ(E_POINTER, b->ReadInfoFile(nullptr, 10));
    EXPECT_EQ(E_INVALIDARG, b->ReadInfoFile(buf, 0));
    EXPECT_EQ(dir.File("abc.inf"), InfoFilePath(path));
}

TEST_F(NewBibleTest, TextTableAndSectionTitlesFlag) {
    ComPtr<INewBible> b = Open(SmallBible());
    EXPECT_EQ(S_FALSE, b->HasSectionTitles());
    ComPtr<IUnknown> unk;
    ASSERT_EQ(S_OK, b->GetTextTable(unk.Put()));
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, unk.As(IID_IRyTextTab, &tab));
    long count = 0;
    EXPECT_EQ(S_OK, tab->get_TextCount(&count));
    EXPECT_EQ(18, count);
    long found = 0;
    long* hits = nullptr;
    EXPECT_EQ(S_OK, tab->Find(0, -1, const_cast<char*>("vers & 12"), &found, &hits));
    ASSERT_EQ(1, found);
    EXPECT_EQ(12, hits[0]);
    CoTaskMemFree(hits);
    EXPECT_EQ(E_POINTER, b->GetTextTable(nullptr));

    BibleWriter w = SmallBible();
    w.SetSectionTitle(17, "Til slutt");
    EXPECT_EQ(S_OK, Open(w, "titler.vrsb")->HasSectionTitles());
}

// ---- English names from a book list ----------------------------------------------------

TEST(BookListNames, NamesComeFromTheListAndMustMatchTheNumbering) {
    TempDir dir;
    ComPtr<IBibleLangStat> small = SmallLangStat();
    ComPtr<IBibleStat> stat;
    ASSERT_EQ(S_OK, small->GetBibleStat(stat.Put()));
    const std::string list = dir.File("books.txt");
    ASSERT_TRUE(WriteWholeFile(list, "1\tAlf\tAlpha\tAl\tThe Book of Alpha\n2\tBet\tBeta\tBe\tThe Book of Beta\n"
                                     "3\tGam\tGamma\tGa\tThe Book of Gamma\n"));
    ComPtr<IBibleLangStat> lang;
    std::string error;
    ASSERT_TRUE(BuildBookListLangStat(stat.Get(), list, "English", lang.Put(), &error)) << error;
    char buf[kMaxBookNameLength + 1];
    ASSERT_EQ(S_OK, lang->GetBookName(buf, 2));
    EXPECT_STREQ("Gamma", buf);
    ASSERT_EQ(S_OK, lang->GetBookAbbreviation(buf, 0));
    EXPECT_STREQ("The Book of Alpha", buf);
    ASSERT_EQ(S_OK, lang->GetBookName(buf, -1));
    EXPECT_STREQ("English", buf);
    GUID g;
    lang->GetLanguageGuid(&g);
    EXPECT_TRUE(IsEqualGUID(kEnglishLanguage, g));

    const char* bad[] = {
        "1\tAlf\tAlpha\tAl\tThe Book of Alpha\n",                               // too few books
        "1\tA\tA\tA\tA\n2\tB\tB\tB\tB\n4\tG\tG\tG\tG\n",                         // not book 3
        "1\tA\tA\tA\tA\n2\tB\tB\tB\tB\n3\tG\tG\n",                                // fields missing
    };
    for (const char* text : bad) {
        ASSERT_TRUE(WriteWholeFile(list, text));
        ComPtr<IBibleLangStat> none;
        EXPECT_FALSE(BuildBookListLangStat(stat.Get(), list, "English", none.Put(), &error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(none);
    }
    EXPECT_FALSE(BuildBookListLangStat(stat.Get(), dir.File("mangler.txt"), "English", lang.Put(), &error));
}

}  // namespace
