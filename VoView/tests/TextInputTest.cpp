// The text window's input on real windows under Wine: keys, presses, double clicks, link
// presses through their phases, the rubber band and its auto-scrolling, and the capture and
// quit message that the modal loops must give back. Each case posts its whole input before
// the press and runs under a watchdog, so a missing message fails instead of hanging.
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TextInputHost.h"

namespace {

using Heard = std::vector<std::string>;
using Calls = std::vector<std::string>;
using Items = std::vector<int>;

Items Range(int first, int last) {
    Items v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

struct KeyStep {
    UINT key;
    bool shift;
    bool ctrl;
};
constexpr KeyStep Key(UINT key) { return {key, false, false}; }
constexpr KeyStep ShiftKey(UINT key) { return {key, true, false}; }
constexpr KeyStep CtrlKey(UINT key) { return {key, false, true}; }
constexpr KeyStep CtrlShiftKey(UINT key) { return {key, true, true}; }

struct KeyCase {
    const char* what;
    int count;
    int selFirst, selEnd;  // the selection before, [first, end)
    int caret;
    std::vector<KeyStep> keys;
    int caretAfter;
    Items selectedAfter;
    Heard heard;
};

TEST_F(TextInputTest, KeysMoveTheCaretAndSelectAsTheModifiersSay) {
    // 20-pixel items in a 300-pixel window: 15 items to a page.
    const KeyCase cases[] = {
        {"Down", 50, 3, 4, 3, {Key(VK_DOWN)}, 4, {4}, {"Caret(4)", "Selection"}},
        {"Shift+Down, Shift+Up: the anchor stays", 50, 3, 4, 3, {ShiftKey(VK_DOWN), ShiftKey(VK_UP)}, 3, {3},
         {"Caret(4)", "Selection", "Caret(3)", "Selection"}},
        {"Shift+Down twice", 50, 3, 4, 3, {ShiftKey(VK_DOWN), ShiftKey(VK_DOWN)}, 5, {3, 4, 5},
         {"Caret(4)", "Selection", "Caret(5)", "Selection"}},
        {"Ctrl+Space deselects a selected caret", 50, 2, 5, 3, {CtrlKey(VK_SPACE)}, 3, {2, 4}, {"Selection"}},
        {"Ctrl+Space again selects it", 50, 2, 5, 3, {CtrlKey(VK_SPACE), CtrlKey(VK_SPACE)}, 3, {2, 3, 4},
         {"Selection", "Selection"}},
        {"Ctrl+Down moves only the caret", 50, 3, 4, 3, {CtrlKey(VK_DOWN)}, 4, {3}, {"Caret(4)"}},
        {"Ctrl moves, Ctrl+Space adds, Ctrl+Shift+Down extends without clearing", 50, 2, 3, 2,
         {CtrlKey(VK_DOWN), CtrlKey(VK_DOWN), CtrlKey(VK_SPACE), CtrlShiftKey(VK_DOWN)}, 5, {2, 4, 5},
         {"Caret(3)", "Caret(4)", "Selection", "Caret(5)", "Selection"}},
        {"Ctrl+Shift+Space extends to the caret without clearing", 50, 2, 3, 2,
         {CtrlKey(VK_DOWN), CtrlKey(VK_DOWN), CtrlShiftKey(VK_SPACE)}, 4, {2, 3, 4},
         {"Caret(3)", "Caret(4)", "Selection"}},
        {"Space selects the caret alone", 50, 2, 5, 3, {Key(VK_SPACE)}, 3, {3}, {"Selection"}},
        {"End on a list of one item", 1, 0, 0, 0, {Key(VK_END)}, 0, {0}, {"Selection"}},
        {"Up at the top selects the caret", 50, 0, 0, 0, {Key(VK_UP)}, 0, {0}, {"Selection"}},
        {"Ctrl+Up at the top does nothing", 50, 0, 0, 0, {CtrlKey(VK_UP)}, 0, {}, {}},
        {"Home", 50, 10, 11, 10, {Key(VK_HOME)}, 0, {0}, {"Caret(0)", "Selection"}},
        {"Page Down", 50, 0, 0, 0, {Key(VK_NEXT)}, 14, {14}, {"Caret(14)", "Selection"}},
        {"Page Down, Page Up", 50, 0, 0, 0, {Key(VK_NEXT), Key(VK_PRIOR)}, 0, {0},
         {"Caret(14)", "Selection", "Caret(0)", "Selection"}},
        {"Shift+End selects to the last item", 20, 8, 9, 8, {ShiftKey(VK_END)}, 19, Range(8, 19),
         {"Caret(19)", "Selection"}},
        {"Shift+Down past the page reports no invisible change", 50, 14, 15, 14, {ShiftKey(VK_DOWN)}, 15, {14, 15},
         {"Caret(15)"}},
        {"Left and Right in one column are not the window's", 50, 3, 4, 3, {Key(VK_LEFT), Key(VK_RIGHT)}, 3, {3}, {}},
        {"A letter is not the window's", 50, 3, 4, 3, {Key('A'), ShiftKey('C')}, 3, {3}, {}},
        {"An empty list: keys do nothing", 0, 0, 0, 0,
         {Key(VK_DOWN), Key(VK_END), Key(VK_SPACE), ShiftKey(VK_DOWN), CtrlKey(VK_SPACE), Key(VK_NEXT)}, 0, {}, {}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        HWND hwnd = Make(c.count);
        ASSERT_NE(nullptr, hwnd);
        if (c.selEnd > c.selFirst) Send(hwnd, TWM_SELECTRANGE, static_cast<WPARAM>(c.selFirst), c.selEnd);
        Send(hwnd, TWM_SETCARET, static_cast<WPARAM>(c.caret));
        sink_.events.clear();
        for (const KeyStep& k : c.keys) {
            SetModifiers(k.shift, k.ctrl);
            Send(hwnd, WM_KEYDOWN, k.key, 1);
        }
        SetModifiers(false, false);
        EXPECT_EQ(c.caretAfter, Caret(hwnd));
        EXPECT_EQ(c.selectedAfter, Selected(hwnd));
        EXPECT_EQ(c.heard, sink_.events);
        DestroyWindow(hwnd);
    }
}

TEST_F(TextInputTest, KeysKeepTheCaretInView) {
    HWND hwnd = Make(100);
    SetModifiers(true, false);
    Send(hwnd, WM_KEYDOWN, VK_END, 1);
    SetModifiers(false, false);
    EXPECT_EQ(99, Caret(hwnd));
    EXPECT_EQ(85, Send(hwnd, TWM_GETTOPINDEX));  // the caret on the last whole row
    EXPECT_EQ(100u, Selected(hwnd).size());
    Send(hwnd, WM_KEYDOWN, VK_HOME, 1);
    EXPECT_EQ(0, Send(hwnd, TWM_GETTOPINDEX));
}

// Beside an item taller than the window the caret still ends on an item that meets the
// client area, and a tall caret item that is already partly shown is not scrolled; items of
// ordinary height still scroll onto the last whole row.
struct TallList {
    std::vector<int> heights;
    int columnWidth;  // 0 = one column
};
struct TallCase {
    const char* what;
    const TallList& list;
    int top, caret;
    UINT key;  // 0 = a click at click
    POINT click;
    int caretAfter, topAfter;
    const char* shot = nullptr;  // a screenshot of the window afterwards
};

TEST_F(TextInputTest, TheCaretStaysInViewBesideItemsTallerThanTheWindow) {
    const RECT rect = {0, 0, kClientW, 200};
    const TallList second = {{50, 300, 50, 50, 50, 50, 50, 50}, 0};
    const TallList first = {{300, 50, 50, 50, 50, 50}, 0};
    const TallList middle = {{50, 50, 50, 400, 50, 50, 50, 50, 50, 50}, 0};  // twice the window
    const TallList allTall = {{250, 250, 250, 250, 250}, 0};
    const TallList last = {{60, 60, 60, 60, 300}, 0};
    const TallList twoColumns = {{168, 22, 62, 83, 72, 330, 75, 524}, 190};  // beside the scroll bar
    const TallList threeColumns = {twoColumns.heights, 130};
    const POINT none = {};
    const TallCase cases[] = {
        {"Down onto the tall item, partly shown", second, 0, 0, VK_DOWN, none, 1, 0},
        {"Down from the tall item at the top", second, 1, 1, VK_DOWN, none, 2, 2, "text-window-caret-after-tall-item.bmp"},
        {"Down past the tall item partly shown", second, 0, 1, VK_DOWN, none, 2, 2},
        {"click on the tall item at the top", second, 1, 3, 0, {100, 100}, 1, 1, "text-window-caret-on-tall-item.bmp"},
        {"Up onto the tall item", second, 2, 2, VK_UP, none, 1, 1},
        {"Page Down onto the tall item", second, 0, 0, VK_NEXT, none, 1, 0},
        {"Page Down from the tall item at the top", second, 1, 1, VK_NEXT, none, 2, 2},
        {"Page Up to the item after the tall one", second, 3, 4, VK_PRIOR, none, 2, 2},
        {"Home", second, 4, 5, VK_HOME, none, 0, 0},
        {"End", second, 0, 0, VK_END, none, 7, 4},
        {"click on the tall first item", first, 0, 2, 0, {100, 100}, 0, 0},
        {"Down from the tall first item", first, 0, 0, VK_DOWN, none, 1, 1},
        {"Up onto the tall first item", first, 1, 1, VK_UP, none, 0, 0},
        {"Down onto a tall item shown at the bottom", middle, 0, 2, VK_DOWN, none, 3, 0},
        {"click on a tall item shown at the bottom", middle, 0, 0, 0, {100, 180}, 3, 0},
        {"Down from a tall item twice the window", middle, 3, 3, VK_DOWN, none, 4, 4},
        {"Down after it onto the last whole row", middle, 4, 7, VK_DOWN, none, 8, 5},
        {"End after it", middle, 0, 0, VK_END, none, 9, 6},
        {"every item tall: Down", allTall, 0, 0, VK_DOWN, none, 1, 1},
        {"every item tall: End", allTall, 0, 0, VK_END, none, 4, 4},
        {"every item tall: Page Up", allTall, 3, 3, VK_PRIOR, none, 2, 2},
        {"every item tall: click at the top", allTall, 2, 0, 0, {100, 100}, 2, 2},
        {"Down onto a half-shown ordinary item before the tall one", last, 0, 2, VK_DOWN, none, 3, 1},
        {"click on a half-shown ordinary item before the tall one", last, 0, 0, 0, {100, 190}, 3, 1},
        {"Down onto the tall last item, partly shown", last, 1, 3, VK_DOWN, none, 4, 1},
        {"End onto the tall last item", last, 0, 0, VK_END, none, 4, 3},
        {"two columns: Down onto a tall item beyond the next column", twoColumns, 0, 4, VK_DOWN, none, 5, 4,
         "text-window-caret-tall-item-columns.bmp"},
        {"two columns: click on a tall item in the second column", twoColumns, 4, 4, 0, {300, 100}, 5, 4},
        {"three columns: End onto a tall last item", threeColumns, 1, 0, VK_END, none, 7, 5},
    };
    for (const TallCase& c : cases) {
        SCOPED_TRACE(c.what);
        server_.heights = c.list.heights;
        server_.columnWidth = c.list.columnWidth;
        HWND hwnd = Make(static_cast<int>(c.list.heights.size()), &rect);
        ASSERT_NE(nullptr, hwnd);
        Send(hwnd, TWM_SHOWRANGE, static_cast<WPARAM>(c.top), 0);  // scrolls only
        Send(hwnd, TWM_SETCARET, static_cast<WPARAM>(c.caret));
        ASSERT_EQ(c.top, Send(hwnd, TWM_GETTOPINDEX));
        if (c.key) {
            Send(hwnd, WM_KEYDOWN, c.key, 1);
        } else {
            Watchdog watchdog;
            PostMessageW(hwnd, WM_LBUTTONUP, 0, At(c.click));
            Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(c.click));
            EXPECT_FALSE(Watchdog::Fired());
        }
        EXPECT_EQ(c.caretAfter, Caret(hwnd));
        EXPECT_EQ(c.topAfter, Send(hwnd, TWM_GETTOPINDEX));
        RECT rc = {}, client = {}, meet = {};
        EXPECT_TRUE(Send(hwnd, TWM_GETITEMRECT, static_cast<WPARAM>(Caret(hwnd)), reinterpret_cast<LPARAM>(&rc)));
        GetClientRect(hwnd, &client);
        EXPECT_TRUE(IntersectRect(&meet, &rc, &client)) << "caret item " << rc.left << "," << rc.top << ".." << rc.right
                                                      << "," << rc.bottom;
        if (c.shot) {
            UpdateWindow(hwnd);
            EXPECT_TRUE(Capture::Of(hwnd, true).SaveArtifact(c.shot));
        }
        DestroyWindow(hwnd);
    }
    server_.heights.clear();
    server_.columnWidth = 0;
}

TEST_F(TextInputTest, LeftAndRightStepByColumns) {
    server_.columnWidth = 130;  // three columns of 14 items (a 15th would reach the bottom)
    HWND hwnd = Make(100);
    Send(hwnd, TWM_SETCARET, 3);
    Send(hwnd, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(17, Caret(hwnd));
    Send(hwnd, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(31, Caret(hwnd));
    Send(hwnd, WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(17, Caret(hwnd));
    EXPECT_EQ(Items{17}, Selected(hwnd));
    Send(hwnd, WM_KEYDOWN, VK_HOME, 1);
    Send(hwnd, WM_KEYDOWN, VK_LEFT, 1);  // at item 0 Left is not the window's
    EXPECT_EQ(0, Caret(hwnd));
}

struct PressCase {
    const char* what;
    int count;
    int selFirst, selEnd;
    int caret;
    bool left;
    UINT keys;
    int item;  // pressed; -1 = below the last item
    Items selectedAfter;
    int caretAfter;
    Heard heard;
};

TEST_F(TextInputTest, PressesSelectAndReportAndGiveTheCaptureBack) {
    const PressCase cases[] = {
        {"click", 50, 0, 0, 0, true, 0, 5, {5}, 5, {"Caret(5)", "Selection"}},
        {"Shift click extends from the anchor", 50, 5, 6, 5, true, MK_SHIFT, 8, Range(5, 8), 8, {"Caret(8)", "Selection"}},
        {"Ctrl click adds", 50, 5, 6, 5, true, MK_CONTROL, 8, {5, 8}, 8, {"Caret(8)", "Selection"}},
        {"Ctrl+Shift click extends without clearing", 50, 5, 6, 5, true, MK_CONTROL | MK_SHIFT, 2, Range(2, 5), 2,
         {"Caret(2)", "Selection"}},
        {"Ctrl click on an item of a selection removes it", 50, 2, 6, 2, true, MK_CONTROL, 3, {2, 4, 5}, 3,
         {"Caret(3)", "Selection"}},
        {"click in a selection reselects the item on release", 50, 2, 6, 2, true, 0, 3, {3}, 3,
         {"Caret(3)", "Selection"}},
        {"right click in a selection keeps it", 50, 2, 6, 2, false, 0, 3, Range(2, 5), 3, {"Caret(3)", "RightClick(3)"}},
        {"right click outside it selects the item", 50, 2, 6, 2, false, 0, 8, {8}, 8,
         {"Caret(8)", "Selection", "RightClick(8)"}},
        {"click below the last item", 3, 1, 2, 1, true, 0, -1, {1}, 1, {}},
        {"right click below the last item", 3, 1, 2, 1, false, 0, -1, {1}, 1, {}},
    };
    for (const PressCase& c : cases) {
        SCOPED_TRACE(c.what);
        HWND hwnd = Make(c.count);
        if (c.selEnd > c.selFirst) Send(hwnd, TWM_SELECTRANGE, static_cast<WPARAM>(c.selFirst), c.selEnd);
        Send(hwnd, TWM_SETCARET, static_cast<WPARAM>(c.caret));
        const POINT pt = c.item >= 0 ? ItemPoint(c.item) : POINT{100, 200};
        // The pointer stands where the press is, as for a real one: the move the capture makes
        // Windows send at the pointer's place must not read as a drag away from the press.
        ParkCursor(hwnd, pt);
        sink_.events.clear();
        Watchdog watchdog;
        PostMessageW(hwnd, c.left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, At(pt));
        Send(hwnd, c.left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, c.keys | (c.left ? MK_LBUTTON : MK_RBUTTON), At(pt));
        EXPECT_FALSE(Watchdog::Fired());
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(c.caretAfter, Caret(hwnd));
        EXPECT_EQ(c.selectedAfter, Selected(hwnd));
        EXPECT_EQ(c.heard, sink_.events);
        EXPECT_EQ(hwnd, GetFocus());
        Pump();  // a release the press did not take
        DestroyWindow(hwnd);
    }
}

TEST_F(TextInputTest, DoubleClickOnAnItemOnly) {
    HWND hwnd = Make(5);
    Send(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(ItemPoint(4)));
    Send(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(ItemPoint(7)));  // below the list
    EXPECT_EQ(Heard{"DoubleClick(4)"}, sink_.events);
}

TEST_F(TextInputTest, RubberBandSelectsFromThePressedItemToTheMouse) {
    HWND hwnd = Make(50);
    ParkCursor(hwnd, ItemPoint(6));
    Watchdog watchdog;
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(ItemPoint(4)));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(ItemPoint(4, 300)));  // the same item: no change
    PostMessageW(hwnd, WM_RBUTTONUP, 0, At(ItemPoint(9)));                 // the other button: ignored
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(ItemPoint(6)));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, At(ItemPoint(6)));
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, At(ItemPoint(12)));  // after the release: not the band's
    Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(ItemPoint(2)));
    EXPECT_FALSE(Watchdog::Fired());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(Range(2, 6), Selected(hwnd));
    EXPECT_EQ(6, Caret(hwnd));
    EXPECT_EQ((Heard{"Caret(2)", "Selection", "Caret(4)", "Selection", "Caret(6)", "Selection"}), sink_.events);
    Pump();  // the move after the release was left for the program's own loop

    // Back up past the anchor with the right button: the band turns round it.
    sink_.events.clear();
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_RBUTTON, At(ItemPoint(8)));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, At(ItemPoint(8)));  // the other button: ignored
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_RBUTTON, At(ItemPoint(7)));
    PostMessageW(hwnd, WM_RBUTTONUP, 0, At(ItemPoint(7)));
    Send(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, At(ItemPoint(10)));
    EXPECT_EQ(Range(7, 10), Selected(hwnd));
    EXPECT_EQ((Heard{"Caret(10)", "Selection", "Caret(8)", "Selection", "Caret(7)", "Selection", "RightClick(10)"}),
              sink_.events);
}

