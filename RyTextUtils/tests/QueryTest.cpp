// IRyTextTab::Find: the query language on Norwegian texts, its errors and limits, and its
// answers against a plain scan of the decoded texts of a generated corpus.
#include <gtest/gtest.h>
#include <random>
#include <thread>
#include "QueryReference.h"
#include "TextTabHelpers.h"

namespace {

const std::vector<std::string> kTexts = {
    "Gud sa: Det bli lys! Og det ble lys.",                                  // 0
    "Og Gud skilte lyset fra m\xF8rket.",                                     // 1
    "Lys og m\xF8rke er like for deg.",                                       // 2
    "S\xF8k f\xF8rst Guds rike og hans rettferdighet.",                       // 3
    "Guds rike er n\xE6r.",                                                   // 4
    "Det er lettere for en kamel enn for en rik \xE5 komme inn i Guds rike.", // 5
    "Guds. Rike folk.",                                                       // 6
    "Han var rik, men ikke rikere enn rikdommen.",                            // 7
    "I m\xF8rke skal lys skinne.",                                            // 8
};

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Loaded());
        ASSERT_EQ(S_OK, LoadTable(server, BuildTable(kTexts), &tab));
    }
    ComScope com;
    RyServer server;
    ComPtr<IRyTextTab> tab;
};

TEST_F(QueryTest, WordsAlternativesPhrasesAndPrefixes) {
    using V = std::vector<long>;
    struct Case { const char* query; V expect; };
    const Case cases[] = {
        {"lys & m\xF8rke", {2, 8}},
        {"lys m\xF8rke", {}},                       // a phrase, and they never stand so
        {"lys / m\xF8rke", {0, 2, 8}},
        {"guds rike", {3, 4, 5}},                   // not 6: a full stop stands between
        {"GUDS   RIKE", {3, 4, 5}},
        {"rik*", {3, 4, 5, 6, 7}},
        {"kamel", {5}},
        {"m\xF8rke skal lys", {8}},                 // three words
        {"(guds / hans) rike", {3, 4, 5}},
        {"rike (og / er)", {3, 4}},
        {"gud & (lys / m\xF8rket)", {0, 1}},
        {"gud lys* / kamel", {}},                   // "/" binds tighter: gud (lys* / kamel)
        {"gud (lys* / kamel)", {}},
        {"ble lys", {0}},
        {"lys & m\xF8rke & skinne", {8}},
        {"lys (& m\xF8rke)", {}},                   // not a phrase member: the group holds no phrase
        {"elefant", {}},
        {"elefant / kamel", {5}},
        {"elefant & kamel", {}},
        {"((guds)) rike", {3, 4, 5}},
    };
    for (const Case& c : cases) {
        HRESULT hr = E_UNEXPECTED;
        V got = FindTexts(tab.Get(), c.query, 0, -1, &hr);
        if (std::string(c.query) == "lys (& m\xF8rke)") {
            EXPECT_EQ(E_FAIL, hr);
            continue;
        }
        EXPECT_EQ(c.expect.empty() ? S_FALSE : S_OK, hr) << c.query;
        EXPECT_EQ(c.expect, got) << c.query;
    }
}

TEST_F(QueryTest, RangeOfTexts) {
    using V = std::vector<long>;
    EXPECT_EQ((V{4, 5}), FindTexts(tab.Get(), "guds rike", 4, 6));
    EXPECT_EQ((V{3}), FindTexts(tab.Get(), "guds rike", 0, 4));
    HRESULT hr = S_OK;
    EXPECT_EQ(V{}, FindTexts(tab.Get(), "guds rike", 9, -1, &hr));
    EXPECT_EQ(S_FALSE, hr);
    EXPECT_EQ(V{}, FindTexts(tab.Get(), "guds rike", 5, 5, &hr));
    EXPECT_EQ(S_FALSE, hr);
    for (auto range : {std::make_pair(10L, -1L), std::make_pair(-1L, -1L), std::make_pair(0L, 10L),
                       std::make_pair(0L, -2L)}) {
        FindTexts(tab.Get(), "lys", range.first, range.second, &hr);
        EXPECT_EQ(E_INVALIDARG, hr) << range.first << " " << range.second;
    }
}

