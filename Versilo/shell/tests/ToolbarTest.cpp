// The main window's toolbar as a reader uses it, over a stand-in host, the build's KJV sample
// bible beside a small second translation, a user commentary, and a scratch registry, after
// the program's own process start: real clicks and keys (SendInput, with the program's
// accelerators in the message loop) on the selector boxes, their spinners and the focus
// cycle; every button's tool tip as the tool tip asks for it; the translation box after a
// new order in the options sheet; the commentary button when the save before hiding fails;
// and the article view's script host.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "BibleFixture.h"
#include "BibleObjects.h"
#include "DataDirectories.h"
#include "FailingStorage.h"
#include "FakeBibleWindow.h"
#include "FrameIds.h"
#include "FrameStart.h"
#include "LexWnd.h"
#include "LexiconFiles.h"
#include "MainFrame.h"
#include "MessageText.h"
#include "ModalScript.h"
#include "OleHandles.h"
#include "OpenedFrame.h"
#include "OptionsResource.h"
#include "ScratchRegistry.h"
#include "TestFiles.h"
#include "VoUtil.h"
#include "WindowCapture.h"

using namespace frame_id;

namespace {

std::string Folder(const char* which) {
    char dir[kDirectoryCapacity];
    switch (which[0]) {
    case 'B':
        return GetBiblesDirectory(dir);
    case 'L':
        return GetLexiconsDirectory(dir);
    default:
        return GetRefLibsDirectory(dir);
    }
}

std::string ResString(UINT id) {
    char text[kTextCapacity];
    return LoadResString(text, id);
}

void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// The pointer moved to a point of the screen as the mouse moves it (the windows under it
// see the move).
void SendMove(POINT at) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

POINT Center(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT ScreenRect(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

// The sample bible's John and its third chapter (zero-based).
constexpr int kJohn = 42, kChapter3 = 2;

class ToolbarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The process is prepared as the program prepares its own before any window.
        PrepareProgramModule(GetModuleHandleA(nullptr));
        char program[kDirectoryCapacity];
        GetProgramDirectory(program);
        WriteWholeFile(std::string(program) + "Versilo.ini",
                       "[Directories]\r\nBibles=.\\scratch\\Bibles\r\nRefLibs=.\\scratch\\RefLibs\r\n"
                       "Lexicons=.\\scratch\\Lexicons\r\n");
        CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
        for (const char* which : {"B", "R", "L"}) CreateDirectoryA(Folder(which).c_str(), nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(registry.Ready());
        ASSERT_TRUE(ole.Ok());
        for (const char* which : {"B", "R", "L"}) EmptyFolder(Folder(which));
        ASSERT_TRUE(CopyFileA(WinePath(VERSILO_KJV_BIBLE).c_str(), (Folder("B") + "KJV.vrsb").c_str(), FALSE));
        BibleWriter second = SmallBible();  // "LTB": listed after "KJV"
        std::string error;
        ASSERT_TRUE(second.WriteFile(BibleFormat::kNew, Folder("B") + "LTB.vrsb", &error)) << error;
    }
    void TearDown() override {
        accelerators.reset();
        if (frame) frame->Destroy();
        Pump(30);
        frame.reset();
    }

    // The frame created and shown as the program does it, in front, with the program's
    // accelerators in this test's message loop.
    HWND Open(const char* commandLine) {
        const HWND hwnd = OpenFrameOver(&host, commandLine, &frame);
        if (!hwnd) return nullptr;
        SetForegroundWindow(hwnd);
        accelerators = std::make_unique<VoFrameAccelerators>(
            hwnd, LoadAcceleratorsA(GetResourceModule(), MAKEINTRESOURCEA(kAccelerators)));
        Pump(100);
        return hwnd;
    }
    // The program's message loop for a while: accelerators first, then dispatch.
    void Pump(DWORD milliseconds) {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) continue;  // the frame's close posts it
                if (accelerators && accelerators->PreTranslateMessage(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        } while (GetTickCount() - start < milliseconds);
    }
    // Pumps until done() holds, at most two seconds; whether it did.
    template <class F>
    bool PumpUntil(F done) {
        for (int i = 0; i < 100; ++i) {
            if (done()) return true;
            Pump(20);
        }
        return done();
    }
    // A left click at a point of the screen, as the mouse makes it.
    void ClickAt(POINT at) {
        MoveMouseTo(at);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Pump(30);
        SendMouse(MOUSEEVENTF_LEFTUP);
        Pump(60);
    }
    void MoveMouseTo(POINT at) {
        SendMove(at);
        Pump(30);
        POINT now = {};
        GetCursorPos(&now);
        EXPECT_TRUE(now.x == at.x && now.y == at.y) << now.x << "," << now.y << " for " << at.x << "," << at.y;
    }
    void PressKey(WORD key, bool shift = false) {
        if (shift) SendKey(VK_SHIFT, false);
        SendKey(key, false);
        SendKey(key, true);
        if (shift) SendKey(VK_SHIFT, true);
        Pump(60);
    }
    HWND Box(UINT id) const { return GetDlgItem(frame->Toolbar(), static_cast<int>(id)); }
    int Selection(UINT id) const { return static_cast<int>(SendMessageA(Box(id), CB_GETCURSEL, 0, 0)); }
    bool Dropped(UINT id) const { return SendMessageA(Box(id), CB_GETDROPPEDSTATE, 0, 0) != 0; }
    // A click on a box's arrow, at its right end.
    void ClickArrow(UINT id) {
        const RECT rc = ScreenRect(Box(id));
        ClickAt({rc.right - 6, (rc.top + rc.bottom) / 2});
    }
    // With the box's list open, a click on the first entry it shows that is not selected;
    // the entry clicked, or -1 when the list shows none.
    int ClickOtherEntry(UINT id) {
        const HWND box = Box(id);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(box, &info) || !info.hwndList) return -1;
        RECT list = {};
        GetClientRect(info.hwndList, &list);
        MapWindowPoints(info.hwndList, nullptr, reinterpret_cast<POINT*>(&list), 2);
        const int height = static_cast<int>(SendMessageA(box, CB_GETITEMHEIGHT, 0, 0));
        const int top = static_cast<int>(SendMessageA(box, CB_GETTOPINDEX, 0, 0));
        const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
        const int shown = height > 0 ? (list.bottom - list.top) / height : 0;
        for (int i = top; i < count && i < top + shown; ++i) {
            if (i == Selection(id)) continue;
            ClickAt({(list.left + list.right) / 2, list.top + (i - top) * height + height / 2});
            return i;
        }
        return -1;
    }
    // The entry of the focus cycle that holds the focus, -1 for none.
    static int FocusIndex(const std::vector<HWND>& cycle) {
        const HWND focus = GetFocus();
        for (size_t i = 0; i < cycle.size(); ++i)
            if (focus && (cycle[i] == focus || IsChild(cycle[i], focus))) return static_cast<int>(i);
        return -1;
    }
    bool ButtonChecked(UINT id) const { return SendMessageA(frame->Toolbar(), TB_ISBUTTONCHECKED, id, 0) != 0; }
    bool MenuChecked(UINT id) const {
        return (GetMenuState(GetMenu(frame->Handle()), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    ScratchRegistry registry;
    OleInitialization ole;
    FakeBibleWindow host;
    std::unique_ptr<VoMainWnd> frame;
    std::unique_ptr<VoFrameAccelerators> accelerators;
    StorageFaults faults;  // of a commentary's file; outlives the frame that saves through it
};

TEST_F(ToolbarTest, TheSelectorsTakeTheMouseAndTheKeyboard) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    ASSERT_EQ(kJohn, Selection(kBookCombo));
    ASSERT_EQ(kChapter3, Selection(kChapterCombo));
    // Two hits in the hit box, as a search leaves them: verse values of John 3:16 and 3:17.
    VoBibleObjects* objects = host.GetBibleObjects();
    ASSERT_TRUE(objects);
    const HWND hits = Box(kHitsCombo);
    for (int verse : {15, 16}) {
        int value = 0;
        ASSERT_EQ(S_OK, objects->GetIndexer()->MakeRef(&value, kJohn, kChapter3, verse));
        const LRESULT item = SendMessageA(hits, CB_ADDSTRING, 0,
                                          reinterpret_cast<LPARAM>(("Joh 3," + std::to_string(verse + 1)).c_str()));
        SendMessageA(hits, CB_SETITEMDATA, static_cast<WPARAM>(item), value);
    }
    SendMessageA(hits, CB_SETCURSEL, 0, 0);

    // A click on each box's arrow opens its list; a click on an entry goes there.
    struct Case {
        UINT box;
        const char* call;  // the host's call for the chosen entry, before its argument
    } cases[] = {
        {kBookCombo, "SetBook"},
        {kChapterCombo, "SetChapter"},
        {kHitsCombo, "GoToVerse"},
        {kTranslationCombo, "SetBible"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        ClickArrow(c.box);
        ASSERT_TRUE(PumpUntil([&] { return Dropped(c.box); }));
        if (c.box == kBookCombo) {
            COMBOBOXINFO info = {};
            info.cbSize = sizeof info;
            GetComboBoxInfo(Box(c.box), &info);
            Capture::Of(info.hwndList, true).SaveArtifact("main-frame-book-list.bmp");
        }
        host.calls.clear();
        const int chosen = ClickOtherEntry(c.box);
        ASSERT_GE(chosen, 0);
        EXPECT_TRUE(PumpUntil([&] { return !Dropped(c.box); }));
        const LRESULT data = SendMessageA(Box(c.box), CB_GETITEMDATA, static_cast<WPARAM>(chosen), 0);
        const long long argument = c.box == kHitsCombo || c.box == kTranslationCombo ? data : chosen;
        const std::string call = std::string(c.call) + "(" + std::to_string(argument) + ")";
        EXPECT_NE(host.calls.end(), std::find(host.calls.begin(), host.calls.end(), call)) << call;
        EXPECT_EQ(chosen, Selection(c.box));
    }
    // Each arrow of a spinner steps one book or chapter from John 3 of the KJV: up is the
    // next one, down the one before.
    struct Step {
        UINT spin;
        bool up;
        const char* call;
    } steps[] = {
        {kBookSpin, true, "SetBook(43)"},
        {kBookSpin, false, "SetBook(41)"},
        {kChapterSpin, true, "SetChapter(3)"},
        {kChapterSpin, false, "SetChapter(1)"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.call);
        host.GoToPosition(&host.startPosition);
        ASSERT_EQ(kJohn, Selection(kBookCombo));
        const RECT rc = ScreenRect(Box(s.spin));
        const int quarter = (rc.bottom - rc.top) / 4;
        host.calls.clear();
        ClickAt({(rc.left + rc.right) / 2, s.up ? rc.top + quarter : rc.bottom - quarter});
        EXPECT_EQ(s.call, host.LastCall());
    }

    // Tab and Shift+Tab walk the cycle: the four boxes, the text window, the commentary pane.
    std::vector<HWND> cycle;
    for (UINT id : {kTranslationCombo, kBookCombo, kChapterCombo, kHitsCombo}) cycle.push_back(Box(id));
    cycle.push_back(host.text);
    HWND pane[16];
    const int paneCount = frame->LexiconWindow().GetFocusWindows(pane, 16);
    ASSERT_GT(paneCount, 0);
    cycle.insert(cycle.end(), pane, pane + paneCount);
    SetFocus(host.text);
    Pump(30);
    const int n = static_cast<int>(cycle.size());
    int expected = 4;
    for (int i = 0; i < n; ++i) {
        PressKey(VK_TAB);
        expected = (expected + 1) % n;
        EXPECT_EQ(expected, FocusIndex(cycle)) << "Tab " << i + 1;
    }
    EXPECT_EQ(4, expected);
    for (int i = 0; i < n + 2; ++i) {
        PressKey(VK_TAB, true);
        expected = (expected + n - 1) % n;
        EXPECT_EQ(expected, FocusIndex(cycle)) << "Shift+Tab " << i + 1;
    }
    EXPECT_EQ(Box(kChapterCombo), GetFocus());  // two back from the text window
    Capture::Of(frame->Handle(), true).SaveArtifact("main-frame-toolbar-focus.bmp");
}

TEST_F(ToolbarTest, EveryToolbarButtonShowsItsTip) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    const HWND tips = reinterpret_cast<HWND>(SendMessageA(frame->Toolbar(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(tips);
    char back[kTextCapacity];
    host.canBack = true;  // a step back: its tip names it
    FormatResString(back, kIdsBackTo, "Joh 3");
    const struct {
        UINT command;
        std::string tip;
    } cases[] = {
        {kNewPane, ResString(kNewPane)},
        {kCopy, ResString(kCopy)},
        {kBack, back},
        {kForward, ResString(kIdsForwardNone)},
        {kCloseLevel, ResString(kIdsCloseChapter)},
        {kSearch, ResString(kSearch)},
        {kMarkSelection, ResString(kMarkSelection)},
        {kMultiPaneToggle, ResString(kMultiPaneToggle)},
        {kLexiconPaneToggle, ResString(kLexiconPaneToggle)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_FALSE(c.tip.empty());
        // What the tool tip shows: it asks the toolbar, which asks the frame.
        char text[256] = "";
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = frame->Toolbar();
        tool.uId = c.command;
        tool.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(c.tip, text);
    }
}

TEST_F(ToolbarTest, TheTranslationBoxFollowsANewOrder) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    auto items = [&] {
        std::vector<std::string> shown;
        const HWND box = Box(kTranslationCombo);
        const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = "";
            SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            shown.push_back(std::string(text) + "=" +
                            std::to_string(SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
        }
        return shown;
    };
    EXPECT_EQ((std::vector<std::string>{"KJV=0", "LTB=1"}), items());
    EXPECT_EQ(0, Selection(kTranslationCombo));

    // The small translation moved to the top on the translations page, then OK.
    auto page = [] {
        for (HWND dialog : ModalScript::ThreadDialogs()) {
            if (!GetDlgItem(dialog, IDC_FRAME_TABS)) continue;
            return FindWindowExA(dialog, nullptr, "#32770", nullptr);
        }
        return HWND{};
    };
    ModalScript script({
        [&] {
            const HWND sheet = GetParent(page());
            const HWND tabs = GetDlgItem(sheet, IDC_FRAME_TABS);
            RECT rc = {};
            SendMessageA(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rc));
            const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(tabs, WM_LBUTTONUP, 0, at);
        },
        [&] {
            LVITEMA item = {};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(GetDlgItem(page(), IDC_MULTITRANS_ORDER), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
            SendMessageA(GetDlgItem(page(), IDC_MOVE_UP), BM_CLICK, 0, 0);
            const HWND sheet = GetParent(page());
            SendMessageA(sheet, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(sheet, IDOK)));
        },
    });
    SendMessageA(frame->Handle(), WM_COMMAND, kOptions, 0);
    EXPECT_FALSE(script.TimedOut());
    ASSERT_TRUE(script.Finished());
    ASSERT_EQ(1, frame->GetBibleList()->GetOrderAt(0));
    // The box lists the new order, each entry still its translation's, the KJV still chosen.
    EXPECT_EQ((std::vector<std::string>{"LTB=1", "KJV=0"}), items());
    EXPECT_EQ(1, Selection(kTranslationCombo));
    // And a choice in it still goes to the translation it names.
    SendMessageA(Box(kTranslationCombo), CB_SETCURSEL, 0, 0);
    SendMessageA(frame->Handle(), WM_COMMAND, MAKEWPARAM(kTranslationCombo, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(Box(kTranslationCombo)));
    EXPECT_EQ("SetBible(1)", host.LastCall());
}

TEST_F(ToolbarTest, TheCommentaryButtonStaysCheckedWhenTheSaveBeforeHidingFails) {
    // A user commentary in the scratch "Lexicons" folder, made over the KJV's book names.
    const std::string path = Folder("L") + "Notater.vrsn";
    {
        ComPtr<IBible> bible;
        ASSERT_EQ(S_OK, OpenAnyBible(BibleFormat::kNew, Folder("B") + "KJV.vrsb", bible.Put()));
        VoBibleObjects objects;
        ASSERT_TRUE(objects.Attach(bible.Get()));
        ComPtr<IVoLexicon> lex;
        ASSERT_EQ(S_OK, CreateOldVoLexFile(path.c_str(), objects.GetLangStat(), "Mine notater", lex.Put()));
        for (const char* title : {"Abraham", "Moses"}) {
            int id = 0;
            ASSERT_EQ(S_OK, lex->AddEntry(title, &id));
            ASSERT_EQ(S_OK, lex->SetEntryText(id, "om"));
        }
        ASSERT_EQ(S_OK, SaveLexicon(lex.Get()));
    }
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    VoLexWnd& pane = frame->LexiconWindow();
    const HWND chooser = pane.Chooser();
    int index = -1;
    for (int i = 0; i < pane.List().GetCount(); ++i)
        if (lstrcmpiA(pane.List().GetAt(i).GetFileName(), "Notater.vrsn") == 0) index = i;
    ASSERT_GE(index, 0);
    const int count = static_cast<int>(SendMessageA(chooser, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(chooser, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == index)
            SendMessageA(chooser, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(pane.Handle(), WM_COMMAND, MAKEWPARAM(kLexChooserId, CBN_SELENDOK), reinterpret_cast<LPARAM>(chooser));
    SendMessageA(pane.Handle(), WM_COMMAND, MAKEWPARAM(kLexEditModeId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(pane.Button(kLexEditModeId)));
    ASSERT_TRUE(pane.IsEditing());
    // The commentary's file takes no more commits, as on a full disk; a note is typed.
    ASSERT_TRUE(InterposeFailingStorage(pane.List().GetAt(index).PeekLexicon(), path, faults));
    pane.TitleBox().SetCurSel(1);  // Moses
    SendMessageA(pane.Handle(), WM_COMMAND, MAKEWPARAM(kLexTitleBoxId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(pane.TitleBox().Handle()));
    ASSERT_TRUE(IsWindowEnabled(pane.EditBox()));
    SendMessageA(pane.EditBox(), EM_SETSEL, 0, -1);
    SendMessageA(pane.EditBox(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("et notat"));
    faults.failCommit = STG_E_MEDIUMFULL;

    RECT button = {};
    SendMessageA(frame->Toolbar(), TB_GETRECT, kLexiconPaneToggle, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(frame->Toolbar(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    ASSERT_TRUE(ButtonChecked(kLexiconPaneToggle));
    // A click on the button: the save fails, the reader is told, the pane stays, and so does
    // the button's check.
    // Every message box is read and closed; one left open ends the script's time and fails.
    std::vector<std::string> messages;
    const ModalScript::Step closeBox = [&] {
        for (HWND box : ModalScript::ThreadDialogs()) {
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            messages.push_back(text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    };
    ModalScript script({closeBox, closeBox, closeBox});
    ClickAt(Center(button));
    Pump(200);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(1u, messages.size());
    EXPECT_EQ(0u, messages[0].find("Klarte ikke lagre kommentarfilen")) << messages[0];
    EXPECT_TRUE(frame->LexiconPane().open);
    EXPECT_TRUE(IsWindowVisible(pane.Handle()));
    EXPECT_TRUE(ButtonChecked(kLexiconPaneToggle));
    EXPECT_TRUE(MenuChecked(kLexiconPaneToggle));

    // Once the file takes writes again, the same click hides the pane and clears the check.
    faults.failCommit = S_OK;
    messages.clear();
    ClickAt(Center(button));
    Pump(200);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_FALSE(frame->LexiconPane().open);
    EXPECT_FALSE(IsWindowVisible(pane.Handle()));
    EXPECT_FALSE(ButtonChecked(kLexiconPaneToggle));
    EXPECT_FALSE(MenuChecked(kLexiconPaneToggle));
    EXPECT_FALSE(script.TimedOut());
    frame->Destroy();
    Pump(30);
    EXPECT_TRUE(messages.empty()) << messages.front();
    frame.reset();
    // The note typed before the refusal is in the file.
    ComPtr<IVoLexicon> stored;
    ASSERT_EQ(S_OK, OpenVoLexFile(path.c_str(), stored.Put()));
    int id = 0;
    ASSERT_EQ(S_OK, stored->FindEntryByKey("Moses", &id));
    char text[64] = "";
    stored->GetEntryText(id, text, sizeof text);
    EXPECT_STREQ("et notat", text);
}

TEST_F(ToolbarTest, TheArticleViewsScriptHostAnswersAfterTheProgramsStart) {
    ASSERT_TRUE(Open("KJV Joh 3:16"));
    // window.external as page script finds it: the commentary pane's article view's host.
    CVoHtmlHost* host = frame->LexiconWindow().ArticleView().GetHostObject();
    ASSERT_TRUE(host);
    ComPtr<IDispatch> external;
    ASSERT_EQ(S_OK, host->QueryInterface(IID_IDispatch, external.PutVoid()));
    UINT infos = 0;
    EXPECT_EQ(S_OK, external->GetTypeInfoCount(&infos));
    EXPECT_EQ(1u, infos);
    LPOLESTR name = const_cast<LPOLESTR>(L"CustomMessage");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, external->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    // A trace message (999) through Invoke reaches the view, which answers it.
    Bstr text(L"trace");
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[0]) = VT_BSTR;  // arguments in reverse order
    V_BSTR(&args[0]) = text.Get();
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 999;
    DISPPARAMS params = {args, nullptr, 2, 0};
    Variant result;
    EXCEPINFO error = {};
    UINT argError = 0;
    EXPECT_EQ(S_OK, external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Put(), &error,
                                     &argError));
}

}  // namespace