// Auto-scrolling while the mouse rests below the window, on the test's clock: a timer
// moves the clock 100 ms at a time, and every step the window takes is recorded with the
// clock's time and the top item when the band reaches the items that came in.
struct Step {
    DWORD now;
    int top;
};
std::vector<Step>* g_steps = nullptr;
HWND g_band = nullptr;

void CALLBACK AdvanceClock(HWND, UINT, UINT_PTR, DWORD) {
    TestClock().now += 100;
    if (TestClock().now == 2000) PostMessageW(g_band, WM_LBUTTONUP, 0, MAKELPARAM(100, 320));
}

TEST_F(TextInputTest, RubberBandScrollsFasterTheLongerTheMouseRestsAndSelectsWhatComesIn) {
    HWND hwnd = Make(1000);
    std::vector<Step> steps;
    g_steps = &steps;
    g_band = hwnd;
    sink_.onCaret = [&](int) { steps.push_back({TestClock().now, static_cast<int>(Send(hwnd, TWM_GETTOPINDEX))}); };
    const POINT below = {100, kClientH + 20};
    ParkCursor(hwnd, below);  // where the posted move goes, so moves of the real cursor agree
    Watchdog watchdog(8000);
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(below));
    {
        ThreadTimer clock(10, &AdvanceClock);
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(ItemPoint(2)));
    }
    sink_.onCaret = nullptr;
    EXPECT_FALSE(Watchdog::Fired());
    EXPECT_EQ(nullptr, GetCapture());
    // The press, then the move: the band reaches the bottom row at once.
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(0, steps[1].top);
    EXPECT_EQ(14, sink_.carets[1]);
    // Every later caret change is a step: none in the first 250 ms, then 1 + (t - 250) / 500
    // units, at most 3.
    bool speeds[4] = {};
    for (size_t i = 2; i < steps.size(); ++i) {
        const int units = steps[i].top - steps[i - 1].top;
        const int expected = std::min(3, 1 + static_cast<int>(steps[i].now - 250) / 500);
        EXPECT_GT(steps[i].now, 250u);
        EXPECT_EQ(expected, units) << "step at " << steps[i].now;
        EXPECT_EQ(steps[i].top + 14, sink_.carets[i]) << "the band follows the step";
        if (units >= 1 && units <= 3) speeds[units] = true;
    }
    EXPECT_TRUE(speeds[1] && speeds[2] && speeds[3]);
    const int top = static_cast<int>(Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(top + 14, Caret(hwnd));
    EXPECT_EQ(Range(2, top + 14), Selected(hwnd));
    g_steps = nullptr;
}

