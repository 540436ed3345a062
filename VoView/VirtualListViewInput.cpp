// RyVirtualListViewCtrl: keys, the hover over the server's parts, the hover timer, the
// cursor, double clicks and the click selection.
#include "VirtualListViewCtrl.h"
#include <algorithm>

namespace {

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

LRESULT RyVirtualListViewCtrl::OnKeyDown(WPARAM key, LPARAM, bool& handled) {
    const bool ctrl = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    const bool columns = layout_.Columns() > 1;
    bool space = false;
    int target = caret_;
    switch (key) {
    case VK_SPACE: space = true; break;
    case VK_PRIOR: target = caret_ + layout_.PageUpAmount(caret_); break;
    case VK_NEXT: target = caret_ + layout_.PageDownAmount(caret_); break;
    case VK_END: target = layout_.Count() - 1; break;
    case VK_HOME: target = 0; break;
    case VK_UP: target = caret_ - 1; break;
    case VK_DOWN: target = caret_ + 1; break;
    case VK_LEFT:
        if (!columns || caret_ == 0) {
            handled = false;
            return 0;
        }
        target = caret_ + layout_.ColumnBack(caret_);
        break;
    case VK_RIGHT:
        if (!columns) {
            handled = false;
            return 0;
        }
        target = caret_ + layout_.ItemsForward(caret_);
        break;
    case 'C':
        if (ctrl) {
            Send(WM_COPY);
            return 0;
        }
        handled = false;
        return 0;
    default:
        handled = false;
        return 0;
    }
    // On an empty list there is no item to move to or select.
    if (layout_.Count() == 0) return 0;
    target = std::min(std::max(target, 0), layout_.Count() - 1);
    const int d = target - caret_;
    if (d != 0) SetCaret(target);
    ChangeSelection([&] {
        if (space || d != 0) {
            if (!ctrl && !shift) selection_.SelectOnly(caret_);
            else if (space && ctrl) {
                if (shift) selection_.ExtendTo(caret_, false);
                else if (selection_.IsSelected(caret_)) selection_.Remove(caret_);
                else selection_.Add(caret_);
            } else if (shift) {
                selection_.ExtendTo(caret_, !ctrl);
            }
            // Ctrl alone moves the caret and leaves the selection.
        } else if (!ctrl && !shift) {
            selection_.SelectOnly(caret_);
        }
    });
    KeepCaretVisible();
    return 0;
}

void RyVirtualListViewCtrl::ClickSelect(int item, bool shift, bool ctrl) {
    ChangeSelection([&] {
        if (shift) selection_.ExtendTo(item, !ctrl);
        else if (!ctrl) selection_.SelectOnly(item);
        else if (selection_.IsSelected(item)) selection_.Remove(item);
        else selection_.Add(item);
    });
}

bool RyVirtualListViewCtrl::HitPart(POINT pt, int* item, int* part, HCURSOR* cursor) {
    *item = layout_.ItemAt(pt, false);
    if (*item < 0) return false;
    const RECT rc = layout_.ItemRect(*item);
    POINT inItem = {pt.x - rc.left, pt.y - rc.top};
    ItemMeasurer::MeasureDc dc(font_);
    *part = -1;
    *cursor = nullptr;
    return server_->HitTest(dc.Get(), *item, &inItem, rc.right - rc.left, part, cursor) != FALSE;
}

bool RyVirtualListViewCtrl::UpdateHover(POINT pt) {
    if (hoverItem_ >= 0) ::KillTimer(hwnd_, TWT_HOVER);
    int item = -1, part = -1;
    HCURSOR cursor = nullptr;
    if (!HitPart(pt, &item, &part, &cursor)) {
        ClearHover();
        return false;
    }
    ::SetTimer(hwnd_, TWT_HOVER, 200, nullptr);
    if (item != hoverItem_ || part != hoverPart_) {
        if (hoverItem_ >= 0) {
            const int oldItem = hoverItem_;
            const int oldPart = hoverPart_;
            sink_->OnHoverLeave(oldItem, oldPart);
            if (oldPart >= 0 && oldItem < layout_.Count()) InvalidateItems(oldItem, oldItem);
        }
        hoverItem_ = item;
        hoverPart_ = part;
        if (part >= 0) InvalidateItems(item, item);
        sink_->OnHoverEnter(item, part);
    }
    return true;
}

POINT RyVirtualListViewCtrl::CursorPoint() const {
    POINT pt;
    if (!::GetCursorPos(&pt) || ::WindowFromPoint(pt) != hwnd_) return {-1, -1};
    ::ScreenToClient(hwnd_, &pt);
    return pt;
}

LRESULT RyVirtualListViewCtrl::OnTimer(WPARAM id, LPARAM, bool& handled) {
    if (id != TWT_HOVER) {
        handled = false;
        return 0;
    }
    // Leaving the window ends the hover here: the cursor is no longer over it.
    if (!dragging_) UpdateHover(CursorPoint());
    return 0;
}

bool RyVirtualListViewCtrl::OnSetCursor(HWND window, UINT hitTest, UINT) {
    if (window != hwnd_ || hitTest != HTCLIENT) return false;
    int item = -1, part = -1;
    HCURSOR cursor = nullptr;
    if (!HitPart(CursorPoint(), &item, &part, &cursor)) return false;
    ::SetCursor(cursor);
    return true;
}

void RyVirtualListViewCtrl::OnLButtonDoubleClick(UINT, POINT pt) {
    const int item = layout_.ItemAt(pt, false);
    if (item >= 0) sink_->OnItemDoubleClick(item);
}
