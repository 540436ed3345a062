// The yardstick of the start-up benchmark: a bare Win32 program that opens one window and
// paints 40 lines of text in it, nothing else. StartupBench starts it beside Versilo.exe
// and waits for its text the same way, so the ratio of the two times is what Versilo's own
// work adds to what any window program costs under the same Wine.
#include <windows.h>
#include <cstdio>

namespace {

constexpr char kClassName[] = "VersiloBareWindow";

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SetBkColor(dc, RGB(255, 255, 255));
        for (int line = 0; line < 40; ++line) {
            char text[96];
            const int length = std::snprintf(text, sizeof text,
                                             "%d For God so loved the world, that he gave his only begotten Son", line + 1);
            TextOutA(dc, 8, 4 + line * metrics.tmHeight, text, length);
        }
        SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(0, kClassName, "Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  800, 700, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCmd);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
