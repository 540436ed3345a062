// RyVirtualComboList: rows from the provider, scrolling, keys, and the mouse loop that
// picks a row (with auto-scroll while the pointer stays above or below the rows).
#include "VirtualComboList.h"
#include "Handles.h"
#include "VirtualCombo.h"
#include <algorithm>

namespace {

const char kListClass[] = "RyVirtualComboList";

bool IsButtonClass(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, "VoBmpButton") == 0 || lstrcmpiA(name, "BUTTON") == 0;
}

}  // namespace

void RyVirtualComboList::GetWindowClass(ry::WindowClass& wc) {
    wc.lpszClassName = kListClass;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
}

bool RyVirtualComboList::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT& result) {
    static const RyMessageEntry<RyVirtualComboList> map[] = {
        {WM_CREATE, RyOnCreate<&RyVirtualComboList::OnCreate>},
        {WM_PAINT, RyOnVoid<&RyVirtualComboList::OnPaint>},
        {WM_SIZE, RyOnSize<&RyVirtualComboList::OnSize>},
        {WM_VSCROLL, RyOnScroll<&RyVirtualComboList::OnVScroll>},
        {WM_LBUTTONDOWN, RyOnMouse<&RyVirtualComboList::OnLButtonDown>},
        {WM_LBUTTONDBLCLK, RyOnMouse<&RyVirtualComboList::OnLButtonDown>},
        {WM_MOUSEACTIVATE, RyMsg<&RyVirtualComboList::OnMouseActivate>},
        {WM_SETFONT, RyMsg<&RyVirtualComboList::OnSetFontMessage>},
        {WM_GETFONT, RyMsg<&RyVirtualComboList::OnGetFont>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

HWND RyVirtualComboList::CreateList() {
    RyCreateParams p;
    p.parent = GetDesktopWindow();
    p.x = p.y = 0;
    p.cx = p.cy = 0;
    return Create(p);
}

int RyVirtualComboList::OnCreate(const ry::CreateStruct&) {
    font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    UpdateMetrics();
    return 0;
}

void RyVirtualComboList::SetProvider(IVirtualListItemProvider* provider, int count) {
    provider_ = ComPtr<IVirtualListItemProvider>(provider);
    SetCount(count);
}

void RyVirtualComboList::SetCount(int count) {
    count_ = std::max(count, 0);
    if (current_ >= count_) current_ = -1;
    top_ = std::min(top_, std::max(count_ - rows_, 0));
    UpdateScrollBar();
    Invalidate();
}

void RyVirtualComboList::SetImageList(HIMAGELIST images) {
    images_ = images;
    UpdateMetrics();
}

void RyVirtualComboList::SetFont(HFONT font) {
    font_ = font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    UpdateMetrics();
    Invalidate();
}

LRESULT RyVirtualComboList::OnSetFontMessage(WPARAM wParam, LPARAM) {
    SetFont(reinterpret_cast<HFONT>(wParam));
    return 0;
}

// The row height: the image height plus 2 (2 without images), or the text height when larger.
void RyVirtualComboList::UpdateMetrics() {
    int height = 2;
    int cx = 0, cy = 0;
    if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) height = cy + 2;
    if (IsWindow()) {
        WindowDc dc(hwnd_);
        SelectedObject font(dc.Get(), font_);
        TEXTMETRICA tm = {};
        if (GetTextMetricsA(dc.Get(), &tm)) height = std::max(height, static_cast<int>(tm.tmHeight));
    }
    itemHeight_ = std::max(height, 1);
    Relayout();
}

void RyVirtualComboList::Relayout() {
    if (!IsWindow()) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    rows_ = rc.bottom / itemHeight_;
    UpdateScrollBar();
}

int RyVirtualComboList::WindowHeightFor() const { return itemHeight_ * std::min(count_, kMaxVisibleRows) + 2; }

void RyVirtualComboList::OnSize(UINT, int, int) { Relayout(); }

void RyVirtualComboList::UpdateScrollBar() {
    if (!IsWindow()) return;
    if (count_ > rows_) {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMax = count_ - 1;
        si.nPage = static_cast<UINT>(std::max(rows_, 0));
        si.nPos = top_;
        ShowScrollBar(hwnd_, SB_VERT, TRUE);
        SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    } else {
        ShowScrollBar(hwnd_, SB_VERT, FALSE);
        top_ = 0;
    }
}

void RyVirtualComboList::ScrollBy(int delta) {
    const int last = std::max(count_ - rows_, 0);
    const int target = std::min(std::max(top_ + delta, 0), last);
    delta = target - top_;
    if (delta == 0) return;
    top_ = target;
    if (IsWindow()) {
        if (std::abs(delta) <= rows_) ScrollWindowEx(hwnd_, 0, -delta * itemHeight_, nullptr, nullptr, nullptr,
                                                     nullptr, SW_INVALIDATE);
        else Invalidate();
        SetScrollPos(hwnd_, SB_VERT, top_, TRUE);
    }
}

void RyVirtualComboList::InvalidateRow(int index) {
    if (index < top_ || index >= top_ + rows_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    rc.top = (index - top_) * itemHeight_;
    rc.bottom = rc.top + itemHeight_;
    InvalidateRect(rc);
}

void RyVirtualComboList::SetCurrent(int index) {
    if (index != -1) index = count_ > 0 ? std::min(std::max(index, 0), count_ - 1) : -1;
    InvalidateRow(current_);
    current_ = index;
    if (index >= 0) {
        if (index < top_) ScrollBy(index - top_);
        else if (rows_ > 0 && index >= top_ + rows_) ScrollBy(index - (top_ + rows_ - 1));
    }
    InvalidateRow(current_);
}

bool RyVirtualComboList::HandleKey(UINT key) {
    if (count_ <= 0) return false;
    const int page = std::max(rows_ - 1, 1);
    const int from = current_ < 0 ? 0 : current_;
    int to;
    switch (key) {
    case VK_PRIOR: to = from - page; break;
    case VK_NEXT: to = current_ < 0 ? page : from + page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count_ - 1; break;
    case VK_LEFT:
    case VK_UP: to = current_ < 0 ? 0 : from - 1; break;
    case VK_RIGHT:
    case VK_DOWN: to = current_ < 0 ? 0 : from + 1; break;
    default: return false;
    }
    SetCurrent(std::min(std::max(to, 0), count_ - 1));
    return true;
}

void RyVirtualComboList::GetRowText(int index, char* buffer) const {
    buffer[0] = '\0';
    if (!provider_ || index < 0 || index >= count_) return;
    RyVirtualListItem item = {kRyItemText, -1, buffer, kTextBufferSize};
    if (FAILED(provider_->GetItem(index, &item))) buffer[0] = '\0';
    buffer[kTextBufferSize - 1] = '\0';
}

void RyVirtualComboList::OnPaint() {
    PaintDc paint(hwnd_);
    HDC dc = paint.Get();
    if (!dc) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    SelectedObject font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    int imageWidth = 0, imageHeight = 0;
    if (images_) ImageList_GetIconSize(images_, &imageWidth, &imageHeight);
    char text[kTextBufferSize];
    for (int row = 0; row <= rows_; ++row) {
        const int index = top_ + row;
        RECT rc = {0, row * itemHeight_, client.right, (row + 1) * itemHeight_};
        if (rc.top >= client.bottom) break;
        if (index >= count_) {
            FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
            continue;
        }
        const bool selected = index == current_ && !outside_;
        FillRect(dc, &rc, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RyVirtualListItem item = {kRyItemText | (images_ ? kRyItemImage : 0u), -1, text, kTextBufferSize};
        text[0] = '\0';
        if (!provider_ || FAILED(provider_->GetItem(index, &item))) text[0] = '\0';
        text[kTextBufferSize - 1] = '\0';
        int x = rc.left + 2;
        if (images_) {
            if (item.image >= 0)
                ImageList_Draw(images_, item.image, dc, x, rc.top + (itemHeight_ - imageHeight) / 2,
                               selected ? ILD_SELECTED : ILD_NORMAL);
            x += imageWidth + 2;
        }
        RECT textRect = {x, rc.top, rc.right, rc.bottom};
        DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (index == current_) DrawFocusRect(dc, &rc);
    }
}

void RyVirtualComboList::OnVScroll(int code, UINT, HWND) {
    const int page = std::max(rows_ - 1, 1);
    switch (code) {
    case SB_LINEUP: ScrollBy(-1); break;
    case SB_LINEDOWN: ScrollBy(1); break;
    case SB_PAGEUP: ScrollBy(-page); break;
    case SB_PAGEDOWN: ScrollBy(page); break;
    case SB_THUMBTRACK: {
        // The 32-bit tracked position: lists longer than 65,535 rows scroll too.
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(hwnd_, SB_VERT, &si)) ScrollBy(si.nTrackPos - top_);
        break;
    }
    case SB_TOP: ScrollBy(-top_); break;
    case SB_BOTTOM: ScrollBy(count_ - top_); break;
    default: break;
    }
}

int RyVirtualComboList::RowAt(POINT point) const {
    const int visible = std::min(rows_, count_ - top_);
    if (visible <= 0) return -1;
    int row = point.y < 0 ? 0 : point.y / itemHeight_;
    row = std::min(row, visible - 1);
    return top_ + row;
}

void RyVirtualComboList::OnLButtonDown(UINT, POINT point) {
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT screen = point;
    ClientToScreen(hwnd_, &screen);
    if (PtInRect(&client, point)) {
        const int pressed = RowAt(point);
        SetCurrent(pressed);
        if (!DragLoop()) SetCurrent(pressed);
        owner_.CloseList(true);
        return;
    }
    RECT window;
    GetWindowRect(hwnd_, &window);
    if (PtInRect(&window, screen)) {
        // The scroll bar: its own tracking, then the list holds the mouse again.
        const LRESULT hit = ry::DefProc(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        ry::DefProc(hwnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
        if (IsWindowVisible(hwnd_)) SetCapture(hwnd_);
        return;
    }
    PressOutside(screen);
}

// A press outside the list cancels it. A press on a button of this program is passed to
// that button, so a click on a toolbar button is not lost while the list holds the mouse;
// disabled buttons and windows of other threads or programs get nothing.
void RyVirtualComboList::PressOutside(POINT screenPoint) {
    if (GetCapture() == hwnd_) ReleaseCapture();
    HWND target = WindowFromPoint(screenPoint);
    if (target && target != hwnd_ && IsButtonClass(target) && IsWindowEnabled(target) &&
        GetWindowThreadProcessId(target, nullptr) == GetCurrentThreadId()) {
        HWND parent = GetParent(target);
        if (parent)
            ry::Send(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED),
                     reinterpret_cast<LPARAM>(target));
    }
    owner_.CloseList(false);
}

bool RyVirtualComboList::DragLoop() {
    KeepAlive alive(*this);
    SetCapture(hwnd_);
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(hwnd_, &point);
    RECT client;
    GetClientRect(hwnd_, &client);
    DWORD inBand = clock_();
    DWORD lastStep = inBand;
    bool released = false;
    while (IsWindow() && GetCapture() == hwnd_) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (InRowBand(point)) {
                WaitMessage();
                continue;
            }
            const DWORD now = clock_();
            if (now - inBand >= kScrollDelay && now - lastStep > kScrollInterval) {
                ScrollBy(point.y < 0 ? -1 : 1);
                SetCurrent(RowAt(point));
                lastStep = now;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) break;  // left in the queue for the program's loop
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        if (msg.hwnd == hwnd_ && msg.message == WM_MOUSEMOVE) {
            const POINT next = RyPointFrom(msg.lParam);
            if (InRowBand(next)) inBand = lastStep = clock_();
            if ((PtInRect(&client, point) != FALSE) != (PtInRect(&client, next) != FALSE)) {
                outside_ = !outside_;
                InvalidateRow(current_);
            }
            point = next;
            if (!InRowBand(point)) ScrollBy(point.y < 0 ? -1 : 1);
            SetCurrent(RowAt(point));
            continue;
        }
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            continue;
        case WM_LBUTTONUP:
            if (msg.hwnd == hwnd_) point = RyPointFrom(msg.lParam);
            released = true;
            break;
        default:
            TranslateMessage(&msg);
            ry::DispatchMsg(&msg);
            continue;
        }
        break;
    }
    if (outside_) {
        outside_ = false;
        InvalidateRow(current_);
    }
    if (GetCapture() == hwnd_) ReleaseCapture();
    return released && PtInRect(&client, point);
}
