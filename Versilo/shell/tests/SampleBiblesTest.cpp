// Versilo.exe started for the first time (no settings of its own) from the build's program
// folder, whose "Bibles" holds the two sample bibles, driven from another process: the
// translation selector lists both, the translations pane shows the other translation's
// text of the selected verse, the bible pane switches to the WEB and reads it, and the
// search dialog opens on it and finds what a reader types there. The application key is
// saved before and put back after, as the program writes its settings there.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "SoftWrap.h"
#include "TestFiles.h"

namespace {

constexpr DWORD kPaintTimeout = 60000;
constexpr DWORD kWaitTimeout = 10000;
constexpr int kTranslationSelector = 1001;
constexpr int kMultiPane = 4000;
constexpr int kMultiPaneText = 1;
constexpr WPARAM kSecondTranslationCommand = 3002;  // the translation menu's second entry
constexpr WPARAM kSearchCommand = 2007;
constexpr int kSearchQuery = 1032;     // the search dialog's query combo box
constexpr int kSearchHitCount = 1040;  // and its number of hits

std::string ProgramFolder() {
    return WinePath(VERSILO_BIN_DIR) + "\\";
}

// The combo box with control id `id` anywhere under the main window (the selectors stand
// on the toolbar's row; their own edit children carry ids of their own class "Edit").
HWND FindCombo(HWND main, int id) {
    struct Search {
        int id;
        HWND found;
        static BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
            auto* s = reinterpret_cast<Search*>(lParam);
            char name[32] = "";
            GetClassNameA(hwnd, name, sizeof name);
            if (GetDlgCtrlID(hwnd) != s->id || lstrcmpiA(name, "ComboBox") != 0) return TRUE;
            s->found = hwnd;
            return FALSE;
        }
    } search = {id, nullptr};
    EnumChildWindows(main, &Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The entries of a combo box of another process, in list order. Asked in Unicode: Wine
// carries CB_GETLBTEXT between processes as wide text whichever way it was sent.
std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[256] = L"";
        char text[256] = "";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 256 &&
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide)) > 0)
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back(text);
    }
    return items;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    // WM_GETTEXT itself: GetWindowText does not ask a window of another process.
    if (window) SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

class SampleBiblesTest : public ::testing::Test {
protected:
    void TearDown() override { program.Kill(); }

    HWND MultiPaneText() const { return GetDlgItem(GetDlgItem(program.main, kMultiPane), kMultiPaneText); }
    // Waits until the translations pane's text begins with start; its text then.
    std::string WaitMultiPaneText(const std::string& start) {
        std::string text;
        for (DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitTimeout; Sleep(20)) {
            text = RemoveSoftLineBreaks(WindowText(MultiPaneText()));
            if (StartsWith(text, start)) break;
        }
        return text;
    }
    // Waits for the program's dialog box; null when none shows within the timeout.
    HWND WaitDialog() {
        for (DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitTimeout && program.Running(); Sleep(20))
            if (HWND box = FindProcessWindow(program.info.dwProcessId, "#32770")) return box;
        return nullptr;
    }

    SavedAppKey savedKey;  // no settings: the program's first start
    ProgramProcess program;
};

TEST_F(SampleBiblesTest, FirstStartShowsBothTranslations) {
    ASSERT_TRUE(StartProgram(ProgramFolder() + "Versilo.exe", "KJV Joh 3:16", &program));
    ASSERT_TRUE(WaitPaintedChapter(program, kPaintTimeout));
    // The chapter may paint while the frame is still laying out: let that finish.
    Sleep(500);
    ASSERT_TRUE(ProgramResponds(program));
    EXPECT_EQ("KJV Joh 3", ProgramPlace(program.main));

    const HWND selector = FindCombo(program.main, kTranslationSelector);
    ASSERT_TRUE(selector);
    EXPECT_EQ((std::vector<std::string>{"KJV", "WEB"}), ComboItems(selector));

    // The translations pane is open on a first start and shows the other translation (the
    // active one is hidden), its text painted.
    const HWND multi = GetDlgItem(program.main, kMultiPane);
    ASSERT_TRUE(multi);
    EXPECT_TRUE(IsWindowVisible(multi));
    const std::string web = WaitMultiPaneText("WEB:");
    EXPECT_TRUE(StartsWith(web, "WEB:  For God so loved the world, that he gave his only born Son, ")) << web;
    EXPECT_EQ(std::string::npos, web.find("KJV")) << web;
    EXPECT_TRUE(ShowsText(MultiPaneText()));
    Capture::Of(program.main, true).SaveArtifact("versilo-sample-bibles.bmp");

    // The translation menu's second entry turns the bible pane to the WEB at the same
    // place; the translations pane then shows the KJV.
    PostMessageA(program.main, WM_COMMAND, kSecondTranslationCommand, 0);
    const std::string kjv = WaitMultiPaneText("KJV:");
    EXPECT_TRUE(StartsWith(kjv, "KJV:  \xB6 For God so loved the world, that he gave his only begotten Son, ")) << kjv;
    EXPECT_EQ("WEB Joh 3", ProgramPlace(program.main));
    EXPECT_TRUE(ShowsText(FindTextWindow(program.main)));
    Capture::Of(program.main, true).SaveArtifact("versilo-sample-bibles-web.bmp");

    // The search dialog opens on the WEB's texts.
    PostMessageA(program.main, WM_COMMAND, kSearchCommand, 0);
    const HWND search = WaitDialog();
    ASSERT_TRUE(search);
    EXPECT_EQ("S\xF8k i World English Bible", WindowText(search));
    // "God's" typed as a reader types it (0x27) finds the verses that read "God's" once the
    // dialog's restart timer has run its search.
    const HWND queryEdit = FindWindowExA(GetDlgItem(search, kSearchQuery), nullptr, "Edit", nullptr);
    ASSERT_TRUE(queryEdit);
    for (char ch : std::string("God's")) SendMessageA(queryEdit, WM_CHAR, static_cast<BYTE>(ch), 1);
    std::string count;
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitTimeout; Sleep(20))
        if ((count = WindowText(GetDlgItem(search, kSearchHitCount))) == "355") break;
    EXPECT_EQ("355", count);
    // The hits are painted when the dialog's loop is idle again.
    Sleep(300);
    Capture::Of(search, true).SaveArtifact("versilo-sample-bibles-search.bmp");
    PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
    for (DWORD begin = GetTickCount(); IsWindow(search) && GetTickCount() - begin < kWaitTimeout;) Sleep(20);
    EXPECT_FALSE(IsWindow(search));
    EXPECT_EQ(1, CloseProgram(program));
}

}  // namespace
