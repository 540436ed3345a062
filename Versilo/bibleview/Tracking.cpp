#include "Tracking.h"
#include "Handles.h"

namespace {

// The feedback bar: three focus-rectangle strips of 2 pixels; drawing it again erases it.
void DrawSplitterBar(HWND window, int x, int top, int height) {
    WindowDc dc(window);
    if (!dc.Get()) return;
    for (int i = 0; i < 3; ++i) {
        RECT rc = {x + 2 * i, top, x + 2 * i + 2, top + height};
        DrawFocusRect(dc.Get(), &rc);
    }
}

int Clamp(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

int TrackSplitter(HWND window, int pointerX, int splitterX, int minX, int maxX, int top, int height) {
    if (!window || minX > maxX) return splitterX;
    SetCapture(window);
    DrawSplitterBar(window, splitterX, top, height);
    const int low = minX - splitterX + pointerX;
    const int high = maxX - splitterX + pointerX;
    int last = pointerX;
    auto finish = [&](int result) {
        DrawSplitterBar(window, splitterX + (last - pointerX), top, height);
        if (GetCapture() == window) ReleaseCapture();
        return result;
    };
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The outer loop must still see the quit message.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            return finish(splitterX);
        }
        if (GetCapture() != window) {
            DispatchMessageA(&msg);
            return finish(splitterX);
        }
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            break;
        case WM_MOUSEMOVE: {
            const int x = Clamp(static_cast<short>(LOWORD(msg.lParam)), low, high);
            if (x != last) {
                DrawSplitterBar(window, splitterX + (last - pointerX), top, height);
                last = x;
                DrawSplitterBar(window, splitterX + (last - pointerX), top, height);
            }
            break;
        }
        case WM_LBUTTONUP:
            return finish(splitterX + (Clamp(static_cast<short>(LOWORD(msg.lParam)), low, high) - pointerX));
        case WM_KEYDOWN:
            return finish(splitterX);
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
