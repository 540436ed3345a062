// The search behind the search dialog: prefix lists, the query forms of the text table,
// unions of selected words, book ranges and the hits' references, on a small Norwegian
// bible worked out by hand and on the KJV sample bible against a plain scan of its verses.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BibleSearch.h"
#include "OleHandles.h"
#include "QueryReference.h"
#include "SearchFixture.h"

namespace {

using Verses = std::vector<int>;

Verses Hits(const VoBibleSearch& s) {
    Verses v;
    for (int i = 0; i < s.GetHitCount(); ++i) v.push_back(s.GetHitVerse(i));
    return v;
}

std::vector<std::string> WordsWithPrefix(const VoBibleSearch& s, const char* prefix) {
    std::vector<std::string> words;
    long b = 0, e = 0;
    if (!s.FindWordsWithPrefix(prefix, &b, &e)) return words;
    char w[kSearchWordSize];
    for (long i = b; i < e; ++i)
        if (s.GetWord(i, w)) words.push_back(w);
    return words;
}

class BibleSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        bible = WriteFixtureBible(dir, "ntb.vrsb");
        ASSERT_TRUE(bible);
    }
    TempDir dir;
    ComPtr<IBible> bible;
};

TEST_F(BibleSearchTest, PrefixListsFollowTheWordListsOrder) {
    VoBibleSearch s(bible.Get());
    ASSERT_TRUE(s.IsReady());
    using W = std::vector<std::string>;
    struct Case { const char* prefix; W words; };
    const Case cases[] = {
        {"lys", {"lys"}},
        {"ly", {"lykte", "lys"}},
        {"jord", {"jorden", "jordens"}},
        {"JORD", {"jorden", "jordens"}},
        {"s\xF8", {"S\xF8k", "S\xF8nn"}},  // as the texts write them
        {"verd", {"verden", "verdens"}},
        {"\xE5", {"\xE5nden"}},
        {"xyz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.words, WordsWithPrefix(s, c.prefix)) << c.prefix;
}

TEST_F(BibleSearchTest, EachQueryFormFindsTheVersesWorkedOutByHand) {
    VoBibleSearch s(bible.Get());
    struct Case { std::string query; int first, last; Verses hits; };
    const Case cases[] = {
        {"lys", 0, 3, {2, 4, 6, 9}},
        {JoinAlternatives({"lykte", "lys"}), 0, 3, {2, 4, 6, 9}},
        {JoinAlternatives({"jorden", "jordens"}), 0, 3, {0, 1, 6}},
        {JoinAlternatives({"jorden"}), 0, 3, {0, 1}},
        {"verdens lys", 0, 3, {6, 9}},             // a phrase
        {"lys verdens", 0, 3, {}},
        {"guds rike", 0, 3, {5}},
        {"gud & lys", 0, 3, {2}},
        {"(rike / lys) & dere", 0, 3, {6}},
        {"rik*", 0, 3, {5, 7}},
        {"s\xF8nn / \xE5nden", 0, 3, {7, 8}},
        {"lys", 2, 3, {6, 9}},                     // the New Testament
        {"lys", 0, 1, {2, 4}},                     // the Old Testament
        {"lys", 3, 3, {9}},
        {"lys", 3, 0, {}},                         // "Fra" after "Til"
        {"lys", -1, 3, {}},
        {"lys", 0, 4, {}},
        {"lys %", 0, 3, {}},                       // malformed: no hits
        {"", 0, 3, {}},
    };
    for (const Case& c : cases) {
        s.Search(c.query.c_str(), c.first, c.last);
        EXPECT_EQ(c.hits, Hits(s)) << c.query << " " << c.first << ".." << c.last;
    }
}

TEST_F(BibleSearchTest, HitsTurnIntoVerseReferencesAndTheirTexts) {
    VoBibleSearch s(bible.Get());
    ASSERT_EQ(S_OK, s.Search("verdens lys", 0, 3));
    ASSERT_EQ(2, s.GetHitCount());
    char text[kFormatRefBufferSize];
    EXPECT_STREQ("Matt 2", s.GetHitText(0, text));
    EXPECT_STREQ("Joh 2", s.GetHitText(1, text));
    EXPECT_EQ("Jeg er verdens lys.", s.GetHitVerseText(1));
    int b = -1, c = -1, v = -1;
    ASSERT_TRUE(s.Objects().SplitIndex(s.GetHitRef(0), &b, &c, &v));
    EXPECT_EQ(2, b);
    EXPECT_EQ(0, c);
    EXPECT_EQ(1, v);
    // Outside the hits: nothing, never a read past them.
    for (int i : {-1, 2, 1000}) {
        EXPECT_EQ(-1, s.GetHitVerse(i));
        EXPECT_EQ(0, s.GetHitRef(i));
        EXPECT_STREQ("", s.GetHitText(i, text));
        EXPECT_EQ("", s.GetHitVerseText(i));
    }
    s.ClearHits();
    EXPECT_EQ(0, s.GetHitCount());
}

TEST_F(BibleSearchTest, TheTestamentsComeFromAliasesThatTileTheBible) {
    EXPECT_EQ(2, VoBibleSearch(bible.Get()).FirstNewTestamentBook());
    FixtureOptions apart;
    apart.tiling = false;
    ComPtr<IBible> other = WriteFixtureBible(dir, "apart.vrsb", apart);
    EXPECT_EQ(-1, VoBibleSearch(other.Get()).FirstNewTestamentBook());
    EXPECT_EQ(-1, FindFirstNewTestamentBook(nullptr, 4));
}

TEST_F(BibleSearchTest, AnOldFormatBibleHasNothingToSearch) {
    FixtureOptions old;
    old.format = BibleFormat::kOld;
    ComPtr<IBible> oldBible = WriteFixtureBible(dir, "old.vrsb", old);
    VoBibleSearch s(oldBible.Get());
    EXPECT_FALSE(s.IsReady());
    EXPECT_EQ(4, s.BookCount());
    EXPECT_EQ(S_FALSE, s.Search("lys", 0, 3));
    EXPECT_EQ(0, s.GetHitCount());
    long b = 1, e = 1;
    EXPECT_FALSE(s.FindWordsWithPrefix("ly", &b, &e));
    std::string name = "x";
    EXPECT_FALSE(s.GetLanguageName(&name));
    VoBibleSearch none(nullptr);
    EXPECT_FALSE(none.IsReady());
    EXPECT_EQ(S_FALSE, none.Search("lys", 0, 0));
}

TEST(SearchQueryText, ASingleWordHoldsOnlyLettersDigitsHyphensAndApostrophes) {
    struct Case { const char* query; bool word; };
    const Case cases[] = {{"lys", true}, {"S\xF8nn", true}, {"co-op", true}, {"Guds'", true}, {"1", true},
                          {"", false},   {"guds rike", false}, {"lys*", false}, {"a/b", false}, {"(lys)", false}};
    for (const Case& c : cases) EXPECT_EQ(c.word, IsSingleWordQuery(c.query)) << c.query;
    EXPECT_FALSE(IsSingleWordQuery(nullptr));
    EXPECT_EQ("", JoinAlternatives({}));
    EXPECT_EQ("a/bb/ccc", JoinAlternatives({"a", "bb", "ccc"}));
}

// The KJV sample bible: the search's hits equal a plain scan of every verse text.
class KjvSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bible_ = new ComPtr<IBible>(OpenKjv());
        ASSERT_TRUE(*bible_);
        IBibleStat* stat = nullptr;
        ASSERT_EQ(S_OK, (*bible_)->GetBibleStat(&stat));
        texts_ = new std::vector<std::string>();
        char buf[4096];
        for (int v = 0; v < stat->GetVerseCount(); ++v) {
            int b = 0, c = 0, n = 0;
            stat->VerseIndexToRef(v, &b, &c, &n);
            if (FAILED((*bible_)->GetVerseText(b, c, n, FALSE, buf, sizeof buf))) buf[0] = '\0';
            texts_->push_back(buf);
        }
        stat->Release();
    }
    static void TearDownTestSuite() {
        delete texts_;
        delete bible_;
    }
    static Verses Scan(const RefQuery& q, int begin, int end) {
        Verses v;
        for (int i = begin; i < end; ++i)
            if (PlainScan((*texts_)[static_cast<size_t>(i)]).Matches(q)) v.push_back(i);
        return v;
    }
    static ComPtr<IBible>* bible_;
    static std::vector<std::string>* texts_;
};
ComPtr<IBible>* KjvSearchTest::bible_ = nullptr;
std::vector<std::string>* KjvSearchTest::texts_ = nullptr;

