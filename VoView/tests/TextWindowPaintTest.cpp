// The text window on the screen: the pixels of fills, selection (plain and dimmed), the
// focus rectangle, column splits, what scrolling moves, the flat scroll bar as Wine gives
// it, and screenshots saved as test artefacts in tests/artifacts/.
#include <windows.h>
#include <commctrl.h>
#include "PaintColours.h"
#include "TextWindowHost.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

int ClientWidth(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return rc.right;
}

// A picture of the whole text window, scroll bar included, for a person to look at.
void SaveArtefact(HWND hwnd, const char* name) {
    UpdateWindow(hwnd);
    EXPECT_TRUE(Capture::Of(hwnd, true).SaveArtifact(name));
}

// The top item's marker square sits at (left + 2, top + 2) .. (left + 8, top + 8).
COLORREF MarkerAt(const Capture& c, int left, int top) { return c.At(left + 4, top + 4); }

TEST_F(TextWindowTest, FillsSelectionMarkersAndTheWindowColourBelowTheList) {
    server_.SetCount(8);  // 8 x 20 pixels: the list ends at 160
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Send(hwnd, TWM_SELECTRANGE, 2, 5);
    InvalidateRect(hwnd, nullptr, FALSE);
    server_.drawn.clear();
    const Capture c = Paint(hwnd);
    const int w = ClientWidth(hwnd);
    EXPECT_EQ(kWhite, c.At(w - 10, 10));                          // item 0: the paint DC's background
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), c.At(w - 10, 2 * 20 + 10));  // item 2: selected
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), c.At(w - 10, 4 * 20 + 19));
    EXPECT_EQ(kWhite, c.At(w - 10, 5 * 20 + 1));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ItemColour(i), MarkerAt(c, 0, i * 20)) << i;
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), c.At(10, 8 * 20 + 5));   // below the last item
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), c.At(w - 1, kClientH - 1));
    // Every item was drawn once into the item-sized bitmap with its selected flag.
    ASSERT_EQ(8u, server_.drawn.size());
    for (const auto& d : server_.drawn) {
        EXPECT_EQ(0, d.x);
        EXPECT_EQ(0, d.y);
        EXPECT_EQ(w, d.width);
        EXPECT_EQ(20, d.height);
        EXPECT_EQ(-1, d.hot);
        EXPECT_EQ(d.item >= 2 && d.item < 5 ? 1 : 0, d.selected) << d.item;
    }
}

TEST(PaintColours, DimmedSelectionIsThePerChannelMeanRoundedDown) {
    EXPECT_EQ(RGB(80, 140, 187), MeanColour(RGB(0, 120, 215), RGB(160, 160, 160)));
    EXPECT_EQ(RGB(127, 0, 255), MeanColour(RGB(255, 0, 255), RGB(0, 1, 255)));
}

// The system colours are left as they are: other test programs of the same Wine session
// may be reading them.
TEST_F(TextWindowTest, DimmedSelectionWhileUnfocusedFullHighlightWhileFocused) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF dimmed = MeanColour(highlight, GetSysColor(COLOR_BTNSHADOW));
    ASSERT_NE(highlight, dimmed);
    server_.SetCount(20);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Send(hwnd, TWM_SELECTRANGE, 1, 2);
    const int w = ClientWidth(hwnd);
    EXPECT_EQ(highlight, Paint(hwnd).At(w - 10, 30));
    EXPECT_EQ(0, Send(hwnd, TWM_SETDIMSELECTION, 1));
    EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE));  // unfocused: repainted at once
    EXPECT_EQ(dimmed, Paint(hwnd).At(w - 10, 30));
    EXPECT_EQ(0, Send(hwnd, TWM_SETDIMSELECTION, 1));  // no change: no repaint
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    SetFocus(hwnd);
    EXPECT_EQ(highlight, Paint(hwnd).At(w - 10, 30));  // focused: the full highlight
    SetFocus(host_);
    EXPECT_EQ(dimmed, Paint(hwnd).At(w - 10, 30));
    EXPECT_EQ(0, Send(hwnd, TWM_SETDIMSELECTION, 0));
    EXPECT_EQ(highlight, Paint(hwnd).At(w - 10, 30));
}