TEST_F(TextInputTest, TheModalLoopsPassTheQuitMessageOn) {
    const struct {
        const char* what;
        int selFirst, selEnd;
        bool link;
    } cases[] = {
        {"press tracking on a selected item", 2, 5, false},
        {"rubber band", 0, 0, false},
        {"link press", 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.link) server_.linkItems = {3};
        HWND hwnd = Make(20);
        if (c.selEnd > c.selFirst) Send(hwnd, TWM_SELECTRANGE, static_cast<WPARAM>(c.selFirst), c.selEnd);
        Watchdog watchdog;
        PostQuitMessage(7);
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(ItemPoint(3, 10)));
        EXPECT_FALSE(Watchdog::Fired());
        EXPECT_EQ(nullptr, GetCapture());
        MSG msg = {};
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(7u, msg.wParam);
        DestroyWindow(hwnd);
        server_.linkItems.clear();
    }
}

// Link presses: item 2 has part 7 in its left 40 pixels.
class LinkPressTest : public TextInputTest {
protected:
    void SetUp() override {
        TextInputTest::SetUp();
        server_.linkItems = {2};
        hwnd_ = Make(10);
        ParkCursor(hwnd_, press_);  // the real cursor over the part: the hover is on it already
        sink_.events.clear();
    }
    // What the press asked of the server beyond measuring and drawing.
    Calls Asked() const {
        Calls asked;
        for (const std::string& c : server_.calls)
            if (c.rfind("DrawItem", 0) != 0 && c.rfind("MeasureItem", 0) != 0) asked.push_back(c);
        return asked;
    }
    void Press(bool left = true) {
        Watchdog watchdog;
        Send(hwnd_, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, At(press_));
        EXPECT_FALSE(Watchdog::Fired());
        EXPECT_EQ(nullptr, GetCapture());
    }
    const POINT press_ = {10, 2 * kItemH + 10};
    const POINT away_ = {200, 2 * kItemH + 10};  // the same item, off the part, out of the drag rectangle
    HWND hwnd_ = nullptr;
};

