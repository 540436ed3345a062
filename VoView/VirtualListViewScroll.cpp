// RyVirtualListViewCtrl: items, relayout, the flat vertical scroll bar and scrolling.
#include "VirtualListViewCtrl.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdlib>
#include <exception>

bool RyVirtualListViewCtrl::ResetItems() {
    const int count = std::max(server_->GetItemCount(), 0);
    bool ok = measurer_.Reset(count, layout_.UnitsPerItem());
    if (ok) {
        try {
            selection_.Reset(count);
        } catch (const std::exception&) {  // bad_alloc or length_error for a huge count
            ok = false;
        }
    }
    if (!ok) {
        measurer_.Reset(0, layout_.UnitsPerItem());
        selection_.Reset(0);
    }
    layout_.SetItems(ok ? count : 0, layout_.UnitsPerItem(), layout_.FixedHeight());
    return ok;
}

void RyVirtualListViewCtrl::Relayout() {
    layout_.Arrange(server_->GetColumnWidth());
    if (layout_.UnitsPerItem() == 0) layout_.SetTotalUnits(measurer_.MeasureAll(layout_.ClientWidth()));
    layout_.ComputePage();
    layout_.SetPosition(layout_.Position());
    SetScrollPosition();
}

void RyVirtualListViewCtrl::SetScrollRange() {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = layout_.Count() - 1;
    ::FlatSB_SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void RyVirtualListViewCtrl::SetScrollPosition() {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    // An empty list keeps a page of 1 against its range of 0 .. 0, so the bar shows disabled.
    si.nPage = static_cast<UINT>(std::max(layout_.Page(), 1));
    si.nPos = layout_.Position();
    ::FlatSB_SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void RyVirtualListViewCtrl::ScrollBy(int d) {
    d = layout_.BoundDelta(d);
    if (d == 0) return;
    const int from = layout_.Position();
    const int to = from + d;
    const int clientH = layout_.ClientHeight();
    bool moved = false;
    if (layout_.Columns() <= 1) {
        const int distance = layout_.PixelDistance(from, to, clientH);
        if (std::abs(distance) < clientH) {
            const RECT client = {0, 0, layout_.ClientWidth(), clientH};
            ::ScrollWindow(hwnd_, 0, -distance, &client, &client);
            moved = true;
        }
    } else {
        // One column either way slides the columns sideways; the column that comes in
        // back must hold exactly the items that were stepped over.
        const int width = layout_.ColumnWidth();
        const RECT columns = {0, 0, layout_.Columns() * width, clientH};
        if (d == layout_.ColumnBack(from) && layout_.ItemsForward(to) == -d) {
            ::ScrollWindow(hwnd_, width, 0, &columns, &columns);
            moved = true;
        } else if (d == layout_.ItemsForward(from)) {
            ::ScrollWindow(hwnd_, -width, 0, &columns, &columns);
            moved = true;
        }
    }
    layout_.SetPosition(to);
    SetScrollPosition();
    if (!moved) Invalidate();
    UpdateHover(CursorPoint());  // another part may be under the cursor now
    ::UpdateWindow(hwnd_);
}

void RyVirtualListViewCtrl::OnVScroll(int code, UINT, HWND) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!::FlatSB_GetScrollInfo(hwnd_, SB_VERT, &si)) return;
    const int pos = layout_.Position();
    const bool columns = layout_.Columns() > 1;
    int d = 0;
    switch (code) {
    case SB_LINEUP: d = columns && pos != 0 ? layout_.ColumnBack(pos) : -1; break;
    case SB_LINEDOWN: d = !columns || pos >= layout_.MaxTop() ? 1 : layout_.ItemsForward(pos); break;
    case SB_PAGEUP: d = layout_.PageUpAmount(pos); break;
    case SB_PAGEDOWN: d = layout_.PageDownAmount(pos); break;
    case SB_THUMBTRACK: d = si.nTrackPos - pos; break;
    case SB_TOP: d = -pos; break;
    case SB_BOTTOM: d = layout_.MaxTop() - pos; break;
    default: break;
    }
    ScrollBy(d);
}

void RyVirtualListViewCtrl::OnMouseWheel(UINT, int delta, POINT) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!::FlatSB_GetScrollInfo(hwnd_, SB_VERT, &si) || delta == 0) return;
    ScrollBy(-(delta / 120));
}
