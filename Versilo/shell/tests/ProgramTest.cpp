// Versilo.exe itself, started with CreateProcess from the build's program folder: the
// chapter of its command line painted, look-up requests from this (another) process,
// hostile ones included, the place kept for the next start, copied verses that outlive the
// program, the docked translations and commentary panes (hidden and shown again from the
// keyboard, they paint as anew), and the message of an empty
// "Bibles" folder. The application's registry key is
// saved before and put back after, as the program writes its own settings there.
#include <windows.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "SoftWrap.h"
#include "TestFiles.h"

namespace {

constexpr DWORD kPaintTimeout = 60000;
constexpr ULONG_PTR kOpenReferenceDataCode = 1000;  // what a sender puts in dwData

std::string ProgramFolder() {
    return WinePath(VERSILO_BIN_DIR) + "\\";
}

class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override { program.Kill(); }

    void Start(const std::string& request) {
        ASSERT_TRUE(StartProgram(ProgramFolder() + "Versilo.exe", request, &program));
        ASSERT_TRUE(WaitPaintedChapter(program, kPaintTimeout)) << request;
    }
    // Sends a request block as another program does and waits until the program has
    // handled it (SendMessage returns after the handler).
    LRESULT Send(const void* data, DWORD size, ULONG_PTR code = kOpenReferenceDataCode) {
        COPYDATASTRUCT block = {code, size, const_cast<void*>(data)};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(program.main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block), SMTO_BLOCK, 10000,
                            &result);
        return static_cast<LRESULT>(result);
    }

    // Starts at John 3:16 with the active translation shown in the translations pane too,
    // beside the other one, once the frame has laid out its panes.
    void StartWithDockedPanes() {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kProgramAppKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                                 &key, nullptr));
        const DWORD on = 1;
        RegSetValueExA(key, "ShowActiveBibleInMultiWindow", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                       sizeof on);
        RegCloseKey(key);
        Start("KJV Joh 3:16");
        // The chapter may paint while the frame is still laying out: let that finish.
        Sleep(500);
        ASSERT_TRUE(ProgramResponds(program));
        multi = GetDlgItem(program.main, 4000);
        lexicon = GetDlgItem(program.main, 5000);
        ASSERT_TRUE(multi);
        ASSERT_TRUE(lexicon);
    }

    SavedAppKey savedKey;
    ProgramProcess program;
    HWND multi = nullptr, lexicon = nullptr;
};

TEST_F(ProgramTest, OpensTheCommandLinesChapterAndTakesRequests) {
    Start("KJV Joh 3:16");
    EXPECT_EQ("KJV Joh 3", ProgramPlace(program.main));
    Sleep(300);
    Capture::Of(program.main, true).SaveArtifact("versilo-main-window.bmp");

    struct Case {
        const char* what;
        std::string data;
        DWORD size;  // bytes sent; the data need not hold its NUL within them
        ULONG_PTR code;
        const char* place;  // where the program is after it
    } cases[] = {
        {"a request", "KJV Sal 23:1", 13, kOpenReferenceDataCode, "KJV Sal 23"},
        {"another data code", "KJV Joh 1:1", 12, 4711, "KJV Joh 1"},
        {"no terminator: read up to the size", "KJV Joh 2:1XYZ", 11, kOpenReferenceDataCode, "KJV Joh 2"},
        {"300 characters", "KJV 1 Mos 1:1" + std::string(287, ' '), 300, kOpenReferenceDataCode, "KJV 1 Mos 1"},
        {"an unknown bible", "KV61 Joh 3:16", 14, kOpenReferenceDataCode, "KJV 1 Mos 1"},
        {"no reference", "KJV", 4, kOpenReferenceDataCode, "KJV 1 Mos 1"},
        {"not a reference", "KJV Xyzzy", 10, kOpenReferenceDataCode, "KJV 1 Mos 1"},
        {"no data", "", 0, kOpenReferenceDataCode, "KJV 1 Mos 1"},
        {"the last one again", "KJV Sal 23:1", 13, kOpenReferenceDataCode, "KJV Sal 23"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TRUE, Send(c.size ? c.data.data() : nullptr, c.size, c.code)) << c.what;
        EXPECT_TRUE(ProgramResponds(program)) << c.what;
        EXPECT_EQ(c.place, ProgramPlace(program.main)) << c.what;
    }
    EXPECT_EQ(1, CloseProgram(program));

    // The next start without a request, and with one that does not parse, opens where it was.
    for (const char* request : {"", "KJV Xyzzy"}) {
        program.Close();
        program.main = nullptr;
        Start(request);
        EXPECT_EQ("KJV Sal 23", ProgramPlace(program.main)) << request;
        EXPECT_EQ(1, CloseProgram(program));
    }
}

