// Benchmark of the text window: a window of 30,000 items (one bible's verses) with one and
// with three columns; prints the time of a relayout, a full repaint (with a warm and with
// an empty height cache) and a page scroll, and how many items each measured.
// Run: build/ARCH/wine-run build/ARCH/bench/VoViewBench.exe [rounds]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "BenchItemServer.h"

namespace {

constexpr int kItems = 30000;
constexpr int kClientW = 900;
constexpr int kClientH = 700;

// Verse-like items: heights of one to five lines of 18 pixels, drawn as a line of text.
class BenchServer : public BenchItemServer {
public:
    BenchServer() : BenchItemServer(kItems) {}

    int columnWidth = 0;
    long measured = 0;

    int STDMETHODCALLTYPE GetColumnWidth() override { return columnWidth; }
    void STDMETHODCALLTYPE MeasureItem(HDC, int item, int, int* units, int* height) override {
        ++measured;
        *units = 1;
        *height = 18 * (1 + (item * 7919) % 5);
    }
    void STDMETHODCALLTYPE DrawItem(HDC dc, int item, int x, int y, int, int height, const int*) override {
        wchar_t text[96];
        const int n = wsprintfW(text, L"%d  I begynnelsen skapte Gud himmelen og jorden.", item + 1);
        for (int line = 0; line * 18 < height; ++line) TextOutW(dc, x + 4, y + line * 18, text, n);
    }
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

struct Figure {
    double ms;
    double measured;
};

// Runs step `rounds` times and answers the mean time and MeasureItem calls per round.
template <class Step>
Figure Time(BenchServer& server, int rounds, Step step) {
    const long before = server.measured;
    const double start = Now();
    for (int i = 0; i < rounds; ++i) step(i);
    return {(Now() - start) / rounds, static_cast<double>(server.measured - before) / rounds};
}

void Report(const char* what, const Figure& f) {
    std::printf("  %-34s %9.3f ms   %7.1f items measured\n", what, f.ms, f.measured);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VoViewBenchHost";
    RegisterClassExW(&wc);
    RECT rc = {0, 0, kClientW, kClientH};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND host = CreateWindowExW(0, wc.lpszClassName, L"VoView benchmark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                0, 0, rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!host) return 1;
    ShowWindow(host, SW_SHOW);
    Pump();
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    std::printf("VoView text window, %d items, client %dx%d, %d rounds each\n", kItems, kClientW, kClientH, rounds);
    for (int columns : {1, 3}) {
        BenchServer server;
        server.columnWidth = columns == 1 ? 0 : kClientW / 3 - 20;
        HWND hwnd = VoCreateBibleTextWindow(host, &server, &server, nullptr, 1);
        if (!hwnd) return 2;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        UpdateWindow(hwnd);
        Pump();
        std::printf("%d column%s:\n", columns, columns == 1 ? "" : "s");
        Report("relayout (TWM_RELOADITEMS)", Time(server, rounds, [&](int) {
            SendMessageW(hwnd, TWM_RELOADITEMS, 0, 0);
        }));
        UpdateWindow(hwnd);
        Report("full repaint, heights cached", Time(server, rounds, [&](int) {
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
        }));
        Report("full repaint after WM_SIZE", Time(server, rounds, [&](int i) {
            const int w = kClientW - (i % 2);
            SetWindowPos(hwnd, nullptr, 0, 0, w, kClientH, SWP_NOMOVE | SWP_NOZORDER);
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
        }));
        SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);
        Report("page down (SB_PAGEDOWN)", Time(server, rounds, [&](int) {
            SendMessageW(hwnd, WM_VSCROLL, SB_PAGEDOWN, 0);
        }));
        Report("line down (SB_LINEDOWN)", Time(server, rounds, [&](int) {
            SendMessageW(hwnd, WM_VSCROLL, SB_LINEDOWN, 0);
        }));
        std::printf("  top after the page and line scrolls: %d (largest %d)\n",
                    static_cast<int>(SendMessageW(hwnd, TWM_GETTOPINDEX, 0, 0)),
                    static_cast<int>(SendMessageW(hwnd, TWM_GETMAXTOPINDEX, 0, 0)));
        Report("jump to the end and back", Time(server, rounds, [&](int) {
            SendMessageW(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
            SendMessageW(hwnd, WM_VSCROLL, SB_TOP, 0);
        }));
        DestroyWindow(hwnd);
        Pump();
    }
    return 0;
}
