// Dialogs on the window base: a modal dialog from a resource template driven by its own
// timer (rows by command id, code and range, WM_NOTIFY by id and code, DWLP_MSGRESULT, the
// answer of EndDialog), a modeless dialog forgotten by an object that dies first, the
// message loop's pre-translate chain (accelerators, IsDialogMessage) and a property page
// whose map chains to the page base.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "RyDialog.h"
#include "RyMessageMap.h"
#include "TestWindows.h"
#include "UserHandles.h"
#include "WindowCapture.h"

namespace {

constexpr UINT kDialogId = 100;
constexpr UINT kPageId = 101;
constexpr UINT kEdit = 1019;
constexpr UINT kAsk = WM_APP + 5;
constexpr UINT kCustomCode = static_cast<UINT>(-1234);

class GotoLikeDialog : public RyDialog {
public:
    GotoLikeDialog() : RyDialog(kDialogId) {}

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = GotoLikeDialog;
        static const RyMessageEntry<Self> map[] = {
            {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
            {WM_TIMER, RyOnTimer<&Self::OnTimer>},
            {kAsk, RyMsg<&Self::OnAsk>},
            RyCommandCode<Self>(kEdit, EN_CHANGE, RyOnCommand<&Self::OnEditChanged>),
            RyCommandRange<Self>(2000, 2002, RyOnCommand<&Self::OnPick>),
            RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
            RyNotify<Self>(kEdit, kCustomCode, RyOnNotify<&Self::OnCustomNotify>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    void OnFinalMessage(HWND hwnd) override {
        ++finals;
        finalHandle = hwnd;
    }

    bool boundAtInit = false;
    std::vector<UINT> picks;
    int edits = 0;
    LRESULT askAnswer = 0;
    LRESULT notifyAnswer = 0;
    int finals = 0;
    HWND finalHandle = nullptr;
    HWND dialog = nullptr;

private:
    bool OnInitDialog(HWND, LPARAM) {
        boundAtInit = Handle() != nullptr && Item(kEdit) != nullptr;
        dialog = Handle();
        ::SetTimer(Handle(), 1, 20, nullptr);
        return true;
    }
    void OnTimer(UINT_PTR id) {
        ::KillTimer(Handle(), id);
        // What a user would do: type, press the numbered buttons (and one outside the range).
        ::SetDlgItemTextA(Handle(), kEdit, "Joh 3,16");
        for (int id2 : {2000, 2002, 2003, 1999})
            Send(WM_COMMAND, MAKEWPARAM(id2, BN_CLICKED), reinterpret_cast<LPARAM>(Item(2000)));
        askAnswer = ::SendMessageA(Handle(), kAsk, 0, 0);
        NMHDR hdr = {Item(kEdit), kEdit, kCustomCode};
        notifyAnswer = ::SendMessageA(Handle(), WM_NOTIFY, kEdit, reinterpret_cast<LPARAM>(&hdr));
        hdr.code = kCustomCode - 1;  // another code of the same control: not this row's
        EXPECT_EQ(0, ::SendMessageA(Handle(), WM_NOTIFY, kEdit, reinterpret_cast<LPARAM>(&hdr)));
        ::UpdateWindow(Handle());
        EXPECT_TRUE(Capture::Of(Handle(), true).SaveArtifact("window-base-dialog.bmp"));
        Send(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(Item(IDOK)));
    }
    LRESULT OnAsk(WPARAM, LPARAM) { return 4711; }
    void OnEditChanged(UINT, UINT, HWND) { ++edits; }
    void OnPick(UINT id, UINT code, HWND) {
        EXPECT_EQ(static_cast<UINT>(BN_CLICKED), code);
        picks.push_back(id);
    }
    void OnOK(UINT, UINT, HWND) { EndDialog(77); }
    LRESULT OnCustomNotify(NMHDR& hdr) { return hdr.idFrom == kEdit ? 55 : 0; }
};

void EndActiveDialog() {
    if (HWND dialog = GetActiveWindow()) EndDialog(dialog, -2);
}

TEST(RyDialog, AModalDialogFromATemplateRoutesItsCommandsAndAnswers) {
    Watchdog watchdog(5000, &EndActiveDialog);
    GotoLikeDialog dlg;
    EXPECT_EQ(77, dlg.DoModal(nullptr));
    ASSERT_FALSE(Watchdog::Fired());
    EXPECT_TRUE(dlg.boundAtInit);
    EXPECT_GE(dlg.edits, 1);
    EXPECT_EQ((std::vector<UINT>{2000, 2002}), dlg.picks);
    EXPECT_EQ(4711, dlg.askAnswer);   // through DWLP_MSGRESULT
    EXPECT_EQ(55, dlg.notifyAnswer);
    EXPECT_EQ(1, dlg.finals);
    EXPECT_EQ(dlg.dialog, dlg.finalHandle);
    EXPECT_EQ(nullptr, dlg.Handle());
}

TEST(RyDialog, AMissingTemplateFails) {
    struct Empty : RyDialog {
        Empty() : RyDialog(4321) {}
        bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    } missing;
    EXPECT_EQ(-1, missing.DoModal(nullptr));
    EXPECT_EQ(nullptr, missing.Create(nullptr));
}

// A modeless dialog that ends the program's loop on Cancel, beside a main window whose
// accelerator table turns F5 into a command.
class ModelessDialog : public RyDialog {
public:
    ModelessDialog() : RyDialog(kDialogId) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = ModelessDialog;
        static const RyMessageEntry<Self> map[] = {
            RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    int cancels = 0;
    int asked = 0;

private:
    void OnCancel(UINT, UINT, HWND) {
        ++cancels;
        ::PostQuitMessage(5);
    }
};

class MainWindow : public RyWindowImpl<MainWindow, RyWindowTraits<WS_OVERLAPPEDWINDOW>> {
public:
    static void GetWindowClass(ry::WindowClass& wc) {
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "RyDialogTestMain";
    }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = MainWindow;
        static const RyMessageEntry<Self> map[] = {
            RyCommand<Self>(40001, RyOnCommand<&Self::OnRefresh>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    std::vector<UINT> codes;

private:
    void OnRefresh(UINT, UINT code, HWND) { codes.push_back(code); }
};

void QuitLoop() { PostQuitMessage(-1); }

TEST(RyDialog, TheMessageLoopRunsAcceleratorsAndModelessDialogsThroughOneChain) {
    MainWindow main;
    RyCreateParams p;
    p.title = "Versilo";
    ASSERT_NE(nullptr, main.Create(p));
    ModelessDialog dlg;
    ASSERT_NE(nullptr, dlg.Create(main.Handle()));
    ACCEL keys[] = {{FVIRTKEY, VK_F5, 40001}};
    AcceleratorTable table(CreateAcceleratorTableA(keys, 1));
    RyMessageLoop loop;
    RyAcceleratorFilter accelerators(main.Handle(), table.Get());
    loop.AddFilter(&accelerators);
    loop.AddFilter(&dlg);

    Watchdog watchdog(5000, &QuitLoop);
    PostMessageA(main.Handle(), WM_KEYDOWN, VK_F5, 1);
    PostMessageA(dlg.Item(kEdit), WM_KEYDOWN, VK_ESCAPE, 1);  // the dialog manager's Cancel
    EXPECT_EQ(5, loop.Run());
    EXPECT_EQ((std::vector<UINT>{1}), main.codes);  // code 1: from an accelerator
    EXPECT_EQ(1, dlg.cancels);

    // A dialog removed from the chain gets no IsDialogMessage: the key reaches the edit only.
    loop.RemoveFilter(&dlg);
    MSG msg = {dlg.Item(kEdit), WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_FALSE(loop.PreTranslate(msg));
    DestroyWindow(dlg.Handle());
    DestroyWindow(main.Handle());
}

TEST(RyDialog, AModelessDialogIsForgottenWhenItsObjectDiesFirst) {
    RyMessageLoop loop;
    auto* dlg = new ModelessDialog;
    HWND hwnd = dlg->Create(nullptr);
    ASSERT_NE(nullptr, hwnd);
    loop.AddFilter(dlg);
    delete dlg;  // leaves the chain and the window
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Later messages get the dialog manager's handling, not a dead object.
    SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    MSG msg = {GetDlgItem(hwnd, kEdit), WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_FALSE(loop.PreTranslate(msg));
    EXPECT_TRUE(DestroyWindow(hwnd));
}

class OptionsPage : public RyPropertyPage {
public:
    OptionsPage() : RyPropertyPage(kPageId, 0) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = OptionsPage;
        static const RyMessageEntry<Self> map[] = {
            {WM_INITDIALOG, RyMsgMaybe<&Self::OnInitDialog>},
            RyChain<Self>(RyChainBase<RyPropertyPage, Self>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    bool Apply() override { return ::GetWindowTextLengthA(Item(1100)) > 0; }
    int inits = 0;

private:
    LRESULT OnInitDialog(WPARAM, LPARAM, bool& handled) {
        ++inits;
        handled = false;  // on to the page base
        return 0;
    }
};

TEST(RyDialog, APropertyPageIsAChildDialogThatChainsToThePageBase) {
    MainWindow frame;
    RyCreateParams p;
    p.x = 30;
    p.y = 30;
    p.cx = 320;
    p.cy = 200;
    ASSERT_NE(nullptr, frame.Create(p));
    OptionsPage page;
    HWND hwnd = page.Create(frame.Handle());
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(frame.Handle(), GetParent(hwnd));
    EXPECT_EQ(1, page.inits);
    EXPECT_FALSE(page.Apply());
    SetDlgItemTextA(hwnd, 1100, "x");
    EXPECT_TRUE(page.Apply());

    ShowWindow(frame.Handle(), SW_SHOW);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(frame.Handle());
    Pump(50);
    EXPECT_TRUE(Capture::Of(frame.Handle(), true).SaveArtifact("window-base-property-page.bmp"));
    DestroyWindow(frame.Handle());
}

}  // namespace
