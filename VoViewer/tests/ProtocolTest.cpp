// The viewer's command line, the bounds of WM_COPYDATA texts, the file dialog's filter, and
// the look-up: against a window of the main program's class in this process, and, with no
// such window, by starting a stand-in "Versilo.exe" from a folder whose name has a blank.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Instance.h"
#include "LookUp.h"
#include "TestFiles.h"
#include "ViewerIds.h"
#include "ViewerPrompts.h"

namespace {

TEST(ViewerCommandLine, SwitchesPathsAndEmptyLinesAreTold) {
    struct Case {
        const char* line;
        ViewerCommand command;
        const char* path;
    } cases[] = {
        {"", ViewerCommand::kShow, ""},
        {"   ", ViewerCommand::kShow, ""},
        {nullptr, ViewerCommand::kShow, ""},
        {"-Startup", ViewerCommand::kStartup, ""},
        {"-STARTUP", ViewerCommand::kStartup, ""},
        {"-startupX", ViewerCommand::kStartup, ""},  // only the first 8 characters count
        {"-Start", ViewerCommand::kFile, "-Start"},
        {"C:\\Lister\\Mine.vrsm", ViewerCommand::kFile, "C:\\Lister\\Mine.vrsm"},
        {"\"C:\\Mine lister\\Mine.vrsm\" ", ViewerCommand::kFile, "C:\\Mine lister\\Mine.vrsm"},
        {"\"", ViewerCommand::kFile, "\""},
    };
    for (const Case& c : cases) {
        char path[MAX_PATH] = "x";
        EXPECT_EQ(c.command, ParseViewerCommand(c.line, path, sizeof(path))) << (c.line ? c.line : "(null)");
        EXPECT_STREQ(c.path, path) << (c.line ? c.line : "(null)");
    }
    const std::string longPath = "C:\\" + std::string(400, 'a');
    char path[MAX_PATH];
    EXPECT_EQ(ViewerCommand::kFile, ParseViewerCommand(longPath.c_str(), path, sizeof(path)));
    EXPECT_EQ(MAX_PATH - 1, lstrlenA(path));
}

TEST(ViewerCopyData, HostileTextsAreBoundedAndTerminated) {
    char buffer[16];
    EXPECT_FALSE(CopyDataText(nullptr, buffer, sizeof(buffer)));
    COPYDATASTRUCT data = {VOVIEWER_COPYDATA_FILE, 100, nullptr};
    EXPECT_FALSE(CopyDataText(&data, buffer, sizeof(buffer)));  // a length without data
    EXPECT_STREQ("", buffer);

    const std::string unterminated(64, 'z');
    data.cbData = static_cast<DWORD>(unterminated.size());
    data.lpData = const_cast<char*>(unterminated.data());
    ASSERT_TRUE(CopyDataText(&data, buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(15, 'z'), buffer);

    char shortText[] = {'a', 'b', 'c'};  // no NUL: only what cbData gives
    data.cbData = 2;
    data.lpData = shortText;
    ASSERT_TRUE(CopyDataText(&data, buffer, sizeof(buffer)));
    EXPECT_STREQ("ab", buffer);

    char withNul[] = "ab\0cd";
    data.cbData = sizeof(withNul);
    data.lpData = withNul;
    ASSERT_TRUE(CopyDataText(&data, buffer, sizeof(buffer)));
    EXPECT_STREQ("ab", buffer);

    data.cbData = 0;
    data.lpData = nullptr;
    ASSERT_TRUE(CopyDataText(&data, buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
}

TEST(ViewerFileFilter, EndsInTwoTerminators) {
    char filter[64];
    memset(filter, 'x', sizeof(filter));
    ASSERT_TRUE(MakeFileFilter("Mannakornfiler (*.vrsm) |*.vrsm|Alle filer (*.*)|*.*", filter, sizeof(filter)));
    const std::string expected("Mannakornfiler (*.vrsm) \0*.vrsm\0Alle filer (*.*)\0*.*\0\0", 52);
    EXPECT_EQ(expected, std::string(filter, expected.size()));
    // A text that already closes with "|" ends in the same pair.
    ASSERT_TRUE(MakeFileFilter("A|*.a|", filter, sizeof(filter)));
    EXPECT_EQ(std::string("A\0*.a\0\0", 7), std::string(filter, 7));
    EXPECT_FALSE(MakeFileFilter("A|*.a", filter, 6));  // no room for both NULs
    EXPECT_EQ('\0', filter[0]);
    EXPECT_EQ('\0', filter[1]);
}

TEST(ViewerLookUp, TheProgramPathIsQuotedAndTheTextFollows) {
    char line[64];
    ASSERT_TRUE(MakeMainProgramCommandLine("C:\\Program Files\\Versilo.exe", "KJV Joh 3:16.", line, sizeof(line)));
    EXPECT_STREQ("\"C:\\Program Files\\Versilo.exe\" KJV Joh 3:16.", line);
    EXPECT_FALSE(MakeMainProgramCommandLine("C:\\Program Files\\Versilo.exe", "KJV Joh 3:16.", line, 20));
    EXPECT_STREQ("", line);
    char text[16];
    ASSERT_TRUE(MakeLookUpText("KJV", "Sal 23:1.", text, sizeof(text)));
    EXPECT_STREQ("KJV Sal 23:1.", text);
}

// A window of the main program's class in this process that records the look-ups it gets.
struct MainWindowStandIn {
    static inline std::vector<std::string> texts;
    static inline std::vector<WPARAM> senders;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data->dwData != VO_COPYDATA_LOOKUP) return 0;
            texts.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
            senders.push_back(wParam);
            return TRUE;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    MainWindowStandIn() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kMainWindowClass;
        RegisterClassA(&wc);
        window = CreateWindowA(kMainWindowClass, "Versilo", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    ~MainWindowStandIn() {
        DestroyWindow(window);
        UnregisterClassA(kMainWindowClass, GetModuleHandleA(nullptr));
    }
    HWND window;
};

TEST(ViewerLookUp, ARunningMainProgramGetsTheRequest) {
    MainWindowStandIn main;
    ASSERT_TRUE(main.window);
    HWND from = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    EXPECT_EQ(LookUpRoute::kSent, LookUpInVersilo(from, "C:\\ingen\\Versilo.exe", "KJV", "Joh 3:16."));
    ASSERT_EQ(1u, main.texts.size());
    EXPECT_EQ(std::string("KJV Joh 3:16.\0", 14), main.texts[0]);  // the text with its NUL
    EXPECT_EQ(reinterpret_cast<WPARAM>(from), main.senders[0]);
}

TEST(ViewerLookUp, WithoutAMainWindowTheProgramIsStartedWithTheText) {
    ASSERT_EQ(nullptr, FindWindowA(kMainWindowClass, nullptr));
    TempDir dir;
    const std::string folder = dir.File("Mine programmer");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string program = folder + "\\Versilo.exe";
    ASSERT_TRUE(CopyFileA(WinePath(VERSILO_STAND_IN).c_str(), program.c_str(), FALSE));
    EXPECT_EQ(LookUpRoute::kStarted, LookUpInVersilo(nullptr, program.c_str(), "KJV", "Sal 23:1-6."));
    const std::string record = folder + "\\command-line.txt";
    std::string line;
    for (int i = 0; i < 200 && line.empty(); ++i) {
        Sleep(50);
        line = ReadWholeFile(record);
    }
    EXPECT_EQ("\"" + program + "\" KJV Sal 23:1-6.", line);
    // A program that is not there is not started, and nothing is reported.
    EXPECT_EQ(LookUpRoute::kFailed, LookUpInVersilo(nullptr, (folder + "\\Borte.exe").c_str(), "KJV", "Sal 23:1."));
    EXPECT_EQ(LookUpRoute::kFailed, LookUpInVersilo(nullptr, "", "KJV", "Sal 23:1."));
}

}  // namespace
