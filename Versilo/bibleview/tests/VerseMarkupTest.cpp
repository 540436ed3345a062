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

TEST(VerseMarkupTest, BracketsAreHiddenAndTheirStretchesKept) {
    struct Case {
        const char* text;
        const char* shown;
        std::vector<int> ranges;
    };
    const Case cases[] = {
        {"and [it was] so", "and it was so", {4, 10}},
        {"[a] b [c]", "a b c", {0, 1, 4, 5}},
        {"open [to the end", "open to the end", {5, 15}},
        {"no brackets", "no brackets", {}},
        {"a] b", "a] b", {}},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(c.text, c.text + strlen(c.text) + 1);
        int ranges[2 * kMaxBracketPairs];
        const int pairs = HideBrackets(buffer.data(), ranges);
        EXPECT_STREQ(c.shown, buffer.data());
        EXPECT_EQ(c.ranges, std::vector<int>(ranges, ranges + 2 * pairs)) << c.text;
    }
    // Past the 64th pair, brackets stay in the text.
    std::string many;
    for (int i = 0; i < kMaxBracketPairs + 2; ++i) many += "[x]";
    std::vector<char> buffer(many.begin(), many.end());
    buffer.push_back('\0');
    int ranges[2 * kMaxBracketPairs];
    EXPECT_EQ(kMaxBracketPairs, HideBrackets(buffer.data(), ranges));
    EXPECT_EQ(std::string(kMaxBracketPairs, 'x') + "[x][x]", buffer.data());
}

}  // namespace
