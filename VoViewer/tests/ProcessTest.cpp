// VoViewer.exe as a program: the command lines with and without a running viewer, two
// starts at once, the look-up from its verse dialog (to a main-window stand-in in this
// process, then by starting the stand-in "Versilo.exe" beside it), quitting, and the end of
// the session, after which the process is ended without closing its windows. The viewer
// uses the application key of the build's prefix, so these run alone.
#include <gtest/gtest.h>
#include "ViewerProcess.h"

namespace {

class ViewerProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearViewerKey();
        SetViewerValue("FirstInterval", 30);
        ASSERT_TRUE(FindWindowA(kViewerWindowClass, kViewerWindowClass) == nullptr) << "a viewer is running";
    }
    void TearDown() override { ClearViewerKey(); }

    static HWND OwnerWindow() { return FindWindowA(kViewerWindowClass, kViewerWindowClass); }
    // Ends a viewer by its verse dialog's "Avslutt".
    static bool Quit(const PROCESS_INFORMATION& p) {
        // As a second start asks: sent, and again when the window went away meanwhile.
        HWND dialog = nullptr;
        DWORD asked = 0;
        if (!WaitFor([&] {
                if ((dialog = FindVerseDialog(p.dwProcessId)) != nullptr) return true;
                if (GetTickCount() - asked > 1000) {
                    asked = GetTickCount();
                    DWORD_PTR answer = 0;
                    SendMessageTimeoutA(OwnerWindow(), VOVIEWER_WM_SHOWNOW, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
                }
                return false;
            }))
            return false;
        PostMessageA(dialog, WM_COMMAND, IDC_QUIT, 0);
        return HasEnded(p);
    }
    // Answers the message box of process with button; its text, or "(none)".
    static std::string AnswerMessage(DWORD process, int button) {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindMessageBox(process)) != nullptr; })) return "(none)";
        const std::string text = TextOf(box, 0xFFFF);
        PostMessageA(box, WM_COMMAND, button, 0);
        return text;
    }
    ViewerFolder folder{VERSILO_BIN_DIR, VERSILO_STAND_IN};
};

TEST_F(ViewerProcessTest, AStartUpRunEndsAtOnceWithoutAutomaticStartElseWaits) {
    SetViewerValue("AutoStart", 0);
    PROCESS_INFORMATION quiet = folder.Start("-Startup");
    EXPECT_TRUE(HasEnded(quiet));
    EXPECT_EQ(nullptr, OwnerWindow());

    SetViewerValue("AutoStart", 1);
    PROCESS_INFORMATION waiting = folder.Start("-startupX");
    ASSERT_TRUE(WaitFor([] { return OwnerWindow() != nullptr; }));
    Sleep(1000);
    EXPECT_EQ(nullptr, FindVerseDialog(waiting.dwProcessId));  // it waits for its first interval
    EXPECT_TRUE(Quit(waiting));
    EXPECT_EQ(nullptr, OwnerWindow());
}

