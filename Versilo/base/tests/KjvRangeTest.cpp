// The holder over the KJV sample bible of the build: every kind of reference as a linear
// verse range, and verse, chapter and book texts. Skipped when the build made no KJV.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BibleObjects.h"
#include "TestFiles.h"
#include "VoUtil.h"

namespace {

class KjvRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = WinePath(VERSILO_KJV_BIBLE);
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no KJV sample bible";
        ASSERT_EQ(S_OK, OpenNewBibleFile(path.c_str(), bible.Put()));
        ASSERT_TRUE(objects.Attach(bible.Get()));
    }
    int Index(int b, int c, int v) { return objects.GetStat()->RefToVerseIndex(b, c, v); }
    int Range(int b0, int c0, int v0, int b1, int c1, int v1) {
        int ref = objects.MakeIndex(b0, c0, v0);
        EXPECT_EQ(S_OK, objects.GetIndexer()->ExtendRef(&ref, b1, c1, v1));
        return ref;
    }

    ComPtr<INewBible> bible;
    VoBibleObjects objects;
};

constexpr int kGenesis = 0, kPsalms = 18, kRevelation = 65;

}  // namespace

TEST_F(KjvRangeTest, EveryKindOfReferenceSpansItsVerses) {
    const int psalm119 = Index(kPsalms, 118, 0);
    const struct {
        const char* what;
        int ref, first, end;
    } cases[] = {
        {"whole bible", 1, 0, 31102},
        {"Genesis", objects.MakeIndex(kGenesis, -1, -1), 0, 1533},
        {"Revelation", objects.MakeIndex(kRevelation, -1, -1), Index(kRevelation, 0, 0), 31102},
        {"Genesis 1", objects.MakeIndex(kGenesis, 0, -1), 0, 31},
        {"Psalm 119", objects.MakeIndex(kPsalms, 118, -1), psalm119, psalm119 + 176},
        {"Revelation 22:21", objects.MakeIndex(kRevelation, 21, 20), 31101, 31102},
        {"Genesis 1:1-2:3", Range(kGenesis, 0, 0, kGenesis, 1, 2), 0, 34},
        {"Genesis 50 - Exodus 1", Range(kGenesis, 49, -1, 1, 0, -1), Index(kGenesis, 49, 0), Index(1, 1, 0)},
        {"Genesis - Exodus", Range(kGenesis, -1, -1, 1, -1, -1), 0, Index(2, 0, 0)},
        // Psalm 119:1 ff ends before the heading of verse 9.
        {"Psalm 119:1 ff", (objects.MakeIndex(kPsalms, 118, 0) & 0x7FFF) | kRefRangeFlag, psalm119, psalm119 + 8},
    };
    for (const auto& c : cases) {
        int first = -1, end = -1;
        EXPECT_TRUE(objects.GetVerseRange(c.ref, &first, &end)) << c.what;
        EXPECT_EQ(c.first, first) << c.what;
        EXPECT_EQ(c.end, end) << c.what;
    }
}

TEST_F(KjvRangeTest, TextsOfAVerseAChapterAndABook) {
    char verse[256];
    EXPECT_EQ(54, objects.GetRangeText(objects.MakeIndex(kGenesis, 0, 0), verse, sizeof(verse), false));
    EXPECT_STREQ("In the beginning God created the heaven and the earth.", verse);

    for (int ref : {objects.MakeIndex(kPsalms, 118, -1), objects.MakeIndex(kGenesis, -1, -1)}) {
        int length = objects.GetRangeText(ref, nullptr, 0, false);
        std::vector<char> text(static_cast<size_t>(length) + 1, '#');
        EXPECT_EQ(length, objects.GetRangeText(ref, text.data(), length + 1, false));
        EXPECT_EQ(static_cast<size_t>(length), std::string(text.data()).size());
        EXPECT_EQ(std::string::npos, std::string(text.data()).find("  "));
        // One byte short: the last character goes, nothing is written past the buffer.
        std::fill(text.begin(), text.end(), '#');
        EXPECT_EQ(length - 1, objects.GetRangeText(ref, text.data(), length, false));
        EXPECT_EQ('#', text[static_cast<size_t>(length)]);
        // Cut to 200 bytes: whole verses and the marker.
        char cut[200];
        int n = objects.GetRangeText(ref, cut, sizeof(cut), true);
        EXPECT_EQ(static_cast<int>(std::string(cut).size()), n);
        EXPECT_LT(n, 200);
        EXPECT_EQ(" ...", std::string(cut).substr(static_cast<size_t>(n) - 4));
        EXPECT_EQ(0, std::string(text.data()).compare(0, static_cast<size_t>(n) - 4, cut, static_cast<size_t>(n) - 4));
    }
}