bool TopEdgeMarked(const Capture& c, int y, int width) {
    for (int x = 0; x < width; ++x)
        if (c.At(x, y) != kWhite) return true;
    return false;
}

TEST_F(TextWindowTest, FocusRectangleFollowsTheCaret) {
    server_.SetCount(20);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Paint(hwnd);
    const int w = ClientWidth(hwnd);
    // Look along the right part of the top edges, away from markers and numbers.
    const int from = w / 2;
    Capture c = Paint(hwnd);
    EXPECT_FALSE(TopEdgeMarked(c, 0, from));
    SetFocus(hwnd);
    c = Paint(hwnd);
    int marked = 0;
    for (int x = from; x < w; ++x) marked += c.At(x, 0) != kWhite;
    EXPECT_GT(marked, 0);
    Send(hwnd, TWM_SETCARET, 3);
    c = Paint(hwnd);
    marked = 0;
    for (int x = from; x < w; ++x) marked += c.At(x, 0) != kWhite;
    EXPECT_EQ(0, marked);  // removed from item 0
    for (int x = from; x < w; ++x) marked += c.At(x, 60) != kWhite;
    EXPECT_GT(marked, 0);  // drawn at item 3
    SetFocus(host_);
    c = Paint(hwnd);
    EXPECT_FALSE(TopEdgeMarked(c, 60, w));  // and removed when the focus goes
}

TEST_F(TextWindowTest, RepaintsMeasureOnlyTheItemsThatCameIntoView) {
    server_.SetCount(30000);  // 20 pixels each: exactly 15 visible
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Paint(hwnd);
    // The page size measures the last 15 items and the 16th that no longer fits; the first
    // paint measures the first screen.
    EXPECT_EQ(16 + 15, server_.measureCalls);
    EXPECT_EQ(1, server_.measureCount[0]);
    EXPECT_EQ(0, server_.measureCount[15]);
    server_.measureCalls = 0;
    InvalidateRect(hwnd, nullptr, FALSE);
    Paint(hwnd);
    EXPECT_EQ(0, server_.measureCalls);
    Send(hwnd, WM_VSCROLL, SB_PAGEDOWN);  // the last whole item becomes the top: 14 new ones
    Paint(hwnd);
    EXPECT_EQ(14, Send(hwnd, TWM_GETTOPINDEX));
    EXPECT_EQ(14, server_.measureCalls);
    server_.measureCalls = 0;
    Send(hwnd, WM_VSCROLL, SB_BOTTOM);
    Paint(hwnd);
    EXPECT_EQ(15, server_.measureCalls);
}