TEST_F(ViewerProcessTest, CommandLinesReachTheRunningViewerOrTheNewOne) {
    const std::string list = folder.File("Reise.vrsm");
    ASSERT_TRUE(CopyFileA((WinePath(VERSILO_BIN_DIR) + "\\Bibles\\Dizarivor.vrsm").c_str(), list.c_str(), FALSE));
    struct Case {
        std::string arguments;
        std::string message;  // what the (first) viewer asks or tells; empty for nothing
        int answer;
    } cases[] = {
        {"", "", 0},
        {"-Start", "Filen '-Start' eksisterer ikke.", IDOK},
        {"\"" + list + "\"", "Vil du endre mannakornlisten til ...\\Reise.", IDNO},
    };
    for (bool running : {false, true}) {
        PROCESS_INFORMATION first = {};
        if (running) {
            first = folder.Start("-Startup");
            ASSERT_TRUE(WaitFor([] { return OwnerWindow() != nullptr; }));
            // A second start-up run ends and changes nothing.
            EXPECT_TRUE(HasEnded(folder.Start("-Startup")));
            EXPECT_EQ(nullptr, FindVerseDialog(first.dwProcessId));
        }
        for (const Case& c : cases) {
            PROCESS_INFORMATION started = folder.Start(c.arguments);
            const DWORD shows = running ? first.dwProcessId : started.dwProcessId;
            if (running) {
                EXPECT_TRUE(HasEnded(started)) << c.arguments;
            }
            // The verse dialog shows first and the list path follows (its message box
            // disables the dialog meanwhile).
            if (!c.message.empty()) {
                EXPECT_EQ(c.message, AnswerMessage(shows, c.answer)) << running;
            }
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitFor([&] { return (dialog = FindVerseDialog(shows)) != nullptr; })) << c.arguments;
            EXPECT_EQ(0u, TextOf(dialog).find("Dizarivor - ")) << c.arguments;
            EXPECT_EQ(1u, WindowsOf(0, kViewerWindowClass).size());
            if (running) {
                // Back to the tray: the owner window is made again.
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                EXPECT_TRUE(WaitFor([&] { return !FindVerseDialog(shows) && OwnerWindow(); }));
            } else {
                EXPECT_TRUE(Quit(started)) << c.arguments;
            }
        }
        if (running) {
            EXPECT_TRUE(Quit(first));
        }
        EXPECT_EQ(nullptr, OwnerWindow());
    }
}

TEST_F(ViewerProcessTest, TwoStartsAtOnceLeaveOneViewer) {
    PROCESS_INFORMATION a = folder.Start("-Startup");
    PROCESS_INFORMATION b = folder.Start("-Startup");
    HANDLE both[] = {a.hProcess, b.hProcess};
    const DWORD ended = WaitForMultipleObjects(2, both, FALSE, 15000);
    ASSERT_TRUE(ended == WAIT_OBJECT_0 || ended == WAIT_OBJECT_0 + 1);
    const PROCESS_INFORMATION& survivor = ended == WAIT_OBJECT_0 ? b : a;
    ASSERT_TRUE(WaitFor([] { return OwnerWindow() != nullptr; }));
    Sleep(500);
    EXPECT_EQ(1u, WindowsOf(0, kViewerWindowClass).size());
    EXPECT_FALSE(HasEnded(survivor, 0));
    EXPECT_TRUE(Quit(survivor));
}

// A window of the main program's class in this process that keeps the look-ups it gets.
struct MainWindowStandIn {
    static inline std::string text;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_COPYDATA) return DefWindowProcA(hwnd, message, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData == VO_COPYDATA_LOOKUP && data->cbData > 0)
            text.assign(static_cast<const char*>(data->lpData), data->cbData - 1);
        return TRUE;
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
        if (window) DestroyWindow(window);
        UnregisterClassA(kMainWindowClass, GetModuleHandleA(nullptr));
    }
    HWND window;
};

TEST_F(ViewerProcessTest, TheLookUpGoesToTheRunningMainProgramElseStartsIt) {
    PROCESS_INFORMATION viewer = folder.Start("");
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindVerseDialog(viewer.dwProcessId)) != nullptr; }));
    const std::string reference = TextOf(dialog).substr(sizeof("Dizarivor - ") - 1);
    {
        MainWindowStandIn main;
        ASSERT_TRUE(main.window);
        PostMessageA(dialog, WM_COMMAND, kCmdLookUp, 0);
        EXPECT_TRUE(WaitFor([] { return !MainWindowStandIn::text.empty(); }));
        EXPECT_EQ("KJV " + reference, MainWindowStandIn::text);
    }
    PostMessageA(dialog, WM_COMMAND, kCmdLookUp, 0);
    std::string line;
    EXPECT_TRUE(WaitFor([&] { return !(line = ReadWholeFile(folder.File("command-line.txt"))).empty(); }));
    EXPECT_EQ("\"" + folder.File("Versilo.exe") + "\" KJV " + reference, line);
    // Quitting ends the program: no owner window is made again.
    EXPECT_TRUE(Quit(viewer));
    EXPECT_EQ(nullptr, OwnerWindow());
}

