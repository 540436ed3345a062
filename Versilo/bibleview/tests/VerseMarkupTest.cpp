// The markup the verse layout takes apart: section titles, inline headings and hidden
// brackets, including texts that end too early.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "VerseMarkup.h"

namespace {

TEST(VerseMarkupTest, TitlesLoseTheirDotsAndMarkers) {
    struct Case {
        const char* title;
        const char* trimmed;
    };
    const Case cases[] = {
        {"..ALEPH.", "ALEPH"}, {"A Psalm of David.+", "A Psalm of David"}, {"Title++", "Title"},
        {"", ""}, {"+", ""}, {"+++", ""}, {".", ""}, {"..", ""}, {"a.", "a"},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.title, c.title + strlen(c.title) + 1);
        EXPECT_STREQ(c.trimmed, TrimTitle(buffer.data())) << c.title;
    }
}

TEST(VerseMarkupTest, InlineHeadingsAreSplitOff) {
    struct Case {
        const char* text;
        const char* heading;  // null: none
        bool strong;
        const char* rest;
    };
    const Case cases[] = {
        {"<<*The Title*>> In the beginning", "The Title", true, "In the beginning"},
        {"<<A <small> note>>  Text", "A <small", false, "Text"},
        {"<<Heading>>Text", "Heading", false, "Text"},
        {"<<Unterminated heading", "Unterminated heading", false, ""},
        {"<<", "", false, ""},
        {"<single> text", nullptr, false, "<single> text"},
        {"plain", nullptr, false, "plain"},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.text, c.text + strlen(c.text) + 1);
        char* text = buffer.data();
        bool strong = false;
        const char* heading = SplitInlineHeading(&text, &strong);
        if (!c.heading) {
            EXPECT_EQ(nullptr, heading) << c.text;
        } else {
            ASSERT_NE(nullptr, heading) << c.text;
            EXPECT_STREQ(c.heading, heading) << c.text;
            EXPECT_EQ(c.strong, strong) << c.text;
        }
        EXPECT_STREQ(c.rest, text) << c.text;
    }
}

TEST(VerseMarkupTest, EveryBracketIsHiddenAndTheStretchesKept) {
    // Texts of 63 pairs (room for one more) and of 64 (the room used up).
    std::string sixtyThree, sixtyFour;
    for (int i = 0; i < kMaxBracketPairs - 1; ++i) sixtyThree += "[x]";
    sixtyFour = sixtyThree + "[x]";
    std::vector<int> pairsOfX;
    for (int i = 0; i < kMaxBracketPairs; ++i) pairsOfX.insert(pairsOfX.end(), {i, i + 1});
    const std::vector<int> sixtyThreeX(pairsOfX.begin(), pairsOfX.end() - 2);
    auto with = [](std::vector<int> ranges, std::initializer_list<int> more) {
        ranges.insert(ranges.end(), more);
        return ranges;
    };
    const int n = kMaxBracketPairs - 1;
    const std::string x63(n, 'x'), x64(kMaxBracketPairs, 'x');
    struct Case {
        std::string text;
        std::string shown;
        std::vector<int> ranges;
    };
    const Case cases[] = {
        {"and [it was] so", "and it was so", {4, 10}},
        {"[a] b [c]", "a b c", {0, 1, 4, 5}},
        {"open [to the end", "open to the end", {5, 15}},
        {"no brackets", "no brackets", {}},
        {"a] b", "a b", {}},                    // a ']' without a '['
        {"[a [b] c]", "a b c", {0, 3}},         // a '[' inside a stretch, a ']' after it
        {"]][[a", "a", {0, 1}},                 // strays before an open stretch
        {"x [] y", "x  y", {2, 2}},             // an empty stretch
        {"[", "", {0, 0}},
        // The 64th pair may still be made after strays; past it the brackets stay.
        {sixtyThree + "]a[b", x63 + "ab", with(sixtyThreeX, {n + 1, n + 2})},
        {sixtyThree + "[a [b] c]", x63 + "a b c]", with(sixtyThreeX, {n, n + 3})},  // the 64th closes at "b]"
        {sixtyFour + "[x][x]", x64 + "[x][x]", pairsOfX},
        {sixtyFour + "] [y", x64 + "] [y", pairsOfX},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.text.begin(), c.text.end());
        buffer.push_back('\0');
        int ranges[2 * kMaxBracketPairs];
        const int pairs = HideBrackets(buffer.data(), ranges);
        EXPECT_EQ(c.shown, buffer.data()) << c.text;
        EXPECT_EQ(c.ranges, std::vector<int>(ranges, ranges + 2 * pairs)) << c.text;
    }
}

}  // namespace
