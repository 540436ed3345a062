// The viewer's settings record in the registry, the verse font, the caption and the main
// program's path.
#include "ViewerFixture.h"
#include "ScreenMetrics.h"
#include "ViewerPaths.h"

namespace {

class ViewerSettingsTest : public ViewerTest {};

TEST_F(ViewerSettingsTest, AFreshKeyGivesTheDefaults) {
    VoViewerSettings s;
    s.Load(true);
    EXPECT_STREQ("KV6104bm", s.bible);
    EXPECT_STREQ("Dizarivor", s.refList);
    EXPECT_EQ(240, s.interval);
    EXPECT_EQ(30, s.firstInterval);
    EXPECT_TRUE(s.hiddenButtons);
    EXPECT_TRUE(s.autoStart);
    EXPECT_TRUE(s.centered);
    EXPECT_EQ(5000, s.x);
    EXPECT_EQ(5000, s.y);
    // Reading creates nothing.
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(registry.AppKey(), "VoViewer", 0, KEY_READ, &key));
    if (key) RegCloseKey(key);
}

TEST_F(ViewerSettingsTest, SavedValuesReadBackWithTheirRegistryTypes) {
    VoViewerSettings s;
    s.Load(false);
    lstrcpynA(s.bible, "KJV", sizeof(s.bible));
    lstrcpynA(s.refList, "C:\\Lister\\Egen.vrsm", sizeof(s.refList));
    s.interval = 7;
    s.firstInterval = 0;
    s.hiddenButtons = false;
    s.autoStart = false;
    s.centered = false;
    s.x = 1234;
    s.y = 9876;
    s.Save(false);

    VoViewerSettings back;
    back.Load(true);
    EXPECT_STREQ("KJV", back.bible);
    EXPECT_STREQ("C:\\Lister\\Egen.vrsm", back.refList);
    EXPECT_EQ(7, back.interval);
    EXPECT_EQ(0, back.firstInterval);
    EXPECT_FALSE(back.hiddenButtons);
    EXPECT_FALSE(back.autoStart);
    EXPECT_FALSE(back.centered);
    EXPECT_EQ(1234, back.x);
    EXPECT_EQ(9876, back.y);
    EXPECT_EQ(0, ViewerDword("AutoStart"));
    EXPECT_EQ(0, ViewerDword("Centered"));
    EXPECT_EQ(7, ViewerDword("Interval"));
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(ViewerKey(), "Bible", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);

    // Filling the defaults leaves the position alone.
    back.Load(false);
    EXPECT_STREQ("KV6104bm", back.bible);
    EXPECT_EQ(240, back.interval);
    EXPECT_EQ(1234, back.x);
    EXPECT_EQ(9876, back.y);
}

TEST_F(ViewerSettingsTest, SavingThePositionWritesOnlyThePosition) {
    VoViewerSettings s;
    s.Load(false);
    s.interval = 60;
    s.centered = false;
    s.x = 10;
    s.y = 20;
    s.Save(true);
    EXPECT_EQ(0, ViewerDword("Centered"));
    EXPECT_EQ(10, ViewerDword("x"));
    EXPECT_EQ(20, ViewerDword("y"));
    for (const char* name : {"Interval", "FirstInterval", "HiddenButtons", "AutoStart", "Bible", "RefList"})
        EXPECT_NE(ERROR_SUCCESS, RegQueryValueExA(ViewerKey(), name, nullptr, nullptr, nullptr, nullptr)) << name;
}

TEST_F(ViewerSettingsTest, UnreadableValuesKeepTheirDefaults) {
    SetViewerString("Interval", "60");                  // wrong type
    SetViewerString("Bible", std::string(100, 'b'));    // longer than the field
    RegSetValueExA(ViewerKey(), "x", 0, REG_BINARY, reinterpret_cast<const BYTE*>("\1\2"), 2);
    SetViewerDword("FirstInterval", 5);
    VoViewerSettings s;
    s.Load(true);
    EXPECT_EQ(240, s.interval);
    EXPECT_STREQ("KV6104bm", s.bible);
    EXPECT_EQ(5000, s.x);
    EXPECT_EQ(5, s.firstInterval);
}

