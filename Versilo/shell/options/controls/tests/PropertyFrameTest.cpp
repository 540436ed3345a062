// The property frame: page switching by tab clicks and Ctrl+Tab (wrapping both ways), a
// page whose Apply fails keeping the user on it, OK applying only the current page, Cancel
// applying nothing, only the current page having a window, frames without pages failing
// cleanly, and a frame opened from a page taking the keys and handing them back.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "ModalScript.h"
#include "PropertyFrameResource.h"
#include "PropertyFrame.h"
#include "WindowCapture.h"

namespace {

// A page whose Apply answers as told and counts its calls; its edit counts the key-downs
// that reach it.
class TestPage : public RyPropertyPage {
public:
    TestPage(UINT templateId, UINT titleId) : RyPropertyPage(templateId, titleId) {}
    bool Apply() override {
        ++applies;
        return applyAnswer;
    }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_INITDIALOG) {
            RyPropertyPage::ProcessWindowMessage(hwnd, message, wParam, lParam, result);
            editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(GetDlgItem(hwnd, 1100), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountKeys)));
            ++shown;
            return true;
        }
        return false;
    }
    static LRESULT CALLBACK CountKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN && wParam == VK_TAB) ++s_tabKeysAtEdit;
        return CallWindowProcA(editProc, hwnd, message, wParam, lParam);
    }
    int applies = 0;
    int shown = 0;
    bool applyAnswer = true;
    static inline WNDPROC editProc = nullptr;
    static inline int s_tabKeysAtEdit = 0;
};

class TestFrame : public RyPropertyFrame {
public:
    TestFrame() : RyPropertyFrame(IDD_VIEW_OPTIONS), pages_{{300, 129}, {301, 130}, {302, 137}} {
        RyPropertyPage* list[] = {&pages_[0], &pages_[1], &pages_[2]};
        SetPages(list, 3);
    }
    TestPage& Page(int i) { return pages_[i]; }
    HWND Tabs() const { return Item(IDC_FRAME_TABS); }
    int TabSelection() const { return static_cast<int>(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0)); }
    int PagesWithWindows() {
        int n = 0;
        for (TestPage& p : pages_) n += p.IsWindow() ? 1 : 0;
        return n;
    }

private:
    TestPage pages_[3];
};

// Presses key with the modifiers held, as the user would in the focused control: the
// keyboard state first (posted keys do not change it), then the posted key-down, pumped
// by the running modal loop.
void PressKey(UINT key, bool control, bool shift) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, key, 1);
}
void ReleaseModifiers() {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

// Clicks the tab at index, at the middle of its rectangle.
void ClickTab(HWND tabs, int index) {
    RECT rc = {};
    SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
}

TEST(PropertyFrame, CtrlTabWrapsBothWaysAndOnlyTheCurrentPageHasAWindow) {
    TestFrame frame;
    std::vector<int> seen, tabs, windows;
    int keysAtEdit = -1;
    auto note = [&] {
        seen.push_back(frame.GetCurrentPage());
        tabs.push_back(frame.TabSelection());
        windows.push_back(frame.PagesWithWindows());
    };
    TestPage::s_tabKeysAtEdit = 0;
    ModalScript script({
        [&] { note(); SetFocus(GetDlgItem(frame.Page(0).Handle(), 1100)); },
        [&] { PressKey(VK_TAB, true, false); },
        [&] { note(); SetFocus(GetDlgItem(frame.Page(1).Handle(), 1100)); PressKey(VK_TAB, true, false); },
        [&] { note(); PressKey(VK_TAB, true, false); },
        [&] { note(); PressKey(VK_TAB, true, true); },
        [&] { note(); PressKey(VK_TAB, true, true); },
        [&] {
            note();
            ReleaseModifiers();
            keysAtEdit = TestPage::s_tabKeysAtEdit;
            UpdateWindow(frame.Handle());
            Capture::Of(frame.Handle(), true).SaveArtifact("property-frame.bmp");
            SendMessageA(frame.Handle(), WM_COMMAND, IDCANCEL, 0);
        },
    });
    EXPECT_EQ(IDCANCEL, frame.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    // 0 -> 1 -> 2 -> 0 forward, then 0 -> 2 -> 1 back.
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 2, 1}), seen);
    EXPECT_EQ(seen, tabs);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 1, 1, 1}), windows);
    // The keys became the frame's commands and nothing else: the page's edit got none.
    EXPECT_EQ(0, keysAtEdit);
    EXPECT_EQ(0, frame.PagesWithWindows());
    // Leaving a page applied it (0 twice, 1 once, 2 twice); Cancel applied nothing more.
    EXPECT_EQ(2, frame.Page(0).applies);
    EXPECT_EQ(1, frame.Page(1).applies);
    EXPECT_EQ(2, frame.Page(2).applies);
    // A page's window is made again each time it is shown.
    EXPECT_EQ((std::vector<int>{2, 2, 2}),
              (std::vector<int>{frame.Page(0).shown, frame.Page(1).shown, frame.Page(2).shown}));
}

