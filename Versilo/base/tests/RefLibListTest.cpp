// The reference-library list over a folder with good and damaged libraries, and opening
// one by file name; the good ones are copies of the program folder's WEB library.
#include "BibleListFixture.h"
#include "RefLibList.h"

namespace {

class RefLibListTest : public BibleListTestBase {};

}  // namespace

TEST_F(RefLibListTest, ListsEveryLibrarySortedWithTheTitlesOfThoseThatOpen) {
    ComPtr<IBibleRefLib> installed;
    ASSERT_EQ(S_OK, OpenBibleRefLibFile(WinePath(VERSILO_WEB_REFLIB).c_str(), installed.Put()))
        << "the program folder's RefLibs\\WEB.brf";
    char webTitle[64] = {};
    ASSERT_EQ(S_OK, installed->GetName(webTitle, sizeof(webTitle)));
    EXPECT_STREQ("WEB", webTitle);

    ASSERT_TRUE(CopyFromBuild(VERSILO_WEB_REFLIB, RefLibs() + "WEB.brf"));
    ASSERT_TRUE(CopyFromBuild(VERSILO_WEB_REFLIB, RefLibs() + "andre.brf"));
    ASSERT_TRUE(WriteWholeFile(RefLibs() + "Skadet.brf", std::string(200, '\x01')));
    ASSERT_TRUE(WriteWholeFile(RefLibs() + "tom.brf", std::string()));
    ASSERT_TRUE(WriteWholeFile(RefLibs() + "notater.txt", "x"));

    VoRefLibList list;
    ASSERT_EQ(4, list.GetCount());
    const char* files[] = {"andre.brf", "Skadet.brf", "tom.brf", "WEB.brf"};
    // A library is named by its file.
    const char* titles[] = {"andre", "", "", "WEB"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(files[i], list.GetAt(i).fileName);
        EXPECT_STREQ(titles[i], list.GetAt(i).title) << files[i];
    }

    ComPtr<IBibleRefLib> opened;
    EXPECT_EQ(S_OK, OpenRefLibFile("WEB.brf", opened.Put()));
    EXPECT_TRUE(opened);
    for (const char* bad : {"Skadet.brf", "tom.brf", "mangler.brf"}) {
        IBibleRefLib* library = reinterpret_cast<IBibleRefLib*>(1);
        EXPECT_TRUE(FAILED(OpenRefLibFile(bad, &library))) << bad;
        EXPECT_EQ(nullptr, library) << bad;
    }
}

TEST_F(RefLibListTest, AnEmptyFolderGivesAnEmptyList) {
    VoRefLibList list;
    EXPECT_EQ(0, list.GetCount());
}