TEST_F(LinkPressTest, ReleaseOnThePartIsAClickOfTheLinkWithEitherButton) {
    for (bool left : {true, false}) {
        sink_.events.clear();
        sink_.linkInfos.clear();
        PostMessageW(hwnd_, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, At(press_));
        Press(left);
        EXPECT_EQ((Heard{"Link0(2,7)", "Link2(2,7)"}), sink_.events);
        ASSERT_EQ(2u, sink_.linkInfos.size());
        EXPECT_EQ(left, sink_.linkInfos[0].leftButton);
        EXPECT_EQ(0, sink_.linkInfos[0].holdTime);
        EXPECT_EQ(0, sink_.linkInfos[1].elapsed);
        EXPECT_EQ(0, sink_.linkInfos[1].reserved);
        EXPECT_EQ(Items{}, Selected(hwnd_));  // a link press selects nothing
    }
}

TEST_F(LinkPressTest, AHoldTimeSetInPhaseZeroGivesPhaseOneThenTheRelease) {
    sink_.linkScript = [&](int phase, LinkPressInfo& info) {
        if (phase == 0) info.holdTime = 20;
        if (phase == 1) {
            TestClock().now += 700;  // the sink takes its time
            PostMessageW(hwnd_, WM_LBUTTONUP, 0, At(press_));
        }
    };
    Press();
    EXPECT_EQ((Heard{"Link0(2,7)", "Link1(2,7)", "Link2(2,7)"}), sink_.events);
    ASSERT_EQ(3u, sink_.linkInfos.size());
    EXPECT_EQ(20, sink_.linkInfos[1].holdTime);
    EXPECT_EQ(700, sink_.linkInfos[2].elapsed);  // measured from the press
}