TEST_F(QueryTest, MalformedQueriesFail) {
    const std::string longWord(128, 'a');
    const std::string deep = std::string(40, '(') + "lys" + std::string(40, ')');
    std::string many;  // 65 terms that each need a scan of their own
    for (int i = 0; i < 64; ++i) many += "lys & ";
    many += "lys";
    std::string huge(200000, '(');
    const std::string failing[] = {"lys %", "(lys", "lys)", ")", "& lys", "lys &", "lys / ", "/ lys", "lys & & gud",
                                   "(lys & m\xF8rke) skal", "gud (lys & m\xF8rke)", "*", "lys**", "guds-", "a,b",
                                   "lys\x01", longWord, deep, many, huge, "()", "lys ( )"};
    for (const std::string& q : failing) {
        HRESULT hr = S_OK;
        std::vector<long> got = FindTexts(tab.Get(), q.c_str(), 0, -1, &hr);
        EXPECT_EQ(E_FAIL, hr) << q.substr(0, 40);
        EXPECT_TRUE(got.empty());
    }
    // Limits that still pass: a 127-byte word, 64 terms, 32 levels, and any number of words
    // joined by "/" (one term over their union).
    HRESULT hr = E_FAIL;
    FindTexts(tab.Get(), std::string(127, 'a').c_str(), 0, -1, &hr);
    EXPECT_EQ(S_FALSE, hr);
    std::string sixtyFour;
    for (int i = 0; i < 63; ++i) sixtyFour += "kamel & ";
    sixtyFour += "kamel";
    EXPECT_EQ((std::vector<long>{5}), FindTexts(tab.Get(), sixtyFour.c_str()));
    std::string union500;
    for (int i = 0; i < 500; ++i) union500 += i % 100 == 7 ? "kamel / " : "elefant / ";
    union500 += "m\xF8rket";
    EXPECT_EQ((std::vector<long>{1, 5}), FindTexts(tab.Get(), union500.c_str()));
    EXPECT_EQ((std::vector<long>{3, 5}), FindTexts(tab.Get(), ("(" + union500 + " / hans / en) (rik / rettferdighet)").c_str()));
    std::string nested = std::string(32, '(') + "kamel" + std::string(32, ')');
    EXPECT_EQ((std::vector<long>{5}), FindTexts(tab.Get(), nested.c_str()));

    // No words at all: S_OK with nothing found.
    long n = -1;
    long* idx = reinterpret_cast<long*>(1);
    EXPECT_EQ(S_OK, tab->Find(0, -1, const_cast<LPSTR>(" \t\r\n"), &n, &idx));
    EXPECT_EQ(0, n);
    EXPECT_EQ(nullptr, idx);
    EXPECT_EQ(E_INVALIDARG, tab->Find(0, -1, const_cast<LPSTR>(""), &n, &idx));
    EXPECT_EQ(E_INVALIDARG, tab->Find(0, -1, nullptr, &n, &idx));
    EXPECT_EQ(E_POINTER, tab->Find(0, -1, const_cast<LPSTR>("lys"), nullptr, &idx));
    EXPECT_EQ(E_POINTER, tab->Find(0, -1, const_cast<LPSTR>("lys"), &n, nullptr));
}

TEST_F(QueryTest, QueriesOfAnyContentAnswerCleanly) {
    // Random mixes of words, operators, stars, blanks and arbitrary bytes.
    const std::string pieces[] = {"lys", "m\xF8rke", "guds", "rike", "rik", "*", "&", "/", "(", ")", " ", "  ", "\t",
                                  "%", "\x01", "\xFF", "-", "'", "x", "\xE6\xF8\xE5"};
    std::mt19937 rng(4242);
    for (int k = 0; k < 3000; ++k) {
        std::string q;
        size_t n = 1 + rng() % 12;
        for (size_t i = 0; i < n; ++i) q += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        HRESULT hr = E_UNEXPECTED;
        std::vector<long> got = FindTexts(tab.Get(), q.c_str(), 0, -1, &hr);
        ASSERT_TRUE(hr == S_OK || hr == S_FALSE || hr == E_FAIL) << q << " " << hr;
        for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_TRUE(got[i] >= 0 && got[i] < 9) << q;
            if (i) {
                ASSERT_LT(got[i - 1], got[i]) << q;
            }
        }
    }
}

TEST_F(QueryTest, OneTableServesSeveralThreadsAtOnce) {
    const char* queries[] = {"lys & m\xF8rke", "guds rike", "rik*", "(guds / hans) rike", "kamel"};
    std::vector<std::vector<long>> expect;
    for (const char* q : queries) expect.push_back(FindTexts(tab.Get(), q));
    std::vector<std::string> texts;
    for (long i = 0; i < 9; ++i) texts.push_back(ReadText(tab.Get(), i));
    IRyTextTab* shared = tab.Get();
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            for (int round = 0; round < 300; ++round) {
                size_t q = static_cast<size_t>(round + t) % 5;
                long n = 0;
                long* idx = nullptr;
                if (shared->Find(0, -1, const_cast<LPSTR>(queries[q]), &n, &idx) != S_OK ||
                    std::vector<long>(idx, idx + n) != expect[q])
                    ++failures[static_cast<size_t>(t)];
                CoTaskMemFree(idx);
                long i = round % 9;
                char buf[256];
                if (shared->get_Text(i, sizeof buf, buf) != S_OK || texts[static_cast<size_t>(i)] != buf)
                    ++failures[static_cast<size_t>(t)];
            }
            CoUninitialize();
        });
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(std::vector<int>(4, 0), failures);
}

