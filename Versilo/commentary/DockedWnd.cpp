#include "DockedWnd.h"
#include "Handles.h"
#include "Tracking.h"

namespace {

void VerticalLine(HDC dc, HPEN pen, int x, int top, int bottom) {
    SelectedObject selected(dc, pen);
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
}

}  // namespace

VoDockedEdge::VoDockedEdge()
    : cursor_(static_cast<HCURSOR>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIdcDockedSizing),
                                              IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE))) {}

bool VoDockedEdge::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_ERASEBKGND:
        result = TRUE;  // the frame and the children cover the whole pane
        return true;
    case WM_PAINT: {
        PaintDc dc(hwnd);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (dc.Get()) PaintFrame(dc.Get(), rc);
        result = 0;
        return true;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != hwnd || LOWORD(lParam) != HTCLIENT || !OnSetCursor(hwnd)) return false;
        result = TRUE;
        return true;
    case WM_LBUTTONDOWN:
        if (!OnLButtonDown(hwnd, RyPointFrom(lParam))) return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

RECT VoDockedEdge::GetInnerRect(HWND hwnd) {
    RECT rc = {};
    if (hwnd) GetClientRect(hwnd, &rc);
    rc.left += kDockedEdgeWidth;
    return rc;
}

void VoDockedEdge::PaintFrame(HDC dc, RECT rc) {
    PenHandle highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHIGHLIGHT)));
    PenHandle face(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE)));
    PenHandle shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW)));
    SelectedObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
    // The highlight line at the very left.
    VerticalLine(dc, highlight.Get(), rc.left, rc.top, rc.bottom);
    ++rc.left;
    // Two face-coloured rectangles, each inset by one pixel.
    {
        SelectedObject pen(dc, face.Get());
        for (int i = 0; i < 2; ++i) {
            Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
            InflateRect(&rc, -1, -1);
        }
    }
    // Two more face-coloured columns, then the shadow line over the full height: the left
    // edge so shows the highlight at x = 0, face colour at 1 to 4 and the shadow at x = 5.
    for (int i = 0; i < 2; ++i) {
        VerticalLine(dc, face.Get(), rc.left, rc.top, rc.bottom);
        ++rc.left;
    }
    VerticalLine(dc, shadow.Get(), rc.left, rc.top - 2, rc.bottom + 2);
}

bool VoDockedEdge::OnSetCursor(HWND hwnd) {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    if (pt.x >= kDockedEdgeWidth) return false;
    SetCursor(cursor_ ? cursor_.Get() : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE)));
    return true;
}

bool VoDockedEdge::OnLButtonDown(HWND hwnd, POINT point) {
    if (point.x >= kDockedEdgeWidth) return false;
    const HWND parent = GetParent(hwnd);
    if (!parent) return false;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    MapWindowPoints(hwnd, parent, &point, 1);
    // An answer below the smallest width (0 when nobody answers) would put the smallest
    // allowed edge right of the largest: the pane is never narrower than kDockedMinWidth.
    LRESULT widest = RyWindow(hwnd).SendNotify(kDockedAskMaxWidth);
    if (widest < kDockedMinWidth) widest = kDockedMinWidth;
    const int left = TrackSplitter(parent, point.x, rc.left, rc.right - static_cast<int>(widest),
                                   rc.right - kDockedMinWidth, rc.top, rc.bottom - rc.top);
    if (left != rc.left && IsWindow(hwnd)) {
        MoveWindow(hwnd, left, rc.top, rc.right - left, rc.bottom - rc.top, TRUE);
        RyWindow(hwnd).SendNotify(kDockedWidthChanged);
    }
    return true;
}