TEST_F(KjvSearchTest, HitsEqualAPlainScanOfTheVerses) {
    VoBibleSearch s(bible_->Get());
    ASSERT_TRUE(s.IsReady());
    ASSERT_EQ(66, s.BookCount());
    ASSERT_EQ(39, s.FirstNewTestamentBook());
    const int all = static_cast<int>(texts_->size());
    IBibleStat* stat = s.Objects().GetStat();
    const int matthew = stat->RefToVerseIndex(39, 0, 0);
    struct Case { const char* query; RefQuery ref; int first, last; };
    const Case cases[] = {
        {"kingdom of God", RPhrase({RW("kingdom"), RW("of"), RW("god")}), 0, 65},
        {"kingdom", RW("kingdom"), 0, 65},
        {"faith & hope", RAnd({RW("faith"), RW("hope")}), 0, 65},
        {"love / charity", ROr({RW("love"), RW("charity")}), 39, 65},
        {"begat*", RP("begat"), 0, 38},
        {"(holy / faithful) spirit", RPhrase({ROr({RW("holy"), RW("faithful")}), RW("spirit")}), 0, 65},
    };
    for (const Case& c : cases) {
        s.Search(c.query, c.first, c.last);
        const int begin = c.first == 0 ? 0 : matthew;
        const int end = c.last == 65 ? all : matthew;
        const Verses expect = Scan(c.ref, begin, end);
        EXPECT_FALSE(expect.empty()) << c.query;
        EXPECT_EQ(expect, Hits(s)) << c.query;
    }
}

TEST_F(KjvSearchTest, TheUnionOfAnyNumberOfSelectedWordsIsOneSearch) {
    // Every word beginning with "s", far more than a query could once name, chosen in the
    // word list and joined: the same verses as the prefix and as a plain scan.
    VoBibleSearch s(bible_->Get());
    std::vector<std::string> words = WordsWithPrefix(s, "s");
    ASSERT_GT(words.size(), 500u);
    const Verses expect = Scan(RP("s"), 0, static_cast<int>(texts_->size()));
    ASSERT_EQ(S_OK, s.Search(JoinAlternatives(words).c_str(), 0, 65));
    EXPECT_EQ(expect, Hits(s));
    // Every other one of the first 240 (beyond the 64 terms a query may hold): a union with
    // gaps in the word list.
    std::vector<std::string> some;
    std::vector<RefQuery> refs;
    for (size_t i = 0; i < words.size() && i < 240; i += 2) {
        some.push_back(words[i]);
        refs.push_back(RW(words[i]));
    }
    ASSERT_EQ(S_OK, s.Search(JoinAlternatives(some).c_str(), 0, 65));
    EXPECT_EQ(Scan(ROr(refs), 0, static_cast<int>(texts_->size())), Hits(s));
}

}  // namespace