TEST_F(ViewerSettingsTest, TheVerseFontFollowsTheMainProgramsDisplayFont) {
    auto expectFont = [](HFONT font, const char* face, int tenths) {
        ASSERT_TRUE(font);
        LOGFONTA lf = {};
        ASSERT_TRUE(GetObjectA(font, sizeof(lf), &lf));
        EXPECT_STREQ(face, lf.lfFaceName);
        EXPECT_EQ(-static_cast<LONG>(GetScreenLogPixelsY() * (tenths / 10.0) / 72.0 + 0.5), lf.lfHeight);
        EXPECT_EQ(FW_NORMAL, lf.lfWeight);
        EXPECT_EQ(ANSI_CHARSET, lf.lfCharSet);
    };
    {
        VoViewerApp app;
        expectFont(app.GetVerseFont(), "Times New Roman", 140);
        EXPECT_STREQ("Dizarivor", app.GetCaption());
        // The test program has no main program beside it.
        EXPECT_STREQ("", app.GetMainProgramPath());
    }
    registry.SetDword("FontHeigth", 205);
    registry.SetString("FontFaceName", "Arial");
    VoViewerApp app;
    expectFont(app.GetVerseFont(), "Arial", 205);
}

TEST_F(ViewerSettingsTest, ClosingTheApplicationStoresOnlyItsPosition) {
    {
        VoViewerApp app;
        app.GetSettings().x = 321;
        app.GetSettings().centered = false;
        app.GetSettings().interval = 5;
    }
    EXPECT_EQ(321, ViewerDword("x"));
    EXPECT_EQ(0, ViewerDword("Centered"));
    EXPECT_EQ(-1, ViewerDword("Interval"));
}

TEST(ViewerPathsTest, TheMainProgramIsFoundBesideTheViewerInAnyLetterCase) {
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("Versilo.exe"), "MZ"));
    CreateDirectoryA(dir.File("Versilo").c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(dir.File("Versilo\\Versilo.exe"), "MZ"));
    CreateDirectoryA(dir.File("VoViewer").c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(dir.File("VoViewer\\Versilo.exe"), "MZ"));
    struct Case {
        std::string own, expected;
    } cases[] = {
        {dir.File("VoViewer.exe"), dir.File("Versilo.exe")},
        {dir.File("VOVIEWER.EXE"), dir.File("Versilo.EXE")},
        // Only the file name is renamed, never a folder.
        {dir.File("VoViewer\\vOvIeWeR.exe"), dir.File("VoViewer\\Versilo.exe")},
        {dir.File("Annen.exe"), ""},         // no "voviewer": itself, which is no main program
        {dir.File("VoViewer2.exe"), ""},     // "Versilo2.exe" does not exist
    };
    for (const Case& c : cases) {
        char path[MAX_PATH] = "x";
        EXPECT_EQ(!c.expected.empty(), DeriveMainProgramPath(c.own.c_str(), path)) << c.own;
        EXPECT_STREQ(c.expected.c_str(), path) << c.own;
    }
}

TEST(ViewerPathsTest, ListsAreNamedByTheirFileAndFoundByNameOrPath) {
    char path[MAX_PATH];
    EXPECT_TRUE(MakeListPath(path, "C:\\B\\", "Dizarivor"));
    EXPECT_STREQ("C:\\B\\Dizarivor.vrsm", path);
    EXPECT_TRUE(MakeListPath(path, "C:\\B\\", "D:\\Mine\\liste.v1.vrsm"));
    EXPECT_STREQ("D:\\Mine\\liste.v1.vrsm", path);
    EXPECT_FALSE(MakeListPath(path, "C:\\B\\", std::string(MAX_PATH, 'n').c_str()));
    char name[260];
    EXPECT_STREQ("liste", CopyListName(name, sizeof(name), "D:\\Mine\\liste.v1.vrsm"));
    EXPECT_STREQ("Dizarivor", CopyListName(name, sizeof(name), "Dizarivor.vrsm"));
    EXPECT_STREQ("", CopyListName(name, sizeof(name), nullptr));
    EXPECT_STREQ("liste.v1", CopyFileStem(name, sizeof(name), "liste.v1.vrsb"));
}

}  // namespace
