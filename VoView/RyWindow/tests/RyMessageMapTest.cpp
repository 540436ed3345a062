// The message map on real windows: a command range among other rows, a member's map
// chained in, the crackers' reading of signed points, whole thumb positions and the
// keyboard context menu, and a child's WM_DRAWITEM reflected back to the child.
#include <gtest/gtest.h>
#include <vector>
#include "Handles.h"
#include "RyMessageMap.h"
#include "RySubclassedWindow.h"
#include "RyWindowImpl.h"
#include "TestWindows.h"
#include "WindowCapture.h"

namespace {

constexpr UINT kMemberMessage = WM_APP + 20;

// A part of a window with its own map, chained in by its owner.
struct Part {
    bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != kMemberMessage) return false;
        result = static_cast<LRESULT>(wParam) * 2;
        return true;
    }
};

struct Seen {
    std::vector<UINT> commands;
    POINT mouse = {};
    UINT keys = 0;
    int scrollCode = -1;
    UINT thumb = 0;
    HWND bar = nullptr;
    HWND menuWindow = nullptr;
    POINT menuPoint = {};
    bool keyboardMenu = false;
    UINT menuItem = 0, menuFlags = 0;
    HMENU menu = reinterpret_cast<HMENU>(1);
    UINT_PTR timer = 0;
    bool setCursor = false;
};