TEST_F(LinkPressTest, MovingOutOfAnUndraggablePartTurnsIntoAnOrdinaryPress) {
    sink_.linkScript = [&](int phase, LinkPressInfo& info) {
        if (phase == 0) info.holdTime = 20;
        if (phase == 1) {
            PostMessageW(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, At(away_));
            PostMessageW(hwnd_, WM_LBUTTONUP, 0, At(away_));
        }
    };
    Press();
    EXPECT_EQ((Heard{"Link0(2,7)", "Link1(2,7)", "Link3(2,7)", "HoverLeave(2,7)", "Caret(2)", "Selection"}),
              sink_.events);
    EXPECT_EQ(Items{2}, Selected(hwnd_));
    EXPECT_EQ((Calls{"CanDragPart(2)"}), Asked());
}

TEST_F(LinkPressTest, ASinkThatChangesThePartMakesAnOrdinaryClick) {
    sink_.linkScript = [](int phase, LinkPressInfo& info) {
        if (phase == 0) info.part = -1;
    };
    PostMessageW(hwnd_, WM_LBUTTONUP, 0, At(press_));
    Press();
    EXPECT_EQ((Heard{"Link0(2,7)", "Caret(2)", "Selection"}), sink_.events);
    ASSERT_EQ(1u, sink_.linkInfos.size());
    EXPECT_EQ(-1, sink_.linkInfos[0].part);
    EXPECT_EQ(Items{2}, Selected(hwnd_));
}

