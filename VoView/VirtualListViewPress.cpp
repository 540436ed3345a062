// RyVirtualListViewCtrl: mouse presses. A press on a part of an item is a link press that
// the sink follows through its phases (0 pressed, 1 held, 2 released, 3 moved out); any
// other press sets the caret and either tracks a press on the selection (a click, or a
// drag of the selection) or selects with a rubber band that scrolls at the window's edges.
// Both loops run while the window holds the mouse capture and give it back on every way out.
#include "VirtualListViewCtrl.h"
#include <algorithm>
#include "RubberBand.h"
#include "RyMouseCapture.h"

namespace {

void Dispatch(MSG& msg) {
    ::TranslateMessage(&msg);
    ry::DispatchMsg(&msg);
}

}  // namespace

POINT RyVirtualListViewCtrl::MessagePoint(const MSG& msg) const {
    POINT pt = RyPointFrom(msg.lParam);
    if (msg.hwnd && msg.hwnd != hwnd_) ::MapWindowPoints(msg.hwnd, hwnd_, &pt, 1);
    return pt;
}

RECT RyVirtualListViewCtrl::DragRect(POINT pt) const {
    RECT rc = {pt.x, pt.y, pt.x, pt.y};
    ::InflateRect(&rc, ::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    return rc;
}

RyVirtualListViewCtrl::PressEnd RyVirtualListViewCtrl::TrackPress(bool left, const RECT& dragRect, POINT* last) {
    const UINT release = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    MSG msg;
    // A sink may close the window during the press: its handle is gone then (and a null
    // handle would match a desktop without any capture).
    while (hwnd_ && ::GetCapture() == hwnd_) {
        const BOOL got = ry::GetMsg(&msg);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the program's own loop must see it too
            return PressEnd::Lost;
        }
        if (got == -1) return PressEnd::Lost;
        switch (msg.message) {
        case WM_TIMER:
            if (msg.hwnd == hwnd_ && msg.wParam == TWT_PRESSHOLD) return PressEnd::Held;
            break;
        case WM_MOUSEMOVE:
            *last = MessagePoint(msg);
            if (!::PtInRect(&dragRect, *last)) return PressEnd::Moved;
            continue;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            continue;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (msg.message != release) continue;
            *last = MessagePoint(msg);
            return PressEnd::Released;
        default:
            break;
        }
        Dispatch(msg);
    }
    return PressEnd::Lost;
}

void RyVirtualListViewCtrl::Press(bool left, UINT keys, POINT pt) {
    ::SetFocus(hwnd_);
    POINT last = pt;
    if (UpdateHover(pt)) {
        if (LinkPress(left, hoverItem_, hoverPart_, pt, &last)) return;
    }
    OrdinaryPress(left, keys, pt, &last);
}

bool RyVirtualListViewCtrl::LinkPress(bool left, int item, int part, POINT pt, POINT* last) {
    LinkPressInfo info = {item, part, left, 0, 0, 0};
    sink_->OnLinkPress(0, &info);
    if (!hwnd_) return true;              // the sink closed the window
    if (info.part != part) return false;  // the sink made it an ordinary press

    const DWORD pressTime = clock_->Now();
    RyMouseCapture capture(hwnd_);
    if (info.holdTime > 0) ::SetTimer(hwnd_, TWT_PRESSHOLD, static_cast<UINT>(info.holdTime), nullptr);
    const RECT dragRect = DragRect(pt);
    PressEnd end = TrackPress(left, dragRect, last);
    info.elapsed = static_cast<int>(clock_->Now() - pressTime);
    ::KillTimer(hwnd_, TWT_PRESSHOLD);
    if (end == PressEnd::Held) {
        sink_->OnLinkPress(1, &info);
        end = TrackPress(left, dragRect, last);
        info.elapsed = static_cast<int>(clock_->Now() - pressTime);
    }
    capture.Release();

    switch (end) {
    case PressEnd::Released:
        sink_->OnLinkPress(2, &info);
        return true;
    case PressEnd::Moved:
        sink_->OnLinkPress(3, &info);
        if (server_->CanDragPart(item, part) & 1) {
            Drag(PartData(item, part));
            return true;
        }
        ClearHover();
        return false;
    default:
        return true;
    }
}

void RyVirtualListViewCtrl::OrdinaryPress(bool left, UINT keys, POINT pt, POINT* last) {
    RyMouseCapture capture(hwnd_);
    const int item = layout_.ItemAt(pt, false);
    if (item < 0) return;
    SetCaret(item);
    if (!hwnd_) return;  // the sink closed the window
    if (selection_.IsSelected(item)) {
        const PressEnd end = TrackPress(left, DragRect(pt), last);
        capture.Release();
        if (end == PressEnd::Moved) {
            Drag(SelectionData());
            return;
        }
        if (end != PressEnd::Released) return;
        if (left) {
            ClickSelect(item, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
            KeepCaretVisible();
        }
    } else {
        ClickSelect(item, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        RubberBand(left, last);
        capture.Release();
    }
    UpdateHover(*last);
    if (!left) sink_->OnRightClick(item);
}

void RyVirtualListViewCtrl::UpdateBandSelection(POINT pt) {
    pt.x = std::min(std::max(pt.x, 0L), static_cast<LONG>(layout_.ClientWidth() - 1));
    pt.y = std::min(std::max(pt.y, 0L), static_cast<LONG>(layout_.ClientHeight() - 1));
    const int item = layout_.ItemAt(pt, true);
    if (item < 0 || item == caret_) return;
    SetCaret(item);
    ChangeSelection([&] { selection_.ExtendTo(item, false); });
}

void RyVirtualListViewCtrl::RubberBand(bool left, POINT* last) {
    RECT desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&desktop), 2);
    const RubberBandZones zones(layout_.ClientHeight(), layout_.Columns(), layout_.ColumnWidth(), desktop);
    const UINT release = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    RubberBandPace pace;
    pace.Start(clock_->Now());
    MSG msg;
    while (hwnd_ && ::GetCapture() == hwnd_) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const int zone = zones.ZoneOf(*last);
            if (zone >= 0) {
                if (const int speed = pace.StepDue(clock_->Now())) {
                    const int position = layout_.Position();
                    switch (zone) {
                    case 0: ScrollBy(layout_.ColumnBack(position)); break;
                    case 1: ScrollBy(-speed); break;
                    case 2: ScrollBy(layout_.ItemsForward(position)); break;
                    default: ScrollBy(speed); break;
                    }
                    UpdateBandSelection(*last);  // the items scrolled in join the band
                }
            }
            // Wait for input between polls, but no longer than a step's interval.
            ::MsgWaitForMultipleObjectsEx(0, nullptr, RubberBandPace::kInterval, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the program's own loop must see it too
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
            *last = MessagePoint(msg);
            if (zones.ZoneOf(*last) < 0) pace.Start(clock_->Now());
            UpdateBandSelection(*last);
            continue;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (msg.message != release) continue;
            *last = MessagePoint(msg);
            KeepCaretVisible();
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            continue;
        default:
            Dispatch(msg);
        }
    }
    KeepCaretVisible();
}