TEST_F(ProgramTest, CopiedVersesOutliveTheProgram) {
    Start("KJV Joh 3:16");
    const HWND text = FindTextWindow(program.main);
    ASSERT_TRUE(text);
    // The text window's caret item is John 3:16; copy it with the toolbar's command.
    const LRESULT caret = SendMessageA(text, WM_USER + 5, 0, 0);  // TWM_GETCARET
    SendMessageA(text, WM_USER + 7, static_cast<WPARAM>(caret), caret + 1);  // TWM_SELECTRANGE
    SendMessageA(program.main, WM_COMMAND, 5000, 0);
    EXPECT_EQ(1, CloseProgram(program));
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(std::string::npos, copied.find("For God so loved the world")) << copied;
}

// A DWORD of the application key, or fallback when it is missing.
DWORD AppValue(const char* name, DWORD fallback, bool* present = nullptr) {
    DWORD value = fallback, size = sizeof value;
    const bool found = RegGetValueA(HKEY_CURRENT_USER, kProgramAppKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                                    &size) == ERROR_SUCCESS;
    if (present) *present = found;
    return found ? value : fallback;
}

RECT ChildRect(HWND main, HWND child) {
    RECT rc = {};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(ProgramTest, DockedPanesBesideTheChapter) {
    ASSERT_NO_FATAL_FAILURE(StartWithDockedPanes());
    EXPECT_TRUE(IsWindowVisible(multi));
    EXPECT_TRUE(IsWindowVisible(lexicon));
    RECT client;
    GetClientRect(program.main, &client);
    const RECT m = ChildRect(program.main, multi), l = ChildRect(program.main, lexicon);
    const HWND text = FindTextWindow(program.main);
    ASSERT_TRUE(text);
    EXPECT_EQ(client.right, l.right);
    EXPECT_EQ(l.left, m.right);
    EXPECT_LE(ChildRect(program.main, text).right, m.left);
    // The translations pane shows the verse of the bible pane.
    // (its box wraps at words by line breaks of its own, which a copy leaves out).
    char shown[2048] = "";
    SendMessageA(GetDlgItem(multi, 1), WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
    const std::string verse = RemoveSoftLineBreaks(shown);
    EXPECT_NE(std::string::npos, verse.find("For God so loved")) << verse;
    EXPECT_NE(std::string::npos, verse.find("KJV:  ")) << verse;
    Capture::Of(program.main, true).SaveArtifact("versilo-docked-panes.bmp");

    // Their commands close them and the bible panes take the room.
    SendMessageA(program.main, WM_COMMAND, 2402, 0);
    EXPECT_FALSE(IsWindowVisible(multi));
    EXPECT_GT(ChildRect(program.main, text).right, m.left);
    SendMessageA(program.main, WM_COMMAND, 2403, 0);
    EXPECT_FALSE(IsWindowVisible(lexicon));
    EXPECT_GT(ChildRect(program.main, text).right, l.left);
    EXPECT_TRUE(ProgramResponds(program));
    // Closed they stay for the next start.
    EXPECT_EQ(1, CloseProgram(program));
    bool present = false;
    EXPECT_EQ(0u, AppValue("MultitransOpen", 1, &present));
    EXPECT_TRUE(present);
    EXPECT_EQ(0u, AppValue("LexiconOpen", 1, &present));
    EXPECT_TRUE(present);
}

// Keys pressed as a reader presses them, into the program's focus window.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *--key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The pixels of a child of the main window, as the main window shows them (a window of
// another process is read through its top-level window).
Capture ChildPixels(HWND main, HWND child) {
    const Capture whole = Capture::Of(main, true);
    RECT frame, rc;
    GetWindowRect(main, &frame);
    GetWindowRect(child, &rc);
    OffsetRect(&rc, -frame.left, -frame.top);
    Capture c;
    c.width = rc.right - rc.left;
    c.height = rc.bottom - rc.top;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            c.pixels.push_back(whole.pixels[static_cast<size_t>(y) * static_cast<size_t>(whole.width) +
                                            static_cast<size_t>(x)] &
                               0xFFFFFF);
    return c;
}

// Waits until the child has painted whatever it had to and two looks a little apart agree.
Capture SettledPixels(const ProgramProcess& program, HWND window) {
    Capture last = ChildPixels(program.main, window);
    for (int i = 0; i < 20; ++i) {
        Sleep(150);
        ProgramResponds(program);
        Capture now = ChildPixels(program.main, window);
        if (now.pixels == last.pixels) return now;
        last = now;
    }
    return last;
}

TEST_F(ProgramTest, TheTranslationsPaneHiddenAndShownPaintsAsANewOne) {
    ASSERT_NO_FATAL_FAILURE(StartWithDockedPanes());
    ASSERT_TRUE(IsWindowVisible(multi) && IsWindowVisible(lexicon));

    // Alt+2, Alt+3, Alt+2, Alt+3 from the keyboard: both panes go and come back; then the
    // commentary pane alone. Whenever the translations pane shows, what it shows is what it
    // paints anew, its text box and its frame included.
    SetForegroundWindow(program.main);
    ASSERT_TRUE(ProgramResponds(program));
    const struct {
        WORD key;
        bool multiShown, lexiconShown;
    } steps[] = {{'2', false, true}, {'3', false, false}, {'2', true, false}, {'3', true, true},
                 {'3', true, false}, {'3', true, true}};
    for (const auto& step : steps) {
        const std::string what =
            std::string("Alt+") + static_cast<char>(step.key) + " (step " + std::to_string(&step - steps + 1) + ")";
        PressKeys({VK_MENU, step.key});
        for (int i = 0; i < 100 && IsWindowVisible(multi) != step.multiShown; ++i) Sleep(20);
        for (int i = 0; i < 100 && IsWindowVisible(lexicon) != step.lexiconShown; ++i) Sleep(20);
        ASSERT_TRUE(ProgramResponds(program));
        ASSERT_EQ(step.multiShown, IsWindowVisible(multi) != FALSE) << what;
        ASSERT_EQ(step.lexiconShown, IsWindowVisible(lexicon) != FALSE) << what;
        if (!step.multiShown) continue;
        const Capture after = SettledPixels(program, multi);
        EXPECT_TRUE(after.SaveArtifact("translations-pane-shown-again.bmp"));
        RedrawWindow(multi, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const Capture fresh = SettledPixels(program, multi);
        ASSERT_EQ(fresh.width, after.width) << what;
        ASSERT_EQ(fresh.height, after.height) << what;
        size_t differing = 0;
        for (size_t i = 0; i < fresh.pixels.size(); ++i)
            if (fresh.pixels[i] != after.pixels[i]) ++differing;
        EXPECT_EQ(0u, differing) << what << ": of " << fresh.pixels.size() << " pixels";
    }
    EXPECT_EQ(1, CloseProgram(program));
}

TEST_F(ProgramTest, EmptyBiblesFolderShowsTheMessageAndEnds) {
    // A program folder of its own whose "Bibles" folder is empty.
    const std::string folder = WinePath(VERSILO_TEST_DIR) + "\\program-empty\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "NoBibles").c_str(), nullptr);
    EmptyFolder(folder + "NoBibles\\");
    for (const char* file : {"Versilo.exe", "VoUtil.dll", "VoView.dll", "RyTxtUtl.dll"})
        ASSERT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), (folder + file).c_str(), FALSE)) << file;
    ASSERT_TRUE(WriteWholeFile(folder + "Versilo.ini", "[Directories]\r\nBibles=.\\NoBibles\r\n"));
    ASSERT_TRUE(StartProgram(folder + "Versilo.exe", "", &program));

    HWND box = nullptr;
    for (int i = 0; i < 3000 && !box && program.Running(); ++i, Sleep(10))
        box = FindProcessWindow(program.info.dwProcessId, "#32770");
    ASSERT_TRUE(box);
    EXPECT_FALSE(FindProcessWindow(program.info.dwProcessId, "Ordhus VoBible"));
    char text[512] = "";
    SendMessageA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_NE(std::string::npos, std::string(text).find("Ingen bibler ble funnet")) << text;
    char caption[64] = "";
    SendMessageA(box, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ("Versilo", caption);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0, program.WaitExit(10000));
}

}  // namespace
