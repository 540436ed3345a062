// The text of a reference's verses: joined by one blank, white space collapsed, never
// written past the caller's buffer, and cut after a whole verse with " ..." when asked.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "BibleObjects.h"
#include "SmallBibles.h"

namespace {

std::string Collapsed(std::string text) {
    text.push_back('\0');
    CollapseSpaces(&text[0]);
    return text.c_str();
}

class RangeTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        bible = OpenSmallBible(dir);
        ASSERT_TRUE(bible);
        ASSERT_TRUE(objects.Attach(bible.Get()));
    }
    int Verse(int b, int c, int v) { return objects.MakeIndex(b, c, v); }
    int Range(int b0, int c0, int v0, int b1, int c1, int v1) {
        int ref = objects.MakeIndex(b0, c0, v0);
        EXPECT_EQ(S_OK, objects.GetIndexer()->ExtendRef(&ref, b1, c1, v1));
        return ref;
    }
    // GetRangeText into a buffer of size bytes inside a larger one whose bytes past size
    // must stay untouched; returns the text and the result.
    std::string Text(int ref, int size, bool cut, int* result) {
        std::vector<char> guard(static_cast<size_t>(size) + 64, '#');
        *result = objects.GetRangeText(ref, guard.data(), size, cut);
        for (size_t i = static_cast<size_t>(size < 0 ? 0 : size); i < guard.size(); ++i)
            EXPECT_EQ('#', guard[i]) << "written past a buffer of " << size << " at " << i;
        if (size <= 0) return std::string();
        EXPECT_NE(nullptr, std::memchr(guard.data(), 0, static_cast<size_t>(size))) << "unterminated at " << size;
        return std::string(guard.data());
    }

    TempDir dir;
    ComPtr<INewBible> bible;
    VoBibleObjects objects;
};

}  // namespace

TEST(CollapseSpacesTest, OneBlankBetweenWordsAndNoneAtTheEnds) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  a \t\r\n b  ", "a b"},
        {"", ""},
        {" \t\r\n ", ""},
        {"ord", "ord"},
        // Letters of the upper half are never white space, whatever their sign as a char.
        {"\t\xE6rlig  \xF8ye\r\n\xE5r \xC6\xD8\xC5 ", "\xE6rlig \xF8ye \xE5r \xC6\xD8\xC5"},
        // A non-breaking space is a character of the text, not white space.
        {"a\xA0\xA0" "b \xA0", "a\xA0\xA0" "b \xA0"},
        {"\xA0 x", "\xA0 x"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, Collapsed(c.in)) << c.in;
}

TEST(AppendBoundedTest, CopiesAtMostWhatFitsAndCountsAMeasureWhole) {
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    char* out = buffer;
    int total = 0, remaining = 5;
    AppendBounded(&out, "abc", &total, &remaining);
    EXPECT_EQ(3, total);
    EXPECT_EQ(2, remaining);
    AppendBounded(&out, "defg", &total, &remaining);  // one more fits with the NUL
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(4, total);
    EXPECT_EQ(1, remaining);
    for (int r : {1, 0, -3}) {
        remaining = r;
        AppendBounded(&out, "xyz", &total, &remaining);
        EXPECT_EQ(4, total) << r;
        EXPECT_EQ(r, remaining);
    }
    EXPECT_EQ('#', buffer[5]);
    char* none = nullptr;
    total = 0;
    remaining = 0;
    AppendBounded(&none, "measured", &total, &remaining);
    EXPECT_EQ(8, total);
}

TEST_F(RangeTextTest, JoinsVersesWithOneBlank) {
    const struct {
        int ref;
        const char* text;
    } cases[] = {
        {Verse(0, 0, 0), "Vers 0."},
        {Range(0, 0, 2, 0, 1, 0), "Vers 2. Vers 3."},
        {objects.MakeIndex(2, 1, -1), "Vers 14. Vers 15."},
        {objects.MakeIndex(1, -1, -1), "Vers 7. Vers 8. Vers 9. Vers 10. Vers 11."},
    };
    for (const auto& c : cases) {
        for (bool cut : {false, true}) {
            int result = 0;
            EXPECT_EQ(c.text, Text(c.ref, 100, cut, &result)) << cut;
            EXPECT_EQ(static_cast<int>(std::strlen(c.text)), result);
            // A measuring call counts every verse and blank.
            if (!cut) {
                EXPECT_EQ(result, objects.GetRangeText(c.ref, nullptr, 0, false));
            }
        }
    }
    // The whole bible measures as the join of its 18 verses.
    std::string all;
    for (int v = 0; v < 18; ++v) all += (v ? " Vers " : "Vers ") + std::to_string(v) + ".";
    EXPECT_EQ(static_cast<int>(all.size()), objects.GetRangeText(1, nullptr, 0, false));
    EXPECT_EQ(static_cast<int>(all.size()), objects.GetRangeText(1, nullptr, 5, false));
}

