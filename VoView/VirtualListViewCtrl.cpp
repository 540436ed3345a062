// RyVirtualListViewCtrl: creation, the message map, the private messages, caret, focus,
// hover clearing and the selection changes behind the private messages.
#include "VirtualListViewCtrl.h"
#include <ole2.h>
#include <commctrl.h>
#include <algorithm>
#include <new>
#include <vector>
#include "Handles.h"

namespace {
const SystemTickClock kSystemClock;
}

RyVirtualListViewCtrl::RyVirtualListViewCtrl(IVoItemServer* server, IVoBibleTextWindowSink* sink,
                                             const TickClock* clock)
    : clock_(clock ? clock : &kSystemClock), server_(server), sink_(sink), measurer_(server), layout_(measurer_) {
    ReadItemMetrics();
}

void RyVirtualListViewCtrl::ReadItemMetrics() {
    const int unitsPerItem = server_->GetScrollUnitsPerItem();
    const int fixedHeight = server_->GetFixedItemHeight();
    layout_.SetItems(0, unitsPerItem, fixedHeight);
}

bool RyVirtualListViewCtrl::Initialise() {
    return ResetItems();
}

HWND RyVirtualListViewCtrl::CreateTextWindow(HWND parent, IVoItemServer* server, IVoBibleTextWindowSink* sink,
                                             const RECT* rect, UINT controlId, const TickClock* clock) {
    if (!server || !sink) return nullptr;
    RECT rc = {};
    if (rect) rc = *rect;
    else if (!::GetClientRect(parent, &rc)) return nullptr;

    RyVirtualListViewCtrl* ctrl = new (std::nothrow) RyVirtualListViewCtrl(server, sink, clock);
    if (!ctrl) return nullptr;
    HWND hwnd = nullptr;
    if (ctrl->Initialise()) hwnd = ctrl->Create(parent, rc, controlId, WS_VSCROLL);
    // A window that was made owns the object from now on and deletes it after its last message.
    if (!hwnd) delete ctrl;
    return hwnd;
}

void RyVirtualListViewCtrl::GetWindowClass(ry::WindowClass& wc) {
    // Under the program's own instance, so the class outlives any one load of this library.
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = VO_TEXT_WINDOW_CLASS;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
}