TEST(PropertyFrame, AFailingApplyKeepsTheUserOnThePageAndCancelAppliesNothing) {
    TestFrame frame;
    frame.Page(0).applyAnswer = false;
    TestPage::s_tabKeysAtEdit = 0;
    std::vector<int> seen;
    bool focusKept = false;
    bool openAfterOk = false;
    int appliesBeforeCancel = 0;
    ModalScript script({
        [&] { ClickTab(frame.Tabs(), 1); },
        [&] { seen.push_back(frame.GetCurrentPage()); seen.push_back(frame.TabSelection());
              SetFocus(GetDlgItem(frame.Page(0).Handle(), 1100)); PressKey(VK_TAB, true, false); },
        [&] { seen.push_back(frame.GetCurrentPage()); focusKept = GetFocus() == GetDlgItem(frame.Page(0).Handle(), 1100);
              PressKey(VK_TAB, true, true); },
        [&] { ReleaseModifiers(); seen.push_back(frame.GetCurrentPage());
              SendMessageA(frame.Handle(), WM_COMMAND, IDOK, 0); },
        [&] { openAfterOk = frame.IsWindow(); appliesBeforeCancel = frame.Page(0).applies;
              SendMessageA(frame.Handle(), WM_COMMAND, IDCANCEL, 0); },
    });
    EXPECT_EQ(IDCANCEL, frame.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), seen);
    // The refused keys were still the frame's alone: neither the edit that had the focus
    // nor the dialog manager (which would move the focus on) acted on them.
    EXPECT_EQ(0, TestPage::s_tabKeysAtEdit);
    EXPECT_TRUE(focusKept);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(4, appliesBeforeCancel);  // tab click, Ctrl+Tab, Ctrl+Shift+Tab, OK
    EXPECT_EQ(4, frame.Page(0).applies);
    EXPECT_EQ(0, frame.Page(1).shown);
}

TEST(PropertyFrame, OkAppliesOnlyTheCurrentPage) {
    TestFrame frame;
    ModalScript script({
        [&] { ClickTab(frame.Tabs(), 1); },
        [&] { SendMessageA(frame.Handle(), WM_COMMAND, IDOK, 0); },
    });
    EXPECT_EQ(IDOK, frame.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_EQ(1, frame.Page(0).applies);  // when it was left
    EXPECT_EQ(1, frame.Page(1).applies);  // on OK
    EXPECT_EQ(0, frame.Page(2).applies);  // never shown
    EXPECT_EQ(0, frame.Page(2).shown);
}

TEST(PropertyFrame, AFrameWithoutPagesOrWithAPageThatCannotBeMadeFailsCleanly) {
    struct Bare : RyPropertyFrame {
        Bare() : RyPropertyFrame(IDD_VIEW_OPTIONS) {}
    };
    Bare empty;
    EXPECT_EQ(0, empty.GetPageCount());
    EXPECT_EQ(-1, empty.DoModal(nullptr));

    Bare nulls;
    RyPropertyPage* withNull[] = {nullptr};
    EXPECT_FALSE(nulls.SetPages(withNull, 1));
    EXPECT_EQ(-1, nulls.DoModal(nullptr));

    // A first page whose template is missing: the frame ends at once instead of showing nothing.
    Bare missing;
    TestPage noTemplate(4321, 129);
    RyPropertyPage* list[] = {&noTemplate};
    ASSERT_TRUE(missing.SetPages(list, 1));
    ModalScript watchdog({}, 40, 5000);
    EXPECT_EQ(-1, missing.DoModal(nullptr));
    EXPECT_FALSE(watchdog.TimedOut());
}

TEST(PropertyFrame, ANestedFrameTakesTheKeysAndHandsThemBack) {
    TestFrame outer, inner;
    std::vector<int> innerSeen, outerSeen;
    INT_PTR innerResult = 0;
    ModalScript script({
        [&] {
            ModalScript::AllowNested();
            innerResult = inner.DoModal(outer.Handle());  // the next steps run inside
            // Back in the outer frame: its keys are its own again.
            SetFocus(GetDlgItem(outer.Page(0).Handle(), 1100));
            PressKey(VK_TAB, true, false);
        },
        [&] { SetFocus(GetDlgItem(inner.Page(0).Handle(), 1100)); PressKey(VK_TAB, true, false); },
        [&] { innerSeen.push_back(inner.GetCurrentPage()); outerSeen.push_back(outer.GetCurrentPage());
              SendMessageA(inner.Handle(), WM_COMMAND, IDOK, 0); },
        [&] { ReleaseModifiers(); outerSeen.push_back(outer.GetCurrentPage());
              SendMessageA(outer.Handle(), WM_COMMAND, IDOK, 0); },
    });
    EXPECT_EQ(IDOK, outer.DoModal(nullptr));
    ASSERT_FALSE(script.TimedOut());
    EXPECT_EQ(IDOK, innerResult);
    EXPECT_EQ((std::vector<int>{1}), innerSeen);
    EXPECT_EQ((std::vector<int>{0, 1}), outerSeen);
}

}  // namespace