TEST_F(RangeTextTest, WithoutCutAShortBufferHoldsThePrefixThatFits) {
    const std::string full = "Vers 2. Vers 3. Vers 4.";
    int ref = Range(0, 0, 2, 0, 1, 1);
    for (int size = -2; size <= static_cast<int>(full.size()) + 2; ++size) {
        int result = -1;
        std::string got = Text(ref, size, false, &result);
        int expected = size <= 0 ? 0 : std::min<int>(size - 1, static_cast<int>(full.size()));
        EXPECT_EQ(full.substr(0, static_cast<size_t>(expected)), got) << size;
        EXPECT_EQ(expected, result) << size;
    }
}

TEST_F(RangeTextTest, CutEndsAfterAWholeVerseAtEveryLength) {
    // "Vers 2." (7) + " Vers 3." (8) + " Vers 4." (8) = 23 characters.
    const std::string full = "Vers 2. Vers 3. Vers 4.";
    int ref = Range(0, 0, 2, 0, 1, 1);
    for (int size = -1; size <= static_cast<int>(full.size()) + 3; ++size) {
        int result = -1;
        std::string got = Text(ref, size, true, &result);
        std::string expected;
        if (size <= 0) expected = "";
        else if (size > static_cast<int>(full.size())) expected = full;
        else if (size >= 15 + 5) expected = "Vers 2. Vers 3. ...";  // two verses and the marker
        else if (size >= 7 + 5) expected = "Vers 2. ...";
        else expected = std::string(" ...").substr(0, static_cast<size_t>(std::min(size - 1, 4)));
        EXPECT_EQ(expected, got) << "size " << size;
        EXPECT_EQ(static_cast<int>(expected.size()), result) << "size " << size;
        // A measuring call with the same size counts the same text.
        EXPECT_EQ(result, objects.GetRangeText(ref, nullptr, size, true)) << "size " << size;
    }
}

TEST_F(RangeTextTest, CutTakesBackAsManyVersesAsTheMarkerNeeds) {
    // Short verses: the marker needs more room than the last verse gave back.
    TempDir other;
    ComPtr<INewBible> shortVerses = WriteAndOpen(other, "short.vrsb", [](int v) { return v < 3 ? "abcdefgh" : "x"; });
    ASSERT_TRUE(shortVerses);
    VoBibleObjects objs(shortVerses.Get());
    ASSERT_FALSE(objs.IsEmpty());
    int ref = objs.MakeIndex(0, -1, -1);  // "abcdefgh abcdefgh abcdefgh x x x x"
    char buffer[24];
    std::memset(buffer, '#', sizeof(buffer));
    // 20 bytes: three 8-letter verses need 26; "abcdefgh abcdefgh" (17) leaves 3, and
    // taking back " abcdefgh" leaves room for the marker.
    EXPECT_EQ(12, objs.GetRangeText(ref, buffer, 20, true));
    EXPECT_STREQ("abcdefgh ...", buffer);
    EXPECT_EQ('#', buffer[20]);
    // 28 bytes: "... abcdefgh x" (28 with NUL? 26+2=28) leaves 1 after the x; taking back " x"
    // leaves 3, still short, so the third verse goes as well.
    std::memset(buffer, '#', sizeof(buffer));
    char big[40];
    std::memset(big, '#', sizeof(big));
    EXPECT_EQ(21, objs.GetRangeText(ref, big, 29, true));
    EXPECT_STREQ("abcdefgh abcdefgh ...", big);
    EXPECT_EQ('#', big[29]);
}

TEST_F(RangeTextTest, WhiteSpaceInVersesIsCollapsed) {
    TempDir other;
    ComPtr<INewBible> spaced = WriteAndOpen(other, "spaced.vrsb", [](int v) {
        return v == 0 ? std::string("  \xC6rlig  \t og\r\n rett ") : std::string("s\xE5 \xF8ye\xA0") + "ser.";
    });
    ASSERT_TRUE(spaced);
    VoBibleObjects objs(spaced.Get());
    int ref = objs.MakeIndex(0, 0, -1);
    char text[128];
    std::string expected = "\xC6rlig og rett s\xE5 \xF8ye\xA0ser. s\xE5 \xF8ye\xA0ser.";
    EXPECT_EQ(static_cast<int>(expected.size()), objs.GetRangeText(ref, text, sizeof(text), false));
    EXPECT_EQ(expected, std::string(text));
    EXPECT_EQ(static_cast<int>(expected.size()), objs.GetRangeText(ref, nullptr, 0, false));
}