bool RyVirtualListViewCtrl::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT& result) {
    using Self = RyVirtualListViewCtrl;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyOnCreate<&Self::OnCreate>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
        {WM_SIZE, RyOnSize<&Self::OnSize>},
        {WM_SETFONT, RyOnSetFont<&Self::OnSetFont>},
        {WM_GETFONT, RyMsg<&Self::OnGetFont>},
        {WM_ERASEBKGND, RyMsg<&Self::OnEraseBackground>},
        {WM_PAINT, RyOnVoid<&Self::OnPaint>},
        {WM_SETFOCUS, RyOnFocus<&Self::OnSetFocus>},
        {WM_KILLFOCUS, RyOnFocus<&Self::OnKillFocus>},
        {WM_CHAR, RyMsgMaybe<&Self::OnChar>},
        {WM_KEYDOWN, RyMsgMaybe<&Self::OnKeyDown>},
        {WM_MOUSEMOVE, RyOnMouse<&Self::OnMouseMove>},
        {WM_LBUTTONDOWN, RyOnMouse<&Self::OnLButtonDown>},
        {WM_RBUTTONDOWN, RyOnMouse<&Self::OnRButtonDown>},
        {WM_LBUTTONDBLCLK, RyOnMouse<&Self::OnLButtonDoubleClick>},
        {WM_SETCURSOR, RyOnSetCursor<&Self::OnSetCursor>},
        {WM_TIMER, RyMsgMaybe<&Self::OnTimer>},
        {WM_COPY, RyMsg<&Self::OnCopy>},
        {WM_VSCROLL, RyOnScroll<&Self::OnVScroll>},
        {WM_MOUSEWHEEL, RyOnMouseWheel<&Self::OnMouseWheel>},
        {TWM_RELOADITEMS, RyMsg<&Self::OnReloadItems>},
        {TWM_GETTOPINDEX, RyMsg<&Self::OnGetTopIndex>},
        {TWM_SHOWRANGE, RyMsg<&Self::OnShowRange>},
        {TWM_GETMAXTOPINDEX, RyMsg<&Self::OnGetMaxTopIndex>},
        {TWM_SETCARET, RyMsg<&Self::OnSetCaretMessage>},
        {TWM_GETCARET, RyMsg<&Self::OnGetCaret>},
        {TWM_ISSELECTED, RyMsg<&Self::OnIsSelected>},
        {TWM_SELECTRANGE, RyMsg<&Self::OnSelectRange>},
        {TWM_GETSELECTIONBOUNDS, RyMsg<&Self::OnGetSelectionBounds>},
        {TWM_ISDRAGGING, RyMsg<&Self::OnIsDragging>},
        {TWM_GETITEMRECT, RyMsg<&Self::OnGetItemRect>},
        {TWM_SETDIMSELECTION, RyMsg<&Self::OnSetDimSelection>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int RyVirtualListViewCtrl::OnCreate(const ry::CreateStruct&) {
    ComPtr<IDropTarget> target;
    if (SUCCEEDED(server_->QueryInterface(IID_IDropTarget, target.PutVoid())) && target)
        dropTargetRegistered_ = SUCCEEDED(::RegisterDragDrop(hwnd_, target.Get()));
    ::InitializeFlatSB(hwnd_);
    ::FlatSB_SetScrollProp(hwnd_, WSB_PROP_HSTYLE, FSB_ENCARTA_MODE, FALSE);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    // The bar stays in place, disabled, when nothing needs scrolling: a bar that came and went
    // would change the client width under the layout.
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = layout_.Count() - 1;
    si.nPage = 1;
    si.nPos = 0;
    ::FlatSB_SetScrollInfo(hwnd_, SB_VERT, &si, FALSE);
    layout_.SetPosition(0);
    return 0;
}

void RyVirtualListViewCtrl::OnDestroy() {
    if (dropTargetRegistered_) {
        ::RevokeDragDrop(hwnd_);
        dropTargetRegistered_ = false;
    }
}

void RyVirtualListViewCtrl::OnSize(UINT, int cx, int cy) {
    layout_.SetClientSize(cx, cy);
    measurer_.EmptyCache();
    Relayout();
}

void RyVirtualListViewCtrl::OnSetFont(HFONT font, bool redraw) {
    font_ = font;
    measurer_.SetFont(font);
    measurer_.EmptyCache();
    Relayout();
    if (redraw) Invalidate(true);
}

void RyVirtualListViewCtrl::OnSetFocus(HWND) {
    if (!focused_) {
        focused_ = true;
        DrawFocusAt(caret_);
        if (dimSelection_) Invalidate();
    }
    SendNotify(NM_SETFOCUS);
}

void RyVirtualListViewCtrl::OnKillFocus(HWND) {
    if (!focused_) return;
    DrawFocusAt(caret_);
    focused_ = false;
    if (dimSelection_) Invalidate();
}

LRESULT RyVirtualListViewCtrl::OnChar(WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = sink_->OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)) != FALSE;
    return 0;
}

LRESULT RyVirtualListViewCtrl::OnReloadItems(WPARAM, LPARAM) {
    ClearHover();
    ReadItemMetrics();
    caret_ = 0;
    ResetItems();
    Invalidate();
    SetScrollRange();
    Relayout();
    return TRUE;
}

LRESULT RyVirtualListViewCtrl::OnShowRange(WPARAM wParam, LPARAM lParam) {
    const int first = static_cast<int>(wParam);
    const int end = static_cast<int>(lParam);
    if (first < 0) return FALSE;  // nothing changes for a negative target
    ClearHover();
    if (end != 0 && first < layout_.Count()) SetCaret(first);
    if (first < end) SelectRange(first, end, false);
    ScrollBy(std::min(first, layout_.MaxTop()) - layout_.Position());
    return TRUE;
}

LRESULT RyVirtualListViewCtrl::OnSetCaretMessage(WPARAM wParam, LPARAM) {
    if (!ItemIndexValid(wParam)) return FALSE;
    SetCaret(static_cast<int>(wParam));
    return TRUE;
}