TEST_F(TextWindowTest, ColumnsSplitTheWidthAndLineScrollsSlideByAColumn) {
    server_.SetCount(60);
    server_.defaultHeight = 30;  // nine items per 300-pixel column
    server_.columnWidth = 130;
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    const int w = ClientWidth(hwnd);
    const int columns = w / 130;
    const int cw = w / columns;
    ASSERT_EQ(3, columns);
    Send(hwnd, TWM_SELECTRANGE, 10, 12);
    SetFocus(hwnd);
    Capture c = Paint(hwnd);
    SaveArtefact(hwnd, "text-window-columns.bmp");
    for (int col = 0; col < 3; ++col) EXPECT_EQ(ItemColour(col * 9), MarkerAt(c, col * cw, 0)) << col;
    EXPECT_EQ(ItemColour(13), MarkerAt(c, cw, 4 * 30));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), c.At(2 * cw - 10, 30 + 15));      // item 10
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), c.At(10, 9 * 30 + 15));             // below item 8
    if (w > 3 * cw) {
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), c.At(w - 1, 10));  // right of the columns
    }
    EXPECT_EQ(60 - 27, Send(hwnd, TWM_GETMAXTOPINDEX));
    RECT rc = {};
    Send(hwnd, TWM_GETITEMRECT, 13, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(cw, rc.left);
    EXPECT_EQ(120, rc.top);
    EXPECT_EQ(2 * cw, rc.right);

    Send(hwnd, WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(9, Send(hwnd, TWM_GETTOPINDEX));
    c = Paint(hwnd);
    for (int col = 0; col < 3; ++col) EXPECT_EQ(ItemColour(9 + col * 9), MarkerAt(c, col * cw, 0)) << col;
    Send(hwnd, WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(0, Send(hwnd, TWM_GETTOPINDEX));
    c = Paint(hwnd);
    for (int col = 0; col < 3; ++col) EXPECT_EQ(ItemColour(col * 9), MarkerAt(c, col * cw, 0)) << col;
    Send(hwnd, WM_VSCROLL, SB_PAGEDOWN);  // two of three columns
    EXPECT_EQ(18, Send(hwnd, TWM_GETTOPINDEX));
    Send(hwnd, WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(60 - 27, Send(hwnd, TWM_GETTOPINDEX));
    Send(hwnd, WM_VSCROLL, SB_LINEDOWN);  // at the largest top already: nothing moves
    EXPECT_EQ(60 - 27, Send(hwnd, TWM_GETTOPINDEX));
    SetFocus(host_);
}

TEST_F(TextWindowTest, ScrollingMovesThePixelsAndTheBar) {
    server_.SetCount(100);  // 20 pixels each, 15 per page
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Send(hwnd, TWM_SELECTRANGE, 3, 6);
    SetFocus(hwnd);
    Send(hwnd, TWM_SETCARET, 4);
    SaveArtefact(hwnd, "text-window-one-column.bmp");
    struct Step {
        UINT message;
        WPARAM wParam;
        int top;
    } steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 1},
        {WM_VSCROLL, SB_PAGEDOWN, 15},
        {WM_VSCROLL, SB_PAGEUP, 1},
        {WM_VSCROLL, SB_LINEUP, 0},
        {WM_VSCROLL, SB_LINEUP, 0},
        {WM_VSCROLL, SB_BOTTOM, 85},
        {WM_VSCROLL, SB_LINEDOWN, 85},
        {WM_VSCROLL, SB_TOP, 0},
        {WM_VSCROLL, SB_ENDSCROLL, 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 1},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, -240), 3},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 1},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 1},  // less than a notch: no move
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.message << "/" << static_cast<short>(HIWORD(s.wParam)) << "/" << s.wParam);
        Send(hwnd, s.message, s.wParam, 0);
        EXPECT_EQ(s.top, Send(hwnd, TWM_GETTOPINDEX));
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &si));
        EXPECT_EQ(s.top, si.nPos);
        // The contents follow: whole repaints and moved pixels alike show the right items.
        const Capture c = Paint(hwnd);
        for (int row = 0; row < 15; ++row) EXPECT_EQ(ItemColour(s.top + row), MarkerAt(c, 0, row * 20)) << row;
    }
    SetFocus(host_);
}

TEST_F(TextWindowTest, FlatScrollBarAsWineGivesIt) {
    server_.SetCount(100);
    HWND hwnd = Create();
    ASSERT_NE(nullptr, hwnd);
    Send(hwnd, TWM_SHOWRANGE, 30, 0);
    SCROLLINFO flat = {};
    flat.cbSize = sizeof flat;
    flat.fMask = SIF_ALL;
    // Wine's comctl32 keeps no flat bar of its own: its calls reach the standard bar.
    ASSERT_TRUE(FlatSB_GetScrollInfo(hwnd, SB_VERT, &flat));
    EXPECT_EQ(0, flat.nMin);
    EXPECT_EQ(99, flat.nMax);
    EXPECT_EQ(15u, flat.nPage);
    EXPECT_EQ(30, flat.nPos);
    SCROLLINFO plain = {};
    plain.cbSize = sizeof plain;
    plain.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &plain));
    EXPECT_EQ(flat.nPos, plain.nPos);
    EXPECT_EQ(flat.nPage, plain.nPage);
    // Everything fits: the bar is shown disabled rather than removed.
    server_.SetCount(5);
    Send(hwnd, TWM_RELOADITEMS);
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(hwnd, OBJID_VSCROLL, &bar));
    EXPECT_EQ(0u, bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_NE(0u, bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

}  // namespace