TEST_F(LinkPressTest, ADraggablePartIsDraggedAlone) {
    server_.canDrag = 1;
    server_.offerData = true;
    PostMessageW(hwnd_, WM_MOUSEMOVE, 0, At(away_));  // no button in the key state: the drag drops at once
    Press();
    EXPECT_EQ((Heard{"Link0(2,7)", "Link3(2,7)"}), sink_.events);
    EXPECT_EQ((Calls{"CanDragPart(2)", "FillPartData(2)"}), Asked());
    EXPECT_EQ(S_OK, server_.fillResult);
    EXPECT_EQ(FALSE, Send(hwnd_, TWM_ISDRAGGING));
    EXPECT_EQ(0, Caret(hwnd_));
}

TEST_F(LinkPressTest, LosingTheCaptureEndsThePressQuietly) {
    // Nothing is posted: only the watchdog, taking the capture, ends the press.
    Watchdog watchdog(300);
    Send(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, At(press_));
    EXPECT_TRUE(Watchdog::Fired());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(Heard{"Link0(2,7)"}, sink_.events);
}

TEST_F(LinkPressTest, ASinkThatClosesTheWindowEndsThePress) {
    // Nothing is posted: a press that went on tracking would wait for the watchdog.
    const struct {
        const char* what;
        bool onLink;
    } cases[] = {{"in the link press", true}, {"at the caret of an ordinary press", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!IsWindow(hwnd_)) hwnd_ = Make(10);
        HWND hwnd = hwnd_;
        sink_.linkScript = [hwnd](int phase, LinkPressInfo&) {
            if (phase == 0) DestroyWindow(hwnd);
        };
        sink_.onCaret = [hwnd](int) { DestroyWindow(hwnd); };
        Watchdog watchdog(2000);
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(c.onLink ? press_ : away_));
        EXPECT_FALSE(Watchdog::Fired());
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(nullptr, GetCapture());
        sink_.linkScript = nullptr;
        sink_.onCaret = nullptr;
    }
}

TEST_F(LinkPressTest, HoverFollowsTheMouseOverPartsAndLeavesWithIt) {
    Send(hwnd_, WM_MOUSEMOVE, 0, At(away_));
    Send(hwnd_, WM_MOUSEMOVE, 0, At(press_));
    Send(hwnd_, WM_MOUSEMOVE, 0, At({20, press_.y}));  // the same part: nothing new
    EXPECT_EQ((Heard{"HoverLeave(2,7)", "HoverEnter(2,7)"}), sink_.events);
    // The cursor is the server's over a part, the class's elsewhere.
    Send(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)), GetCursor());
    // The hover timer ends the hover once the cursor has left the window.
    ParkCursor(host_, {kClientW + 200, kClientH + 100});
    const DWORD start = GetTickCount();
    while (sink_.events.size() < 3 && GetTickCount() - start < 3000) {
        Sleep(10);
        Pump();
    }
    EXPECT_EQ((Heard{"HoverLeave(2,7)", "HoverEnter(2,7)", "HoverLeave(2,7)"}), sink_.events);
}

}  // namespace
