// The word wrapper over fixed advances: where lines break, how they are justified and
// indented, what a block measures, and that a line too narrow for any character still
// moves on.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "WordWrap.h"

namespace {

// Letters 10 pixels, blanks 4, tabs 6; lines 12 pixels tall.
class FixedAdvances : public AVoAdvanceSource {
public:
    int GetAdvances(const char* text, int count, int maxWidth, int* advances) override {
        ++calls;
        longest = count > longest ? count : longest;
        int fit = -1;
        int width = 0;
        for (int i = 0; i < count; ++i) {
            advances[i] = text[i] == ' ' ? 4 : text[i] == '\t' ? 6 : 10;
            width += advances[i];
            if (fit < 0 && width > maxWidth) fit = i;
        }
        return fit < 0 ? count : fit;
    }
    int GetLineHeight() override { return 12; }
    int calls = 0;
    int longest = 0;
};

struct Line {
    std::string text;
    int width;
    bool operator==(const Line& o) const { return text == o.text && width == o.width; }
};
std::ostream& operator<<(std::ostream& os, const Line& l) { return os << "{\"" << l.text << "\", " << l.width << "}"; }

// Every line of one paragraph at maxWidth.
std::vector<Line> Lines(const char* text, int maxWidth, bool justify = false) {
    FixedAdvances source;
    const char* p = text;
    int left = static_cast<int>(strlen(text));
    std::vector<Line> lines;
    int advances[kMaxLineFit + 1];
    while (left > 0 && lines.size() < 100) {
        const char* start = p;
        int count = 0;
        const SIZE size = FitLine(&source, &p, &left, maxWidth, justify, advances, &count);
        EXPECT_EQ(12, size.cy);
        EXPECT_GE(count, 1) << "a line takes at least one character";
        lines.push_back({std::string(start, static_cast<size_t>(count)), static_cast<int>(size.cx)});
    }
    return lines;
}

TEST(WordWrapTest, LinesBreakAtBlanksAndLongWordsAreCutHard) {
    struct Case {
        const char* text;
        int width;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"aaa bbb ccc", 70, {{"aaa bbb", 64}, {"ccc", 30}}},
        {"aaa bbb ccc", 98, {{"aaa bbb ccc", 98}}},
        {"abcdefghij", 35, {{"abc", 30}, {"def", 30}, {"ghi", 30}, {"j", 10}}},
        {"ab cdefghij", 45, {{"ab", 20}, {"cdef", 40}, {"ghij", 40}}},
        {" ab", 100, {{" ab", 20}}},
        {"a\tb c", 26, {{"a\tb", 26}, {"c", 10}}},
        // Narrower than any character: one character per line, never none.
        {"ab c", 0, {{"a", 10}, {"b", 10}, {"c", 10}}},
        {"ab c", -40, {{"a", 10}, {"b", 10}, {"c", 10}}},
        {"  x", 5, {{"  ", 4}, {"x", 10}}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lines, Lines(c.text, c.width)) << c.text << " in " << c.width;
}

TEST(WordWrapTest, JustifiedLinesAreStretchedOverTheirBlanks) {
    FixedAdvances source;
    const char* text = "a b c d";
    const char* p = text;
    int left = 7;
    int advances[kMaxLineFit + 1] = {};
    int count = 0;
    // "a b c" is 38 wide: three pixels over two blanks, the first gets two.
    const SIZE size = FitLine(&source, &p, &left, 41, true, advances, &count);
    EXPECT_EQ(5, count);
    EXPECT_EQ(41, size.cx);
    EXPECT_EQ((std::vector<int>{10, 6, 10, 5, 10}), std::vector<int>(advances, advances + 5));
    EXPECT_STREQ("d", p);
    EXPECT_EQ(1, left);

    struct Case {
        const char* text;
        int width;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"a b c d", 41, {{"a b c", 41}, {"d", 10}}},  // the last line stays ragged
        {"abcdefgh ij", 85, {{"abcdefgh", 80}, {"ij", 20}}},  // one word: nothing to stretch
        {"aa bb", 100, {{"aa bb", 44}}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lines, Lines(c.text, c.width, true)) << c.text;
}

TEST(WordWrapTest, JustifyGivesTheRestToTheNarrowestBlanks) {
    // Blanks of 4, 2 and 4: five pixels: one each, then the narrowest (the second) twice.
    int advances[] = {10, 4, 10, 2, 10, 4, 10};
    EXPECT_TRUE(JustifyLine("a b c d", 7, advances, 5));
    EXPECT_EQ((std::vector<int>{10, 5, 10, 5, 10, 5, 10}), std::vector<int>(advances, advances + 7));
    // Tabs are not stretched; no blank, nothing to do.
    int tabbed[] = {10, 6, 10};
    EXPECT_FALSE(JustifyLine("a\tb", 3, tabbed, 5));
    EXPECT_EQ(6, tabbed[1]);
}

TEST(WordWrapTest, AtMostALineOfCharactersIsMeasuredPerLine) {
    FixedAdvances source;
    const std::string text(2000, 'x');
    const char* p = text.c_str();
    int left = 2000;
    int count = 0;
    FitLine(&source, &p, &left, 100, false, nullptr, &count);
    EXPECT_EQ(10, count);
    EXPECT_EQ(kMaxLineFit, source.longest);
}

TEST(WordWrapTest, BlocksMeasureTheirLinesIndentsAndEnds) {
    struct Case {
        const char* text;
        int width;
        int numberIndent, numberHeight, tabWidth;
        SIZE size;
    };
    const Case cases[] = {
        {"aaa bbb ccc", 70, 0, 0, 0, {30, 24}},
        {"", 70, 0, 0, 0, {0, 12}},
        {"abc\r\n", 70, 0, 0, 0, {0, 24}},
        {"\r\n", 70, 0, 0, 0, {0, 24}},
        {"aa\r\nbb", 70, 0, 0, 0, {20, 24}},
        {"aa\n\nbb", 70, 0, 0, 0, {20, 36}},
        // The number's room on the first line only.
        {"aaa bbb ccc", 70, 15, 1, 0, {64, 24}},
        // Number room over two lines.
        {"aaa bbb ccc", 70, 15, 13, 0, {30, 36}},
        // A tab-indented paragraph: its first line by the tab width, the next by 3/2 of it.
        {"\taaa bbb", 60, 0, 0, 20, {60, 24}},
        // A blank indents the first line without marking the paragraph.
        {" aaa bbb", 60, 0, 0, 20, {30, 24}},
        // Narrower than a character: one per line, and the block ends.
        {"abc def", 0, 0, 0, 0, {10, 72}},
        {"abc def", -10, 0, 0, 0, {10, 72}},
    };
    for (const Case& c : cases) {
        FixedAdvances source;
        VoTextBlock block;
        block.text = c.text;
        block.width = c.width;
        block.numberIndent = c.numberIndent;
        block.numberHeight = c.numberHeight;
        block.tabWidth = c.tabWidth;
        block.justify = true;
        const SIZE size = MeasureTextBlock(&source, block);
        EXPECT_EQ(c.size.cx, size.cx) << c.text;
        EXPECT_EQ(c.size.cy, size.cy) << c.text;
    }
}

}  // namespace