class MapWindow : public RyWindowImpl<MapWindow, RyWindowTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN>> {
public:
    static void GetWindowClass(ry::WindowClass& wc) {
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "RyMessageMapTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    }
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = MapWindow;
        static const RyMessageEntry<Self> map[] = {
            RyCommand<Self>(3000, RyOnCommand<&Self::OnCommand>),
            RyCommandRange<Self>(3001, 3009, RyOnCommand<&Self::OnCommand>),
            {WM_LBUTTONDOWN, RyOnMouse<&Self::OnMouse>},
            {WM_VSCROLL, RyOnScroll<&Self::OnScroll>},
            {WM_CONTEXTMENU, RyOnContextMenu<&Self::OnContextMenu>},
            {WM_MENUSELECT, RyOnMenuSelect<&Self::OnMenuSelect>},
            {WM_GETMINMAXINFO, RyOnGetMinMaxInfo<&Self::OnMinMax>},
            {WM_TIMER, RyOnTimer<&Self::OnTimer>},
            {WM_SETCURSOR, RyOnSetCursor<&Self::OnSetCursor>},
            RyChain<Self>(RyChainMember<&Self::part_>),
            RyChain<Self>(RyReflectToChild<Self>),
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    Seen seen;
    bool claimCursor = false;

private:
    void OnCommand(UINT id, UINT, HWND) { seen.commands.push_back(id); }
    void OnMouse(UINT keys, POINT pt) {
        seen.keys = keys;
        seen.mouse = pt;
    }
    void OnScroll(int code, UINT thumb, HWND bar) {
        seen.scrollCode = code;
        seen.thumb = thumb;
        seen.bar = bar;
    }
    void OnContextMenu(HWND window, POINT pt, bool keyboard) {
        seen.menuWindow = window;
        seen.menuPoint = pt;
        seen.keyboardMenu = keyboard;
    }
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) {
        seen.menuItem = item;
        seen.menuFlags = flags;
        seen.menu = menu;
    }
    void OnMinMax(MINMAXINFO& info) { info.ptMinTrackSize = {321, 123}; }
    void OnTimer(UINT_PTR id) {
        ::KillTimer(Handle(), id);
        seen.timer = id;
    }
    bool OnSetCursor(HWND, UINT, UINT) {
        seen.setCursor = true;
        return claimCursor;
    }
    Part part_;
};

class MapTest : public testing::Test {
protected:
    void SetUp() override {
        RyCreateParams p;
        p.x = 20;
        p.y = 20;
        p.cx = 300;
        p.cy = 200;
        ASSERT_NE(nullptr, window_.Create(p));
        hwnd_ = window_.Handle();
    }
    void TearDown() override { DestroyWindow(hwnd_); }
    MapWindow window_;
    HWND hwnd_ = nullptr;
};

TEST_F(MapTest, CommandRowsMatchTheirIdsAndRangeOnly) {
    for (UINT id : {2999u, 3000u, 3001u, 3005u, 3009u, 3010u})
        SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ((std::vector<UINT>{3000, 3001, 3005, 3009}), window_.seen.commands);
    EXPECT_EQ(42, SendMessageA(hwnd_, kMemberMessage, 21, 0));  // the member's map
}

TEST_F(MapTest, CrackersReadSignedPointsWholePositionsAndTheirSources) {
    SendMessageA(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, -7));
    EXPECT_EQ(-5, window_.seen.mouse.x);
    EXPECT_EQ(-7, window_.seen.mouse.y);
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON | MK_SHIFT), window_.seen.keys);

    HWND upDown = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 16, 60, hwnd_, nullptr, nullptr, nullptr);
    struct { UINT thumb; HWND bar; } scrolls[] = {{40000, upDown}, {65535, nullptr}, {1, upDown}};
    for (const auto& s : scrolls) {
        SendMessageA(hwnd_, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, s.thumb), reinterpret_cast<LPARAM>(s.bar));
        EXPECT_EQ(SB_THUMBTRACK, window_.seen.scrollCode);
        EXPECT_EQ(s.thumb, window_.seen.thumb);
        EXPECT_EQ(s.bar, window_.seen.bar);
    }

    SendMessageA(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(-20, 30));
    EXPECT_FALSE(window_.seen.keyboardMenu);
    EXPECT_EQ(-20, window_.seen.menuPoint.x);
    EXPECT_EQ(30, window_.seen.menuPoint.y);
    SendMessageA(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), -1);  // Shift+F10
    EXPECT_TRUE(window_.seen.keyboardMenu);
    POINT origin = {0, 0};
    ClientToScreen(hwnd_, &origin);
    EXPECT_EQ(origin.x, window_.seen.menuPoint.x);
    EXPECT_EQ(origin.y, window_.seen.menuPoint.y);

    SendMessageA(hwnd_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closed
    EXPECT_EQ(0xFFFFu, window_.seen.menuFlags);
    EXPECT_EQ(nullptr, window_.seen.menu);

    MINMAXINFO info = {};
    SendMessageA(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(321, info.ptMinTrackSize.x);

    // WM_SETCURSOR: answered TRUE when the handler set a cursor, else the default's answer.
    EXPECT_EQ(FALSE, SendMessageA(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_TRUE(window_.seen.setCursor);
    window_.claimCursor = true;
    EXPECT_EQ(TRUE, SendMessageA(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));

    SetTimer(hwnd_, 7, 10, nullptr);
    for (int i = 0; i < 100 && window_.seen.timer == 0; ++i) Pump(10);
    EXPECT_EQ(7u, window_.seen.timer);
}

// An owner-drawn button that draws itself when its parent reflects WM_DRAWITEM back to it.
class SelfDrawingButton : public RySubclassedWindow {
public:
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        using Self = SelfDrawingButton;
        static const RyMessageEntry<Self> map[] = {
            {kRyReflectBase + WM_DRAWITEM, RyOnDrawItem<&Self::OnDrawItem>},
        };
        return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
    }
    int draws = 0;
    UINT drawnId = 0;

private:
    void OnDrawItem(UINT id, const DRAWITEMSTRUCT& d) {
        ++draws;
        drawnId = id;
        BrushHandle red(::CreateSolidBrush(RGB(200, 0, 0)));
        ::FillRect(d.hDC, &d.rcItem, red.Get());
    }
};

TEST_F(MapTest, AChildsDrawItemIsReflectedToTheChild) {
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 40, 40, 80, 30, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(3100)), nullptr, nullptr);
    ASSERT_NE(nullptr, button);
    SelfDrawingButton drawer;
    ASSERT_TRUE(drawer.Attach(button));
    ShowWindow(hwnd_, SW_SHOW);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
    EXPECT_GE(drawer.draws, 1);
    EXPECT_EQ(3100u, drawer.drawnId);
    const Capture shot = Capture::Of(hwnd_);
    EXPECT_EQ(RGB(200, 0, 0), shot.At(80, 55));
    EXPECT_NE(RGB(200, 0, 0), shot.At(10, 10));
    EXPECT_TRUE(Capture::Of(hwnd_, true).SaveArtifact("window-base-reflected-drawitem.bmp"));
    // Menu commands have no child: nothing is reflected, the rows after see them.
    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(3003, 0), 0);
    EXPECT_EQ((std::vector<UINT>{3003}), window_.seen.commands);
}

}  // namespace
