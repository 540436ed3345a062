// The "StdLang" collation tables, comparison, prefix test and word breaking.
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <vector>
#include "Collation.h"

namespace {

const Collation& C() { return Collation::Std(); }

int Cmp(const std::string& a, const std::string& b) { return C().Compare(a.c_str(), b.c_str()); }

// Letter groups as the language defines them, base letter first.
const std::vector<std::string> kGroups = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "a\xE1\xE0\xE2\xE3", "b", "c", "d", "e\xE9\xE8\xEA\xEB", "f", "g", "h", "i\xED\xEC\xEE\xEF",
    "j", "k", "l", "m", "n\xF1", "o\xF3\xF2\xF4\xF5", "p", "q", "r", "s\xDF", "t", "u\xFA\xF9\xFB",
    "v", "w", "x", "y\xFD\xFF", "z", "\xE6", "\xF8", "\xE5", "\xFC", "\xE4", "\xF6",
};

TEST(Collation, TablesOverTheWholeCodePage) {
    // Every byte of each group, and its Windows-1252 upper-case form, gets the group's
    // number and its position; everything else has no class.
    BYTE expectClass[256] = {}, expectAccent[256] = {};
    for (size_t g = 0; g < kGroups.size(); ++g)
        for (size_t j = 0; j < kGroups[g].size(); ++j) {
            BYTE c = static_cast<BYTE>(kGroups[g][j]);
            BYTE u = static_cast<BYTE>(C().Upper(static_cast<char>(c)));
            for (BYTE b : {c, u}) {
                expectClass[b] = static_cast<BYTE>(g + 1);
                expectAccent[b] = static_cast<BYTE>(j);
            }
        }
    int classed = 0;
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(expectClass[b], C().Class(static_cast<BYTE>(b))) << "byte " << b;
        EXPECT_EQ(expectAccent[b], C().Accent(static_cast<BYTE>(b))) << "byte " << b;
        classed += expectClass[b] != 0;
    }
    EXPECT_EQ(119, classed);
    // A few upper-case forms that come from the code page's case mapping.
    EXPECT_EQ(11, C().Class(0xC1));  // Á
    EXPECT_EQ(35, C().Class(0x9F));  // Ÿ, upper case of ÿ
    EXPECT_EQ(29, C().Class(0xDF));  // ß has no single upper-case form
    EXPECT_EQ(37, C().Class(0xC6));  // Æ

    // Unused bytes: numbered upwards from byte 1, skipping classed bytes and ' - blank , .
    EXPECT_EQ(131, C().UnusedCount());
    long next = 0;
    EXPECT_EQ(-1, C().UnusedIndices()[0]);
    for (int b = 1; b < 256; ++b) {
        bool reserved = b == '\'' || b == '-' || b == ' ' || b == ',' || b == '.';
        long expect = (expectClass[b] == 0 && !reserved) ? next++ : -1;
        EXPECT_EQ(expect, C().UnusedIndices()[b]) << "byte " << b;
    }
    EXPECT_EQ(0, C().UnusedIndices()[1]);
    EXPECT_EQ(-1, C().UnusedIndices()['\'']);
}

TEST(Collation, GroupsSortInOrderAndAccentsWithinTheirGroup) {
    // Each character sorts after every character of an earlier group and after the
    // earlier characters of its own group, in lower and upper case alike.
    std::vector<std::string> ordered;
    for (const std::string& g : kGroups)
        for (char c : g) ordered.push_back(std::string(1, c));
    for (size_t i = 0; i < ordered.size(); ++i) {
        std::string up(1, C().Upper(ordered[i][0]));
        EXPECT_EQ(0, Cmp(ordered[i], up)) << ordered[i];
        for (size_t j = i + 1; j < ordered.size(); ++j) {
            EXPECT_EQ(-1, Cmp(ordered[i], ordered[j])) << i << " " << j;
            EXPECT_EQ(1, Cmp(std::string(1, C().Upper(ordered[j][0])), ordered[i])) << i << " " << j;
        }
    }
}

