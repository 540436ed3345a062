// The main window over a stand-in host, the build's KJV sample bible and WEB reference
// library in scratch folders, and a scratch registry: its start position, its commands,
// the accelerators of the real resource, the spinners, the status help, the tool tips, the
// look-up request in-process, the caps of the numbered menus and the saved settings (none
// from a frame whose creation failed).
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "BibleFixture.h"
#include "DataDirectories.h"
#include "FakeBibleWindow.h"
#include "FrameIds.h"
#include "FrameStart.h"
#include "LexiconFiles.h"
#include "MainFrame.h"
#include "MessageText.h"
#include "OpenRequest.h"
#include "OpenedFrame.h"
#include "ScratchRegistry.h"
#include "ScreenMetrics.h"
#include "SoftWrap.h"
#include "TestFiles.h"
#include "WindowCapture.h"

using namespace frame_id;

namespace {

std::string Folder(const char* which) {
    char dir[kDirectoryCapacity];
    return std::string(which[0] == 'B' ? GetBiblesDirectory(dir) : GetRefLibsDirectory(dir));
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // the frame's close posts it
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

std::string StatusText(HWND status) {
    char text[kTextCapacity] = "";
    SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

// The command an accelerator made of a recording window.
UINT g_accelerated = 0;
LRESULT CALLBACK RecordAccelerator(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == 1) g_accelerated = LOWORD(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

MSG KeyMessage(HWND hwnd, UINT message, WPARAM key) {
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = key;
    return msg;
}

// Keys held down in this thread's key state (what GetKeyState reads; posted key messages
// do not change it) for a scope; the state before is given back after it.
class HeldKeys {
public:
    explicit HeldKeys(const std::vector<int>& keys) {
        GetKeyboardState(before_);
        BYTE state[256];
        memcpy(state, before_, sizeof state);
        for (int key : keys) state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(before_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE before_[256] = {};
};

std::string ResString(UINT id) {
    char text[kTextCapacity];
    return LoadResString(text, id);
}

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        WriteWholeFile(std::string(program) + "Versilo.ini",
                       "[Directories]\r\nBibles=.\\scratch\\Bibles\r\nRefLibs=.\\scratch\\RefLibs\r\n");
        CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
        CreateDirectoryA(Folder("B").c_str(), nullptr);
        CreateDirectoryA(Folder("R").c_str(), nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        EmptyFolder(Folder("B"));
        EmptyFolder(Folder("R"));
        ASSERT_TRUE(CopyFileA(WinePath(VERSILO_KJV_BIBLE).c_str(), (Folder("B") + "KJV.vrsb").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(WinePath(VERSILO_WEB_REFLIB).c_str(), (Folder("R") + "WEB.brf").c_str(), FALSE));
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        Pump();
        frame.reset();
    }

    // The frame created as the program creates it, over the fake host.
    HWND Open(const char* commandLine = "") {
        const HWND hwnd = OpenFrameOver(&host, commandLine, &frame);
        Pump();
        return hwnd;
    }
    LRESULT Command(UINT id, UINT code = 0, HWND control = nullptr) {
        return SendMessageA(frame->Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    }
    // A child of the frame, or of its toolbar (the selector boxes and spinners).
    HWND Item(UINT id) const {
        const HWND child = GetDlgItem(frame->Handle(), static_cast<int>(id));
        return child ? child : GetDlgItem(frame->Toolbar(), static_cast<int>(id));
    }
    // A child's rectangle in the frame's client coordinates.
    RECT PaneRect(UINT id) const {
        RECT rc = {};
        GetWindowRect(Item(id), &rc);
        MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // Makes the client area width pixels wide.
    void SetClientWidth(int width) {
        RECT window, client;
        GetWindowRect(frame->Handle(), &window);
        GetClientRect(frame->Handle(), &client);
        SetWindowPos(frame->Handle(), nullptr, 0, 0, width + (window.right - window.left) - client.right,
                     window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
    bool Checked(UINT id) const {
        const bool menu = (GetMenuState(GetMenu(frame->Handle()), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
        const bool button = SendMessageA(frame->Toolbar(), TB_ISBUTTONCHECKED, id, 0) != 0;
        EXPECT_EQ(menu, button) << id;
        return menu && button;
    }
    LRESULT PaneNotify(UINT id, UINT code) {
        NMHDR header = {Item(id), id, code};
        return SendMessageA(frame->Handle(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    }
    bool MenuEnabled(UINT id) const {
        return !(GetMenuState(GetMenu(frame->Handle()), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }

    ScratchRegistry registry;
    FakeBibleWindow host;
    std::unique_ptr<VoMainWnd> frame;
};

TEST_F(MainFrameTest, CreatesItsControlsAndMenus) {
    const HWND hwnd = Open();
    ASSERT_TRUE(hwnd);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    EXPECT_STREQ("Ordhus VoBible", cls);
    EXPECT_EQ(kHostWindow, host.createdId);
    EXPECT_FALSE(host.startGiven);  // nothing saved, no command line: the default bible
    EXPECT_EQ(13, SendMessageA(frame->Toolbar(), TB_BUTTONCOUNT, 0, 0));
    for (UINT id : {kTranslationCombo, kBookCombo, kChapterCombo, kBookSpin, kChapterSpin, kHitsCombo, kStatusBar})
        EXPECT_TRUE(Item(id)) << id;
    // The selectors show the menu font: DEFAULT_GUI_FONT's height by the one rule.
    LOGFONTA gui = {}, shown = {};
    ASSERT_TRUE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui));
    for (UINT id : {kTranslationCombo, kBookCombo, kChapterCombo, kHitsCombo}) {
        const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(Item(id), WM_GETFONT, 0, 0));
        ASSERT_TRUE(GetObjectA(font, sizeof shown, &shown)) << id;
        EXPECT_EQ(MenuFontHeight(gui.lfHeight), shown.lfHeight) << id;
    }
    // One translation and one library, numbered; the library menu's "none" stays first.
    const HMENU menu = GetMenu(hwnd);
    char text[128] = "";
    GetMenuStringA(menu, kFirstTranslation, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(0, std::string(text).rfind("&1: ", 0)) << text;
    EXPECT_EQ(-1, static_cast<int>(GetMenuState(menu, kFirstTranslation + 1, MF_BYCOMMAND)));
    EXPECT_EQ(1, SendMessageA(Item(kTranslationCombo), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(66, SendMessageA(Item(kBookCombo), CB_GETCOUNT, 0, 0));
    GetMenuStringA(menu, kFirstLibrary, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(0, std::string(text).rfind("&1: ", 0)) << text;
    // The docked panes are there and open: their commands are on and checked, and the host
    // ends where the translations pane begins.
    for (UINT id : {kMultiPaneToggle, kLexiconPaneToggle}) {
        EXPECT_TRUE(MenuEnabled(id)) << id;
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) << id;
        EXPECT_TRUE(SendMessageA(frame->Toolbar(), TB_ISBUTTONCHECKED, id, 0)) << id;
    }
    EXPECT_TRUE(MenuEnabled(kLexiconTitles));
    ASSERT_TRUE(Item(kMultiPane));
    EXPECT_EQ(PaneRect(kMultiPane).left, host.hostRect.right);
    EXPECT_GT(host.hostRect.top, 0);
    // The window cannot be made smaller than 400 x 300.
    SetWindowPos(hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_GE(rc.right - rc.left, 400);
    EXPECT_GE(rc.bottom - rc.top, 300);
    SetWindowPos(hwnd, nullptr, 0, 0, 980, 680, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    Capture::Of(hwnd, true).SaveArtifact("main-frame-controls.bmp");
}

TEST_F(MainFrameTest, StartPosition) {
    const DWORD saved[7] = {0, 1, 2, 0, 30, 0, 0};  // Genesis 2:3
    struct Case {
        const char* what;
        const char* commandLine;
        const char* lastBible;  // null: nothing saved
        bool started;
        int book, chapter, verse;
    } cases[] = {
        {"command line that parses", "KJV Joh 3:16", "KJV", true, 42, 2, 15},
        {"command line with blanks and another case", "kjv   Joh 3:16", nullptr, true, 42, 2, 15},
        {"command line that does not parse: saved place", "KJV Xyzzy", "KJV", true, 0, 1, 2},
        {"only an id: saved place", "KJV", "KJV", true, 0, 1, 2},
        {"saved place of a bible that is gone", "", "KV61", false, 0, 0, 0},
        {"nothing at all", "", nullptr, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        RegDeleteTreeA(registry.AppKey(), nullptr);
        if (c.lastBible) {
            registry.SetString("LastBible", c.lastBible);
            static const char* const names[7] = {"LastBook", "LastChapter", "LastVerse", "LastTop",
                                                 "LastFocus", "LastBeginSel", "LastEndSel"};
            for (int i = 0; i < 7; ++i) registry.SetDword(names[i], saved[i]);
        }
        host = FakeBibleWindow();
        ASSERT_TRUE(Open(c.commandLine)) << c.what;
        EXPECT_EQ(c.started, host.startGiven) << c.what;
        if (c.started) {
            EXPECT_EQ(0, host.startPosition.bibleIndex) << c.what;
            EXPECT_EQ(c.book, host.startPosition.book) << c.what;
            EXPECT_EQ(c.chapter, host.startPosition.chapter) << c.what;
            EXPECT_EQ(c.verse, host.startPosition.verse) << c.what;
        }
        frame->Destroy();
        Pump();
        frame.reset();
    }
}

// Every value under a key and its sub-keys, by path: its type and bytes.
using RegistryValues = std::map<std::string, std::pair<DWORD, std::vector<BYTE>>>;
void ReadValues(HKEY key, const std::string& path, RegistryValues* out) {
    char name[256];
    BYTE data[8192];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, type = 0, size = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        (*out)[path + name] = {type, std::vector<BYTE>(data, data + size)};
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY sub = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        ReadValues(sub, path + name + "\\", out);
        RegCloseKey(sub);
    }
}

// What Windows does with a window whose WM_CREATE answered -1 (and Wine does not): it is
// destroyed, WM_DESTROY to it and its children, before CreateWindowEx answers null. The
// hook runs after the frame's WM_CREATE (Wine hands it no result, so the test makes the
// creation fail and the hook destroys the frame whatever it answered).
HHOOK g_failedCreationHook = nullptr;
int g_failedCreations = 0;
LRESULT CALLBACK DestroyAfterFailedCreate(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char cls[64] = "";
    if (code == HC_ACTION && sent->message == WM_CREATE && GetClassNameA(sent->hwnd, cls, sizeof cls) &&
        lstrcmpA(cls, "Ordhus VoBible") == 0) {
        ++g_failedCreations;
        DestroyWindow(sent->hwnd);
    }
    return CallNextHookEx(g_failedCreationHook, code, wParam, lParam);
}

TEST_F(MainFrameTest, AFrameThatFailedToBeCreatedLeavesTheSavedPlace) {
    // The place of the last close, the panes' states, a library and a commentary.
    registry.SetString("LastBible", "KJV");
    const std::pair<const char*, DWORD> last[] = {{"LastBook", 42}, {"LastChapter", 2}, {"LastVerse", 15},
                                                  {"LastTop", 10}, {"LastFocus", 15}, {"LastBeginSel", 15},
                                                  {"LastEndSel", 16}, {"LexiconOpen", 1}, {"MultitransOpen", 0}};
    for (const auto& [name, value] : last) registry.SetDword(name, value);
    registry.SetString("RefLib", "WEB");
    // The commentary pane's remembered commentary: a user commentary known through the registry.
    const std::string notes = Folder("B") + "Notater.vrsn";
    {
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, CreateOldVoLexFile(notes.c_str(), SmallLangStat().Get(), "Mine notater", lex.Put()));
        ASSERT_EQ(S_OK, SaveLexicon(lex.Get()));
    }
    registry.SetString("ActiveLexicon", "Mine notater");
    HKEY lexicons = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "lexicons\\Notater.vrsn", 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &lexicons, nullptr));
    RegSetValueExA(lexicons, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(notes.c_str()),
                   static_cast<DWORD>(notes.size() + 1));
    RegCloseKey(lexicons);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "lexicons", 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &lexicons, nullptr));
    RegSetValueExA(lexicons, "UserList", 0, REG_SZ, reinterpret_cast<const BYTE*>("Notater.vrsn"), 13);
    RegCloseKey(lexicons);
    HKEY position = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "Position", 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &position, nullptr));
    for (const auto& [name, value] : {std::pair<const char*, LONG>{"Left", 130}, {"Top", 90}, {"Rigth", 830},
                                      {"Bottom", 590}, {"ShowCmd", SW_SHOWMAXIMIZED}})
        RegSetValueExA(position, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(position);
    // (The bible list's cache of names, written by the frame's construction, is no place.)
    frame = std::make_unique<VoMainWnd>(&host);
    RegistryValues before;
    ReadValues(registry.AppKey(), "", &before);

    // The bible panes' window cannot be made, so WM_CREATE fails after the rest was.
    host.failCreate = true;
    g_failedCreations = 0;
    g_failedCreationHook = SetWindowsHookExA(WH_CALLWNDPROCRET, DestroyAfterFailedCreate, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(g_failedCreationHook);
    const RECT place = {20, 20, 1000, 700};
    EXPECT_FALSE(frame->CreateMain(&place, ""));
    UnhookWindowsHookEx(g_failedCreationHook);
    EXPECT_EQ(1, g_failedCreations);
    EXPECT_FALSE(frame->IsWindow());
    Pump();
    frame.reset();

    // Every value stays as it was. (The commentary pane still writes its commentaries'
    // settings as it read them.)
    RegistryValues after;
    ReadValues(registry.AppKey(), "", &after);
    for (const auto& [name, value] : before) {
        const auto found = after.find(name);
        EXPECT_TRUE(found != after.end() && found->second == value) << name << " changed";
    }
}

TEST_F(MainFrameTest, SavedPlacementUnlessShiftIsHeldAtStart) {
    // Where the frame opens as the program opens it, with the given keys held.
    struct Placed {
        RECT rect;
        bool zoomed;
    };
    auto start = [&](const std::vector<int>& keys) {
        Placed placed = {};
        HeldKeys held(keys);
        frame = std::make_unique<VoMainWnd>(&host);
        EXPECT_TRUE(CreateAndPlaceMainWindow(*frame, "KJV Joh 3:16", SW_SHOWNORMAL));
        Pump();
        GetWindowRect(frame->Handle(), &placed.rect);
        placed.zoomed = IsZoomed(frame->Handle()) != FALSE;
        frame->Destroy();  // saves the placement it had
        Pump();
        frame.reset();
        return placed;
    };
    // The placement of the last close, written again before every start.
    const RECT saved = {130, 90, 830, 590};
    auto save = [&](int showCmd) {
        RegDeleteTreeA(registry.AppKey(), nullptr);
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(registry.AppKey(), "Position", 0, nullptr, 0, KEY_WRITE, nullptr,
                                                 &key, nullptr));
        const std::pair<const char*, LONG> values[] = {
            {"Left", saved.left}, {"Top", saved.top}, {"Rigth", saved.right}, {"Bottom", saved.bottom},
            {"ShowCmd", showCmd}};
        for (const auto& [name, value] : values)
            RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    };

    // Nothing saved: the system's default place.
    RegDeleteTreeA(registry.AppKey(), nullptr);
    const Placed fallback = start({});
    ASSERT_FALSE(EqualRect(&fallback.rect, &saved));
    EXPECT_FALSE(fallback.zoomed);

    save(SW_SHOWNORMAL);
    Placed placed = start({});
    EXPECT_TRUE(EqualRect(&placed.rect, &saved));
    EXPECT_FALSE(placed.zoomed);
    save(SW_SHOWNORMAL);
    placed = start({VK_SHIFT});
    EXPECT_TRUE(EqualRect(&placed.rect, &fallback.rect)) << placed.rect.left << "," << placed.rect.top;

    // A window closed maximized opens maximized, unless Shift is held.
    save(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(start({}).zoomed);
    save(SW_SHOWMAXIMIZED);
    EXPECT_FALSE(start({VK_SHIFT}).zoomed);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);  // the key state is given back
}

TEST_F(MainFrameTest, CommandTable) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    struct Case {
        const char* what;
        UINT id;
        std::string expected;  // the calls the host got, joined
    } cases[] = {
        {"close the chapter", kCloseLevel, "SetChapter(-1)"},
        {"then the book", kCloseLevel, "SetBook(-1)"},
        {"at the book list: nothing", kCloseLevel, ""},
        {"the translation shown already", kFirstTranslation, ""},
        {"a translation past the installed", kFirstTranslation + 5, ""},
        {"back without history", kBack, ""},
        {"the beep", kBeep, ""},
        {"new pane goes to the host", kNewPane, "HandleCommand(2401)"},
        {"go-to goes to the host", kGoTo, "HandleCommand(2006)"},
        {"close pane goes to the host", kClosePane, "HandleCommand(32797)"},
        {"an unknown command goes to the host", 4711, "HandleCommand(4711)"},
        {"no library, none chosen: nothing to lay out", kNoLibrary, ""},
        {"a library past the installed", kFirstLibrary + 3, ""},
        {"the library", kFirstLibrary, "Relayout(0)"},
        {"the placeholder reference is grey", kFirstReference, ""},
        {"references shown in the text", kShowReferences, "UpdateFont(0)"},
        {"and hidden", kShowReferences, "UpdateFont(0)"},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        Command(c.id);
        std::string calls;
        for (const std::string& call : host.calls) calls += (calls.empty() ? "" : " ") + call;
        EXPECT_EQ(c.expected, calls) << c.what;
    }
    EXPECT_TRUE(frame->CurrentRefLib());
    // Back and forward when there is a step.
    host.canBack = true;
    Command(kBack);
    EXPECT_EQ("Navigate(1)", host.LastCall());
    // Marking the selected verses, then clearing them.
    host.selectionKind = kSelectionVerses;
    Command(kMarkSelection);
    EXPECT_EQ("MarkSelection(1)", host.LastCall());
    Command(kMarkSelection);
    EXPECT_EQ("MarkSelection(0)", host.LastCall());
    // Copy sends WM_COPY to the text window (an edit control here: its text goes to the clipboard).
    SetWindowTextA(host.text, "kopi");
    SendMessageA(host.text, EM_SETSEL, 0, -1);
    Command(kCopy);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_TEXT);
    EXPECT_STREQ("kopi", data ? static_cast<const char*>(GlobalLock(data)) : "");
    if (data) GlobalUnlock(data);
    CloseClipboard();
    // The selectors: a book picked in the box goes to the host.
    SendMessageA(Item(kBookCombo), CB_SETCURSEL, 1, 0);
    Command(kBookCombo, CBN_SELENDOK, Item(kBookCombo));
    EXPECT_EQ("SetBook(1)", host.LastCall());
    // Exit closes the window and saves the place.
    Command(kExit);
    EXPECT_FALSE(IsWindow(frame->Handle()));
    DWORD type = 0;
    std::vector<BYTE> value;
    ASSERT_TRUE(registry.GetRaw("LastBook", &type, &value));
    EXPECT_EQ(1, *reinterpret_cast<const LONG*>(value.data()));
    ASSERT_TRUE(registry.GetRaw("RefLib", &type, &value));
    EXPECT_NE(0u, value.size());
}

TEST_F(MainFrameTest, ReferencesMenuFollowsTheVerse) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    const HMENU menu = GetMenu(frame->Handle());
    char text[128] = "";
    // No library chosen: one grey placeholder, and its help.
    GetMenuStringA(menu, kFirstReference, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(ResString(kIdsNoLibrary), text);
    char help[kTextCapacity];
    frame->GetCommandHelp(kFirstReference, help, sizeof help);
    EXPECT_EQ(ResString(kIdsNoLibraryHelp), help);
    // With the library, John 3:16 has references, each a command that goes to it.
    Command(kFirstLibrary);
    GetMenuStringA(menu, kFirstReference, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(ResString(kIdsNoReferences), text);  // John 3:16 has none in the sample library
    frame->GetCommandHelp(kFirstReference, help, sizeof help);
    EXPECT_EQ(ResString(kIdsNoLibraryHelp + 2), help);
    // John 1:23 has one.
    host.Show({0, 42, 0, 22});
    ASSERT_TRUE(MenuEnabled(kFirstReference));
    GetMenuStringA(menu, kFirstReference, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(0, std::string(text).rfind("&1: ", 0)) << text;
    frame->GetCommandHelp(kFirstReference, help, sizeof help);
    EXPECT_NE(std::string::npos, std::string(help).find(text + 4)) << help;
    Command(kFirstReference);
    EXPECT_EQ(0, host.LastCall().rfind("GoToVerse(", 0)) << host.LastCall();
    // The book list shows no verse.
    Command(kCloseLevel);
    Command(kCloseLevel);
    GetMenuStringA(menu, kFirstReference, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(ResString(kIdsNoVerse), text);
}

TEST_F(MainFrameTest, AcceleratorsOfTheResource) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    const HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAccelerators));
    ASSERT_TRUE(table);
    struct Case {
        const char* what;
        UINT message;
        WPARAM key;
        std::vector<int> down;  // modifier keys held
        UINT command;           // 0: not translated
    } cases[] = {
        {"Ctrl+N", WM_KEYDOWN, 'N', {VK_CONTROL}, kNewPane},
        {"plus", WM_KEYDOWN, VK_OEM_PLUS, {}, kNewPane},
        {"minus", WM_KEYDOWN, VK_OEM_MINUS, {}, kClosePane},
        {"Ctrl+plus", WM_KEYDOWN, VK_OEM_PLUS, {VK_CONTROL}, kNextMarked},
        {"Ctrl+minus", WM_KEYDOWN, VK_OEM_MINUS, {VK_CONTROL}, kPreviousMarked},
        {"Ctrl+F4", WM_KEYDOWN, VK_F4, {VK_CONTROL}, kClosePane},
        {"Alt+Left", WM_SYSKEYDOWN, VK_LEFT, {VK_MENU}, kBack},
        {"Alt+Right", WM_SYSKEYDOWN, VK_RIGHT, {VK_MENU}, kForward},
        {"Alt+Backspace", WM_SYSKEYDOWN, VK_BACK, {VK_MENU}, kCloseLevel},
        {"F6", WM_KEYDOWN, VK_F6, {}, kNextPane},
        {"Shift+F6", WM_KEYDOWN, VK_F6, {VK_SHIFT}, kPreviousPane},
        {"Ctrl+Tab", WM_KEYDOWN, VK_TAB, {VK_CONTROL}, kNextPane},
        {"Ctrl+Shift+Tab", WM_KEYDOWN, VK_TAB, {VK_CONTROL, VK_SHIFT}, kPreviousPane},
        {"Tab", WM_KEYDOWN, VK_TAB, {}, kNextFocus},
        {"Shift+Tab", WM_KEYDOWN, VK_TAB, {VK_SHIFT}, kPreviousFocus},
        {"Ctrl+M", WM_KEYDOWN, 'M', {VK_CONTROL}, kMarkSelection},
        {"Alt+2", WM_SYSKEYDOWN, '2', {VK_MENU}, kMultiPaneToggle},
        {"Alt+3", WM_SYSKEYDOWN, '3', {VK_MENU}, kLexiconPaneToggle},
        {"Ctrl+G", WM_CHAR, 7, {VK_CONTROL}, kGoTo},
        {"Ctrl+F", WM_CHAR, 6, {VK_CONTROL}, kSearch},
        {"Alt+/", WM_SYSCHAR, '/', {VK_MENU}, kAbout},
        {"Ctrl+Shift+Alt+K", WM_SYSKEYDOWN, 'K', {VK_CONTROL, VK_SHIFT, VK_MENU}, kBeep},
        {"a plain letter", WM_KEYDOWN, 'N', {}, 0},
    };
    // A window that records the commands the table makes.
    const HWND target = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordAccelerator));
    for (const Case& c : cases) {
        BYTE keys[256] = {};
        for (int k : c.down) keys[k] = 0x80;
        SetKeyboardState(keys);
        g_accelerated = 0;
        MSG msg = KeyMessage(target, c.message, c.key);
        if (c.message == WM_SYSKEYDOWN || c.message == WM_SYSCHAR) msg.lParam = 1 << 29;
        const bool translated = TranslateAcceleratorA(target, table, &msg) != 0;
        EXPECT_EQ(c.command != 0, translated) << c.what;
        EXPECT_EQ(c.command, g_accelerated) << c.what;
    }
    // The plain '+' and '-' stay with an edit control that has the focus; Ctrl+plus does not.
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    VoFrameAccelerators filter(frame->Handle(), table);
    MSG plus = KeyMessage(host.text, WM_KEYDOWN, VK_OEM_PLUS);
    EXPECT_TRUE(IsPlainSignKeyForEdit(plus));
    EXPECT_FALSE(filter.PreTranslateMessage(plus));
    MSG minus = KeyMessage(host.text, WM_KEYDOWN, VK_OEM_MINUS);
    EXPECT_FALSE(filter.PreTranslateMessage(minus));
    MSG other = KeyMessage(frame->Toolbar(), WM_KEYDOWN, VK_OEM_MINUS);
    EXPECT_FALSE(IsPlainSignKeyForEdit(other));
    // With Control held they still reach the table from an edit control: Ctrl+'+' and
    // Ctrl+'-' go to the marked verses from there too. With Alt or AltGr (Control and Alt)
    // no command of the table matches and the key goes on to the edit control.
    VoFrameAccelerators recording(target, table);
    struct Modified {
        std::vector<int> down;
        UINT plusCommand, minusCommand;  // 0: not translated
    } modified[] = {
        {{VK_CONTROL}, kNextMarked, kPreviousMarked},
        {{VK_MENU}, 0, 0},
        {{VK_CONTROL, VK_MENU}, 0, 0},
    };
    for (const Modified& m : modified) {
        HeldKeys held(m.down);
        for (auto [key, command] : {std::pair{plus, m.plusCommand}, std::pair{minus, m.minusCommand}}) {
            g_accelerated = 0;
            EXPECT_FALSE(IsPlainSignKeyForEdit(key)) << key.wParam;
            EXPECT_EQ(command != 0, recording.PreTranslateMessage(key)) << key.wParam;
            EXPECT_EQ(command, g_accelerated) << key.wParam;
        }
    }
    // Shift is no modifier here: Shift+'+' is typed ('?' on a Norwegian keyboard).
    {
        HeldKeys held({VK_SHIFT});
        EXPECT_TRUE(IsPlainSignKeyForEdit(plus));
        EXPECT_FALSE(recording.PreTranslateMessage(plus));
    }
    DestroyWindow(target);
}

TEST_F(MainFrameTest, SpinnersWrapThroughTheHost) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    host.Show({0, 65, -1, -1});
    NMUPDOWN change = {};
    change.hdr = {Item(kBookSpin), kBookSpin, static_cast<UINT>(UDN_DELTAPOS)};
    change.iDelta = 1;
    SendMessageA(frame->Handle(), WM_NOTIFY, kBookSpin, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ("SetBook(0)", host.LastCall());
    EXPECT_EQ(0, change.iDelta);
    change.iDelta = -1;
    SendMessageA(frame->Handle(), WM_NOTIFY, kBookSpin, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ("SetBook(65)", host.LastCall());
    // The spinner's own "up" is the next entry.
    int low = -1, high = -1;
    SendMessageA(Item(kBookSpin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_LT(low, high);
    host.Show({0, 42, 20, 0});  // John 21, the last chapter
    change.hdr = {Item(kChapterSpin), kChapterSpin, static_cast<UINT>(UDN_DELTAPOS)};
    change.iDelta = 1;
    SendMessageA(frame->Handle(), WM_NOTIFY, kChapterSpin, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ("SetChapter(0)", host.LastCall());
}

TEST_F(MainFrameTest, StatusHelpOfTheHighlightedMenuItem) {
    const HWND hwnd = Open("KJV Joh 3:16");
    ASSERT_TRUE(hwnd);
    const HMENU bar = GetMenu(hwnd);
    const HMENU bible = GetSubMenu(bar, 0);
    // Inside a popup the state is what the menu's tracking sets; HiliteMenuItem only
    // reaches the bar.
    auto hilite = [](HMENU menu, UINT position, bool on) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE;
        GetMenuItemInfoA(menu, position, TRUE, &item);
        item.fState = on ? (item.fState | MFS_HILITE) : (item.fState & ~MFS_HILITE);
        SetMenuItemInfoA(menu, position, TRUE, &item);
    };
    auto poll = [&] {
        SendMessageA(hwnd, WM_TIMER, kMenuHelpTimer, 0);
        return StatusText(frame->StatusBar());
    };
    SendMessageA(hwnd, WM_ENTERMENULOOP, FALSE, 0);
    // "&Bibel" hovered without an item: the group's help.
    hilite(bar, 0, true);
    EXPECT_EQ(ResString(2000), poll());
    // "&Oversettelse" hovered inside it.
    hilite(bible, 0, true);
    EXPECT_EQ(ResString(3000), poll());
    // The translation itself: its dynamic help with the long name.
    hilite(GetSubMenu(bible, 0), 0, true);
    char expected[kTextCapacity];
    frame->GetCommandHelp(kFirstTranslation, expected, sizeof expected);
    EXPECT_EQ(std::string(expected), poll());
    EXPECT_NE(std::string::npos, std::string(expected).find("King James")) << expected;
    hilite(GetSubMenu(bible, 0), 0, false);
    hilite(bible, 0, false);
    // "&Lukk" at the verse level.
    hilite(bible, 3, true);
    EXPECT_EQ(ResString(kIdsCloseChapter), poll());
    hilite(bible, 3, false);
    // Back without a step, and with one.
    hilite(bible, 5, true);
    EXPECT_EQ(ResString(kIdsBackNone), poll());
    host.canBack = true;
    char back[kTextCapacity];
    FormatResString(back, kIdsBackTo, "Joh 3");
    EXPECT_EQ(std::string(back), poll());
    hilite(bible, 5, false);
    hilite(bar, 0, false);
    EXPECT_EQ("", poll());
    SendMessageA(hwnd, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ("", StatusText(frame->StatusBar()));
}

TEST_F(MainFrameTest, ToolTipsShow) {
    const HWND hwnd = Open("KJV Joh 3:16");
    ASSERT_TRUE(hwnd);
    SetForegroundWindow(hwnd);
    RECT button;
    SendMessageA(frame->Toolbar(), TB_GETRECT, kSearch, reinterpret_cast<LPARAM>(&button));
    POINT at = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(frame->Toolbar(), &at);
    const HWND tips = reinterpret_cast<HWND>(SendMessageA(frame->Toolbar(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(tips);
    std::string shown;
    bool everVisible = false;
    // The pointer rests on the button: the tool tip appears after its delay.
    SetCursorPos(at.x, at.y);
    POINT inside = at;
    ScreenToClient(frame->Toolbar(), &inside);
    for (int i = 0; i < 150 && shown.empty(); ++i) {
        if (i % 50 == 0) PostMessageA(frame->Toolbar(), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        Pump();
        if (IsWindowVisible(tips)) {
            everVisible = true;
            char text[256] = "";
            GetWindowTextA(tips, text, sizeof text);
            shown = text;
        }
    }
    EXPECT_EQ(ResString(kSearch), shown) << "visible " << everVisible << " under " << (WindowFromPoint(at) == frame->Toolbar());
}

TEST_F(MainFrameTest, LookUpRequestsInProcess) {
    ASSERT_TRUE(Open());
    struct Case {
        const char* what;
        const void* data;
        DWORD size;
        ULONG_PTR code;
        bool moves;
    } cases[] = {
        {"a request", "KJV Joh 3:16", 13, kOpenReferenceDataCode, true},
        {"another data code", "KJV Sal 23", 11, 7, true},
        {"an id in other letters", "kJv 1 Mos 1:1", 14, kOpenReferenceDataCode, true},
        {"no reference", "KJV", 4, kOpenReferenceDataCode, false},
        {"an unknown bible", "KV61 Joh 3:16", 14, kOpenReferenceDataCode, false},
        {"not a reference", "KJV Xyzzy 3", 12, kOpenReferenceDataCode, false},
        {"null data", nullptr, 20, kOpenReferenceDataCode, false},
        {"no data", "KJV Joh 3:16", 0, kOpenReferenceDataCode, false},
        {"no terminator: the size bounds it", "KJV Joh 3:16XXXX", 12, kOpenReferenceDataCode, true},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        COPYDATASTRUCT data = {c.code, c.size, const_cast<void*>(c.data)};
        EXPECT_EQ(TRUE, SendMessageA(frame->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data))) << c.what;
        EXPECT_EQ(c.moves, host.LastCall().rfind("GoToPosition", 0) == 0) << c.what;
    }
    EXPECT_EQ(TRUE, SendMessageA(frame->Handle(), WM_COPYDATA, 0, 0));
    // 300 characters: read up to 255.
    std::string longText = "KJV Joh 3:16" + std::string(288, ' ');
    COPYDATASTRUCT data = {kOpenReferenceDataCode, static_cast<DWORD>(longText.size()), longText.data()};
    host.calls.clear();
    SendMessageA(frame->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    EXPECT_EQ("GoToPosition(15)", host.LastCall());
    // An id of 40 characters is cut to 31 before ".vrsb".
    VoBiblePosition p;
    EXPECT_FALSE(frame->ParseOpenRequest((std::string("KJV") + std::string(37, 'y') + " Joh 3:16").c_str(), &p));
}

TEST_F(MainFrameTest, NumberedMenusKeepToTheirRanges) {
    // 100 translations: the menu lists 90, the box all of them with their storage indices.
    EmptyFolder(Folder("B"));
    for (int i = 0; i < 100; ++i) {
        BibleWriter w = SmallBible();
        char name[16];
        wsprintfA(name, "T%03d", i);
        w.SetNames(std::string("Bibel ") + name, name);
        std::string error;
        ASSERT_TRUE(w.WriteFile(BibleFormat::kNew, Folder("B") + name + ".vrsb", &error)) << error;
    }
    ASSERT_TRUE(Open());
    const HMENU popup = GetSubMenu(GetSubMenu(GetMenu(frame->Handle()), 0), 0);
    EXPECT_EQ(kMaxTranslationItems, GetMenuItemCount(popup));
    EXPECT_EQ(kLastTranslation, GetMenuItemID(popup, kMaxTranslationItems - 1));
    const HWND box = Item(kTranslationCombo);
    ASSERT_EQ(100, SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(frame->GetBibleList()->GetOrderAt(i), SendMessageA(box, CB_GETITEMDATA, i, 0));
    // The 95th is chosen in the box: that bible, not the library range.
    SendMessageA(box, CB_SETCURSEL, 94, 0);
    SendMessageA(frame->Handle(), WM_COMMAND, MAKEWPARAM(kTranslationCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(box));
    EXPECT_EQ("SetBible(" + std::to_string(frame->GetBibleList()->GetOrderAt(94)) + ")", host.LastCall());
    EXPECT_EQ(nullptr, frame->CurrentRefLib());
}

TEST_F(MainFrameTest, DockedPanesOpenAndCloseThroughTheirCommands) {
    registry.SetDword("ShowActiveBibleInMultiWindow", 1);
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    SetClientWidth(1000);
    RECT client;
    GetClientRect(frame->Handle(), &client);
    ASSERT_EQ(1000, client.right);

    // Both open at 1000 pixels: a fifth each, the commentary pane at the right edge.
    struct Case {
        const char* what;
        UINT command;          // 0: as it is
        bool multiOpen, lexiconOpen;
        LONG hostRight;
    } cases[] = {
        {"both open", 0, true, true, 600},
        {"translations closed", kMultiPaneToggle, false, true, 800},
        {"both closed", kLexiconPaneToggle, false, false, 1000},
        {"translations again", kMultiPaneToggle, true, false, 800},
        {"both again", kLexiconPaneToggle, true, true, 600},
    };
    DWORD type = 0;
    std::vector<BYTE> value;
    EXPECT_FALSE(registry.GetRaw("LexIdxLocked", &type, &value));
    for (const Case& c : cases) {
        host.calls.clear();
        if (c.command) Command(c.command);
        Pump();
        EXPECT_EQ(c.multiOpen, frame->MultiPane().open) << c.what;
        EXPECT_EQ(c.lexiconOpen, frame->LexiconPane().open) << c.what;
        EXPECT_EQ(c.multiOpen, Checked(kMultiPaneToggle)) << c.what;
        EXPECT_EQ(c.lexiconOpen, Checked(kLexiconPaneToggle)) << c.what;
        EXPECT_EQ(c.multiOpen, IsWindowVisible(Item(kMultiPane)) != FALSE) << c.what;
        EXPECT_EQ(c.lexiconOpen, IsWindowVisible(Item(kLexiconPane)) != FALSE) << c.what;
        EXPECT_EQ(c.hostRight, host.hostRect.right) << c.what;
        EXPECT_EQ(c.lexiconOpen, frame->GetLexiconWindow() != nullptr) << c.what;
        // Hiding or showing the commentary pane re-marks the bible text.
        if (c.command == kLexiconPaneToggle) {
            EXPECT_EQ("InvalidateIf(0)", host.LastCall()) << c.what;
        }
    }
    // Hiding the commentary pane saved its state.
    EXPECT_TRUE(registry.GetRaw("LexIdxLocked", &type, &value));
    const RECT multi = PaneRect(kMultiPane), lexicon = PaneRect(kLexiconPane);
    EXPECT_EQ(600, multi.left);
    EXPECT_EQ(800, multi.right);
    EXPECT_EQ(800, lexicon.left);
    EXPECT_EQ(1000, lexicon.right);
    EXPECT_EQ(host.hostRect.top, lexicon.top);
    EXPECT_EQ(host.hostRect.bottom, multi.bottom);

    // The largest widths the splitters may take: the two panes share what they have.
    EXPECT_EQ(400 - kDockedMinWidth, PaneNotify(kLexiconPane, kDockedAskMaxWidth));
    EXPECT_EQ(500 - 200, PaneNotify(kMultiPane, kDockedAskMaxWidth));
    // The commentary splitter dragged 100 pixels left: the translations pane gives them up,
    // the bible panes keep their width.
    MoveWindow(Item(kLexiconPane), 700, lexicon.top, 300, lexicon.bottom - lexicon.top, TRUE);
    host.hostRect = {};
    EXPECT_EQ(0, PaneNotify(kLexiconPane, kDockedWidthChanged));
    EXPECT_EQ(700, PaneRect(kMultiPane).right);
    EXPECT_EQ(600, PaneRect(kMultiPane).left);
    EXPECT_EQ(0, host.hostRect.right);
    EXPECT_NEAR(0.3, frame->LexiconPane().fraction, 1e-9);
    EXPECT_NEAR(0.1, frame->MultiPane().fraction, 1e-9);

    // The translations pane follows the active pane's verse.
    const HWND box = frame->MultiWindow().TextBox();
    ASSERT_TRUE(box);
    frame->OnActiveWindowChanged(kVerseChanged);
    char text[2048] = "";
    GetWindowTextA(box, text, sizeof text);
    // The narrow box breaks its lines at words itself.
    EXPECT_NE(std::string::npos, RemoveSoftLineBreaks(text).find("For God so loved")) << text;

    // Tab from the text window goes into the commentary pane while it shows, else round to
    // the translation box.
    HWND windows[16];
    ASSERT_GT(frame->LexiconWindow().GetFocusWindows(windows, 16), 0);
    SetFocus(host.text);
    Command(kNextFocus);
    EXPECT_TRUE(windows[0] == GetFocus() || IsChild(windows[0], GetFocus()));  // a combo box's edit takes it
    Command(kPreviousFocus);
    EXPECT_EQ(host.text, GetFocus());
    Command(kLexiconPaneToggle);
    Command(kNextFocus);
    EXPECT_EQ(Item(kTranslationCombo), GetFocus());
    Command(kMultiPaneToggle);

    // Closing keeps the open states and the widths.
    frame->Destroy();
    const struct {
        const char* name;
        LONG expected;
    } saved[] = {
        {"MultitransOpen", 0},
        {"LexiconOpen", 0},
        {"LexiconWidth", FractionToStored(0.3)},
        {"MultitransWidth", FractionToStored(0.1)},
    };
    for (const auto& v : saved) {
        ASSERT_TRUE(registry.GetRaw(v.name, &type, &value)) << v.name;
        EXPECT_EQ(v.expected, *reinterpret_cast<const LONG*>(value.data())) << v.name;
    }
}

TEST_F(MainFrameTest, StoredPaneStatesAndWidthsComeBack) {
    registry.SetDword("MultitransOpen", 0);
    registry.SetDword("LexiconWidth", static_cast<DWORD>(FractionToStored(0.25)));
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    SetClientWidth(1000);
    EXPECT_FALSE(frame->MultiPane().open);
    EXPECT_FALSE(Checked(kMultiPaneToggle));
    EXPECT_FALSE(IsWindowVisible(Item(kMultiPane)));
    EXPECT_EQ(750, PaneRect(kLexiconPane).left);
    EXPECT_EQ(750, host.hostRect.right);
    // The closed translations pane keeps its place beside the commentary pane.
    EXPECT_EQ(750, PaneRect(kMultiPane).right);
}

}  // namespace
