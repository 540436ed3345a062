// TrackSplitter and TrackButton.
#include "Tracking.h"
#include "Handles.h"
#include "RyMessageMap.h"

namespace {

// The feedback bar of a splitter: three 2-pixel focus strips side by side. Drawing it a
// second time at the same place erases it. It is drawn over the window's children too (a
// window with WS_CLIPCHILDREN would otherwise show it only between them).
void DrawSplitterBar(HWND window, int x, int top, int height) {
    WindowDc dc(window, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc.Get()) return;
    for (int i = 0; i < 3; ++i) {
        const RECT strip = {x + 2 * i, top, x + 2 * i + 2, top + height};
        DrawFocusRect(dc.Get(), &strip);
    }
}

int Clamp(int value, int low, int high) {
    if (value < low) return low;
    return value > high ? high : value;
}

// Leaves the captured state: the outer loop must still see a quit message.
void RepostQuit(const MSG& msg) { PostQuitMessage(static_cast<int>(msg.wParam)); }

bool IsDroppedButton(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

}  // namespace

int TrackSplitter(HWND window, int pressX, int splitterX, int minX, int maxX, int top, int height) {
    SetCapture(window);
    DrawSplitterBar(window, splitterX, top, height);
    // Limits that cross (two neighbours narrower than their minimum together) leave the
    // splitter where it is.
    const bool crossed = maxX < minX;
    const int low = crossed ? pressX : minX - splitterX + pressX;
    const int high = crossed ? pressX : maxX - splitterX + pressX;
    int last = Clamp(pressX, low, high);
    int barX = splitterX;
    auto finish = [&](int result) {
        DrawSplitterBar(window, barX, top, height);
        if (GetCapture() == window) ReleaseCapture();
        return result;
    };
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0) RepostQuit(msg);
            return finish(splitterX);
        }
        if (GetCapture() != window) return finish(splitterX);
        if (IsDroppedButton(msg.message)) continue;
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            const int x = Clamp(RyPointFrom(msg.lParam).x, low, high);
            if (x != last) {
                DrawSplitterBar(window, barX, top, height);
                last = x;
                barX = splitterX + (x - pressX);
                DrawSplitterBar(window, barX, top, height);
            }
            continue;
        }
        case WM_LBUTTONUP: {
            const int x = Clamp(RyPointFrom(msg.lParam).x, low, high);
            return finish(splitterX + (x - pressX));
        }
        case WM_KEYDOWN:
            return finish(splitterX);
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool TrackButton(HWND window, const RECT& rect, AButtonPainter* painter) {
    SetCapture(window);
    painter->Paint(window, rect, true, true);
    bool inside = true;
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) RepostQuit(msg);
        if (got == 0 || got == -1 || GetCapture() != window) break;
        if (IsDroppedButton(msg.message)) continue;
        if (msg.message == WM_MOUSEMOVE) {
            const bool now = PtInRect(&rect, RyPointFrom(msg.lParam)) != FALSE;
            if (now != inside) {
                inside = now;
                painter->Paint(window, rect, inside, true);
            }
        } else if (msg.message == WM_LBUTTONUP) {
            inside = PtInRect(&rect, RyPointFrom(msg.lParam)) != FALSE;
            painter->Paint(window, rect, inside, false);
            ReleaseCapture();
            return inside;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    painter->Paint(window, rect, false, false);
    if (GetCapture() == window) ReleaseCapture();
    return false;
}