// Sentences over a small vocabulary, so that words, phrases and sentence breaks repeat.
std::vector<std::string> GeneratedCorpus(unsigned seed, size_t count) {
    const char* vocab[] = {"og", "det", "var", "Gud", "lys", "m\xF8rke", "rike", "riket", "rikdom", "guds",
                           "HERREN", "herrens", "s\xF8nn", "s\xF8nner", "fader", "\xE5nd", "\xC5nden", "jord",
                           "himmel", "vann", "levende", "ord", "Ordet", "i", "av", "til", "co-op", "Guds'",
                           "hellig", "hellige", "konge", "David", "Salomo", "kong", "tro", "gjerninger"};
    const char* gaps[] = {" ", " ", " ", " ", ", ", ". ", "; ", ": ", "! ", " (", ") ", " \xAB", "\xBB "};
    std::mt19937 rng(seed);
    std::vector<std::string> texts;
    for (size_t i = 0; i < count; ++i) {
        std::string t;
        size_t n = 1 + rng() % 14;
        for (size_t k = 0; k < n; ++k) {
            if (k) t += gaps[rng() % (sizeof gaps / sizeof gaps[0])];
            t += vocab[rng() % (sizeof vocab / sizeof vocab[0])];
        }
        if (rng() % 3) t += ".";
        texts.push_back(t);
    }
    return texts;
}

TEST(QueryScan, FindEqualsAPlainScanOfTheDecodedTexts) {
    ComScope com;
    RyServer server;
    ASSERT_TRUE(server.Loaded());
    const std::vector<std::string> texts = GeneratedCorpus(2024, 3000);
    ComPtr<IRyTextTab> tab;
    ASSERT_EQ(S_OK, LoadTable(server, BuildTable(texts), &tab));
    struct Case { const char* query; RefQuery ref; };
    const Case cases[] = {
        {"og", RW("og")},
        {"herren", RW("herren")},
        {"\xE5nden", RW("\xE5nden")},
        {"co-op", RW("co-op")},
        {"rik*", RP("rik")},
        {"s\xF8nn*", RP("s\xF8nn")},
        {"lys & m\xF8rke", RAnd({RW("lys"), RW("m\xF8rke")})},
        {"lys / m\xF8rke", ROr({RW("lys"), RW("m\xF8rke")})},
        {"levende vann", RPhrase({RW("levende"), RW("vann")})},
        {"herrens s\xF8nn av", RPhrase({RW("herrens"), RW("s\xF8nn"), RW("av")})},
        {"(david / salomo) konge", RPhrase({ROr({RW("david"), RW("salomo")}), RW("konge")})},
        {"tro & gjerninger & hellig*", RAnd({RW("tro"), RW("gjerninger"), RP("hellig")})},
        {"og det & (gud / guds)", RAnd({RPhrase({RW("og"), RW("det")}), ROr({RW("gud"), RW("guds")})})},
        {"(jord / himmel) og", RPhrase({ROr({RW("jord"), RW("himmel")}), RW("og")})},
        {"(det / var) og", RPhrase({ROr({RW("det"), RW("var")}), RW("og")})},
        {"(og det)", RPhrase({RW("og"), RW("det")})},
        {"ord* / vann lys", RPhrase({ROr({RP("ord"), RW("vann")}), RW("lys")})},  // "/" binds tighter
        // Unions of words apart from each other in the word list, alone, in a phrase and with
        // a prefix: one term over several runs of words.
        {"og / vann / rike / jord / konge / tro", ROr({RW("og"), RW("vann"), RW("rike"), RW("jord"), RW("konge"), RW("tro")})},
        {"(konge / herrens / vann) (s\xF8nn / og)",
         RPhrase({ROr({RW("konge"), RW("herrens"), RW("vann")}), ROr({RW("s\xF8nn"), RW("og")})})},
        {"s\xF8nn* / rike / elefant", ROr({RP("s\xF8nn"), RW("rike"), RW("elefant")})},
        {"(s\xF8nner / fader) & (lys / jord)", RAnd({ROr({RW("s\xF8nner"), RW("fader")}), ROr({RW("lys"), RW("jord")})})},
    };
    for (const Case& c : cases) {
        std::vector<long> expect;
        for (size_t i = 0; i < texts.size(); ++i)
            if (PlainScan(ReadText(tab.Get(), static_cast<long>(i))).Matches(c.ref)) expect.push_back(static_cast<long>(i));
        EXPECT_FALSE(expect.empty()) << c.query;  // the corpus exercises every case
        EXPECT_EQ(expect, FindTexts(tab.Get(), c.query)) << c.query;
    }
}

}  // namespace