TEST(Collation, ExamplesOfTheLanguage) {
    struct Case { const char* a; const char* b; int expect; };
    const Case cases[] = {
        {"a", "A", 0},
        {"a", "\xE1", -1},         // a < á: accent 0 against 1
        {"\xE1", "b", -1},         // á < b
        {"z", "\xE6", -1}, {"\xE6", "\xF8", -1}, {"\xF8", "\xE5", -1},
        {"\xE5", "\xFC", -1}, {"\xFC", "\xE4", -1}, {"\xE4", "\xF6", -1},
        {"9", "a", -1},            // digits before letters
        {"ab", "abc", -1},         // a used-up string is smaller
        {"coop", "co-op", -1},     // only a marker differs
        {"co-op", "coop", 1},
        {"guds", "Guds", 0},
        {"!", "?", 0},             // bytes outside the groups are equal
        {"a!b", "a?b", 0},
        {"", "", 0}, {"", "a", -1},
        {"r\xE9sum\xE9", "resume", 1},
        {"\xC6rlig", "\xE6rlig", 0},   // Ærlig = ærlig
        // A marker after the last characters outranks an earlier marker difference...
        {"a'b", "ab'", -1},
        // ...but an accent difference outranks any marker difference, wherever it stands.
        {"a'\xE1", "a\xE1", 1}, {"aa'", "a\xE1", -1}, {"a'\xE1", "aa'", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expect, Cmp(c.a, c.b)) << "'" << c.a << "' vs '" << c.b << "'";
        EXPECT_EQ(-c.expect, Cmp(c.b, c.a)) << "'" << c.b << "' vs '" << c.a << "'";
    }
}

TEST(Collation, IsAStrictWeakOrderOverRandomStrings) {
    // Strings over letters with accents, apostrophes, hyphens and unclassed bytes, short so
    // that ties and near-ties are common.
    const std::string alphabet = std::string("aA\xE1") + "bB" + "e\xE9" + "'-" + "!" + "\xE6" + "1";
    std::mt19937 rng(12345);
    std::vector<std::string> s(3000);
    for (std::string& x : s) {
        size_t n = rng() % 5;
        for (size_t i = 0; i < n; ++i) x.push_back(alphabet[rng() % alphabet.size()]);
    }
    // Antisymmetry over random pairs.
    for (int k = 0; k < 200000; ++k) {
        const std::string& a = s[rng() % s.size()];
        const std::string& b = s[rng() % s.size()];
        ASSERT_EQ(Cmp(a, b), -Cmp(b, a)) << "'" << a << "' '" << b << "'";
    }
    // A merge sort by the comparison (it stays in bounds whatever the comparison does), then every pair in sorted order must compare <= and the
    // equal ones must form contiguous runs: that holds exactly for a strict weak order.
    std::vector<std::string> sorted = s;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) { return Cmp(a, b) < 0; });
    for (size_t i = 0; i < sorted.size(); ++i)
        for (size_t j = i + 1; j < sorted.size(); ++j) {
            int r = Cmp(sorted[i], sorted[j]);
            ASSERT_LE(r, 0) << "'" << sorted[i] << "' after '" << sorted[j] << "'";
            if (r == 0 && j > i + 1) {
                ASSERT_EQ(0, Cmp(sorted[i], sorted[j - 1]));
            }
        }
    // Transitivity over random triples.
    for (int k = 0; k < 200000; ++k) {
        const std::string& a = s[rng() % s.size()];
        const std::string& b = s[rng() % s.size()];
        const std::string& c = s[rng() % s.size()];
        if (Cmp(a, b) <= 0 && Cmp(b, c) <= 0) {
            ASSERT_LE(Cmp(a, c), 0) << a << " " << b << " " << c;
        }
    }
}

TEST(Collation, PrefixTestComparesLetterGroupsOnly) {
    struct Case { const char* super; const char* prefix; bool expect; };
    const Case cases[] = {
        {"Abraham", "abr", true}, {"Ab", "Abc", false}, {"abc", "abc", true},
        {"\xE1" "bc", "ab", true},   // accents are ignored
        {"co-op", "coo", true},      // markers too
        {"coop", "co-o", true},
        {"abc", "abd", false}, {"x", "y", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expect, C().IsPrefixedBy(c.super, c.prefix)) << c.super << " " << c.prefix;
}

TEST(Collation, NextWord) {
    struct Case { const char* text; bool found; long begin, end; };
    const Case cases[] = {
        {"  (Guds-) ord", true, 3, 7},   // the trailing hyphen is dropped
        {"!?", false, 2, 2},
        {"", false, 0, 0},
        {"co-op.", true, 0, 5},
        {"Herrens' hus", true, 0, 7},
        {"-'-abc--", true, 3, 6},        // leading apostrophes and hyphens are skipped
        {"12, 13", true, 0, 2},
        {"\xE6rlig", true, 0, 5},
    };
    for (const Case& c : cases) {
        long b = -1, e = -1;
        EXPECT_EQ(c.found, C().NextWord(c.text, &b, &e)) << c.text;
        EXPECT_EQ(c.begin, b) << c.text;
        EXPECT_EQ(c.end, e) << c.text;
    }
}

}  // namespace