LRESULT RyVirtualListViewCtrl::OnIsSelected(WPARAM wParam, LPARAM) {
    if (!ItemIndexValid(wParam)) return -1;
    return selection_.IsSelected(static_cast<int>(wParam)) ? 1 : 0;
}

LRESULT RyVirtualListViewCtrl::OnSelectRange(WPARAM wParam, LPARAM lParam) {
    const bool add = (static_cast<DWORD>(lParam) & 0x80000000u) != 0;
    SelectRange(static_cast<int>(wParam), static_cast<int>(static_cast<DWORD>(lParam) & 0x7FFFFFFFu), add);
    return 0;
}

LRESULT RyVirtualListViewCtrl::OnGetSelectionBounds(WPARAM, LPARAM lParam) {
    int first = 0, end = 0;
    selection_.Bounds(&first, &end);
    if (int* out = reinterpret_cast<int*>(lParam)) {
        out[0] = first;
        out[1] = end;
    }
    return end - first;
}

LRESULT RyVirtualListViewCtrl::OnGetItemRect(WPARAM wParam, LPARAM lParam) {
    RECT* out = reinterpret_cast<RECT*>(lParam);
    if (!ItemIndexValid(wParam) || !out) return FALSE;
    *out = layout_.ItemRect(static_cast<int>(wParam));
    return TRUE;
}

LRESULT RyVirtualListViewCtrl::OnSetDimSelection(WPARAM wParam, LPARAM) {
    const bool dim = wParam != 0;
    if (dim != dimSelection_) {
        dimSelection_ = dim;
        if (!focused_) Invalidate();
    }
    return 0;
}

void RyVirtualListViewCtrl::SetCaret(int item) {
    if (focused_) DrawFocusAt(caret_);  // the focus rectangle is drawn in XOR mode: this removes it
    caret_ = item;
    if (focused_) DrawFocusAt(caret_);
    sink_->OnCaretChanged(item);
}

void RyVirtualListViewCtrl::DrawFocusAt(int item) {
    const VisibleRange v = layout_.Visible(false);
    if (item < v.first || item >= v.last) return;
    RECT rc = layout_.ItemRect(item);
    WindowDc dc(hwnd_);
    if (dc.Get()) ::DrawFocusRect(dc.Get(), &rc);
}

void RyVirtualListViewCtrl::ClearHover() {
    if (hoverItem_ < 0) return;
    ::KillTimer(hwnd_, TWT_HOVER);
    const int item = hoverItem_;
    const int part = hoverPart_;
    hoverItem_ = -1;
    sink_->OnHoverLeave(item, part);
    if (part >= 0 && item < layout_.Count()) InvalidateItems(item, item);
}

void RyVirtualListViewCtrl::ChangeSelection(const std::function<void()>& change) {
    const VisibleRange v = layout_.Visible(false);
    std::vector<char> before;
    for (int i = v.first; i < v.last; ++i) before.push_back(selection_.IsSelected(i) ? 1 : 0);
    change();
    int first = -1, last = -1;
    for (int i = v.first; i < v.last; ++i) {
        if ((selection_.IsSelected(i) ? 1 : 0) == before[static_cast<size_t>(i - v.first)]) continue;
        if (first < 0) first = i;
        last = i;
    }
    if (first < 0) return;
    InvalidateItems(first, last);
    sink_->OnSelectionChanged();
}

void RyVirtualListViewCtrl::SelectRange(int first, int end, bool add) {
    first = std::max(first, 0);
    end = std::min(end, layout_.Count());
    if (end <= first) {
        if (add) return;
        selection_.Clear();
        const VisibleRange v = layout_.Visible(false);
        if (v.first < v.last) {
            InvalidateItems(v.first, v.last - 1);
            sink_->OnSelectionChanged();
        }
        return;
    }
    ChangeSelection([&] {
        if (add) selection_.Add(first);
        else selection_.SelectOnly(first);
        selection_.ExtendTo(end - 1, false);
    });
}

void RyVirtualListViewCtrl::InvalidateItems(int first, int last) {
    const RECT a = layout_.ItemRect(first);
    const RECT b = layout_.ItemRect(last);
    RECT span;
    if (a.left == b.left) span = {a.left, a.top, a.right, b.bottom};
    else span = {a.left, 0, b.right, layout_.ClientHeight()};
    InvalidateRect(span);
}
