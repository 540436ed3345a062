// The program folder's sample list with the KJV sample bible, as the viewer finds them at
// its first start: the default bible is missing, so the KJV is taken; the default list is
// the sample list.
#include "ViewerFixture.h"

namespace {

class SampleListTest : public ViewerTest {};

TEST_F(SampleListTest, EveryVerseOfTheSampleListShowsItsKjvText) {
    ASSERT_TRUE(CopyFromBuild(VERSILO_KJV_BIBLE, Bibles() + "KJV.vrsb"));
    ASSERT_TRUE(CopyFromBuild(VERSILO_VIEWER_LIST, Bibles() + "Dizarivor.vrsm"));
    VoViewerApp app;
    ASSERT_EQ(kViewerReady, app.Init());
    EXPECT_STREQ("KJV", app.GetSettings().bible);
    EXPECT_STREQ("Dizarivor", app.GetSettings().refList);
    const int count = app.GetRefList().GetCount();
    ASSERT_EQ(82, count);

    std::vector<Shown> shown = Walk(app, count + 1);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(i, shown[i].position);
        EXPECT_NE(0, shown[i].ref) << i;
        EXPECT_GT(shown[i].text.size(), 20u) << i;
        EXPECT_LT(shown[i].text.size(), 1000u) << i;
    }
    EXPECT_EQ("In the beginning God created the heaven and the earth.", shown[0].text);
    EXPECT_EQ(shown[0].text, shown[count].text);  // wrapped
    EXPECT_EQ(0, shown[count].position);

    auto find = [&](const char* reference) -> const Shown* {
        for (int i = 0; i < count; ++i) {
            char formatted[kFormatRefBufferSize] = {};
            if (SUCCEEDED(app.GetLangStat()->FormatRef(formatted, shown[i].ref, 0, 0, 0, FALSE)) &&
                std::string(formatted) == reference)
                return &shown[i];
        }
        return nullptr;
    };
    const Shown* john = find("Joh 3:16");
    ASSERT_TRUE(john);
    EXPECT_NE(std::string::npos, john->text.find("For God so loved the world"));
    const Shown* psalm = find("Sal 23:1-6");
    ASSERT_TRUE(psalm);
    EXPECT_NE(std::string::npos, psalm->text.find("The LORD is my shepherd; I shall not want."));
    // First Corinthians 13 is longer than a text may be.
    const Shown* love = find("1 Kor 13:1-13");
    ASSERT_TRUE(love);
    EXPECT_EQ(" ...", love->text.substr(love->text.size() - 4));
}

}  // namespace