// Windows ends the session: the viewer is asked and told, then its process is ended without
// its windows being closed. What exiting writes (the dialog's place and Centered, and the
// shown verse consumed) is in the registry, whether the dialog was open or back in the tray.
TEST_F(ViewerProcessTest, TheEndOfTheSessionKeepsTheDialogsPlace) {
    const RECT desktop = [] {
        RECT rc;
        GetWindowRect(GetDesktopWindow(), &rc);
        return rc;
    }();
    for (bool open : {true, false}) {
        ClearViewerKey();
        SetViewerValue("FirstInterval", 30);
        PROCESS_INFORMATION viewer = folder.Start("");
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = FindVerseDialog(viewer.dwProcessId)) != nullptr; })) << open;
        RECT moved;
        GetWindowRect(dialog, &moved);
        SetWindowPos(dialog, nullptr, moved.left + 100, moved.top + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(dialog, &moved);
        if (!open) {
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitFor([&] { return !FindVerseDialog(viewer.dwProcessId) && OwnerWindow(); }));
        }
        const HWND owner = OwnerWindow();
        ASSERT_TRUE(owner);
        // Each of the viewer's top-level windows is asked, then told.
        std::vector<HWND> windows = {owner};
        if (open) windows.insert(windows.begin(), dialog);
        for (HWND window : windows) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer));
            EXPECT_EQ(TRUE, static_cast<BOOL>(answer)) << open;
        }
        for (HWND window : windows) {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer));
        }
        ASSERT_TRUE(TerminateProcess(viewer.hProcess, 1));
        ASSERT_TRUE(HasEnded(viewer));

        EXPECT_EQ(0, ViewerValue("Centered")) << open;
        EXPECT_EQ(MulDiv(10000, moved.left - desktop.left, desktop.right - desktop.left), ViewerValue("x")) << open;
        EXPECT_EQ(MulDiv(10000, moved.top - desktop.top, desktop.bottom - desktop.top), ViewerValue("y")) << open;
        EXPECT_EQ(1, ViewerValue("index")) << open;  // the shown verse was consumed
    }
}

// "VoViewer.exe Reise.vrsm" in the list's own folder, while a viewer started elsewhere runs:
// the running viewer gets the file the start found, asks, and once the options are confirmed
// stores it by its full path.
TEST_F(ViewerProcessTest, AListNamedRelativeToTheSecondStartsFolderReachesTheRunningViewer) {
    TempDir lists;
    const std::string folderOfLists = lists.File("Lister");
    ASSERT_TRUE(CreateDirectoryA(folderOfLists.c_str(), nullptr));
    const std::string full = folderOfLists + "\\Reise.vrsm";
    ASSERT_TRUE(CopyFileA((WinePath(VERSILO_BIN_DIR) + "\\Bibles\\Dizarivor.vrsm").c_str(), full.c_str(), FALSE));
    for (const char* handed : {"Reise.vrsm", ".\\Reise.vrsm", "..\\Lister\\Reise.vrsm"}) {
        PROCESS_INFORMATION first = folder.Start("-Startup");
        ASSERT_TRUE(WaitFor([] { return OwnerWindow() != nullptr; }));
        EXPECT_TRUE(HasEnded(folder.Start(handed, folderOfLists))) << handed;
        EXPECT_EQ("Vil du endre mannakornlisten til ...\\Reise.", AnswerMessage(first.dwProcessId, IDYES)) << handed;
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (dialog = FindVerseDialog(first.dwProcessId)) != nullptr; })) << handed;
        // The options confirmed as they stand save the list taken.
        PostMessageA(dialog, WM_COMMAND, IDC_OPTIONS, 0);
        HWND options = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            for (HWND window : WindowsOf(first.dwProcessId, "#32770"))
                if (GetDlgItem(window, IDC_REF_LIST)) options = window;
            return options != nullptr;
        })) << handed;
        EXPECT_EQ("...\\Reise", TextOf(options, IDC_REF_LIST)) << handed;
        PostMessageA(options, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(options); })) << handed;
        EXPECT_EQ(full, ViewerString("RefList")) << handed;
        EXPECT_TRUE(Quit(first)) << handed;
        ClearViewerKey();
        SetViewerValue("FirstInterval", 30);
    }
}

}  // namespace
