// The bible item server in a real text window over the KJV sample bible: a screen of John 3
// laid out and painted, every verse of Psalms measured once, and Psalm 119 paged through
// (with how many verses each page had to measure).
// Usage: ItemServerBench [rounds]
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "BenchTimer.h"
#include "KjvBenchWindow.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    KjvPane pane;
    if (!pane.IsOpen()) {
        std::printf("cannot open %s\n", VERSILO_KJV_BIBLE);
        return 1;
    }
    VoViewSettings settings;
    settings.SetMultiColumn(false);
    settings.SetFont("Times New Roman", 12);
    pane.SetSettings(&settings);
    KjvBenchWindow bench(pane, settings);
    if (!bench.IsOpen()) return 1;
    HWND window = bench.Get();

    // A screen of John 3: a fresh layout (font set again empties the heights) and a paint.
    pane.SetBook(42);
    std::vector<double> screen;
    int screenMeasured = 0;
    for (int r = 0; r < rounds; ++r) {
        pane.measured = 0;
        BenchTimer t;
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(settings.GetFont()), TRUE);
        pane.SetChapter(2);
        UpdateWindow(window);
        screen.push_back(t.Seconds());
        screenMeasured = pane.measured;
        pane.SetChapter(-1);
        pane.SetBook(42);
    }
    std::printf("John 3, one screen laid out and painted: %.2f ms (median of %d), %d verse measurements\n",
                Median(screen) * 1000, rounds, screenMeasured);

    // Every verse of Psalms measured once at the window's width.
    pane.SetBook(18);
    pane.SetChapter(0);
    HDC screenDc = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screenDc);
    ReleaseDC(nullptr, screenDc);
    HGDIOBJ oldFont = SelectObject(dc, settings.GetFont());
    std::vector<double> psalms;
    const int count = pane.GetItemCount();
    for (int r = 0; r < rounds; ++r) {
        BenchTimer t;
        for (int i = 0; i < count; ++i) {
            int units = 0, height = 0;
            pane.CVoBibleItemServer::MeasureItem(dc, i, 640, &units, &height);
        }
        psalms.push_back(t.Seconds());
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    std::printf("Psalms, all %d verses measured once: %.1f ms (median of %d), %.3f ms a verse\n", count,
                Median(psalms) * 1000, rounds, Median(psalms) * 1000 / count);

    // Page down through Psalm 119.
    std::vector<double> pages;
    int pageMeasured = 0;
    int pageCount = 0;
    for (int r = 0; r < rounds; ++r) {
        pane.SetChapter(117);
        pane.SetChapter(118);
        UpdateWindow(window);
        const int end = pane.ChapterItem(118) + pane.VersesIn(118);
        while (SendMessageA(window, TWM_GETTOPINDEX, 0, 0) < end - 1) {
            const LRESULT before = SendMessageA(window, TWM_GETTOPINDEX, 0, 0);
            pane.measured = 0;
            BenchTimer t;
            SendMessageA(window, WM_VSCROLL, SB_PAGEDOWN, 0);
            UpdateWindow(window);
            pages.push_back(t.Seconds());
            pageMeasured += pane.measured;
            ++pageCount;
            if (SendMessageA(window, TWM_GETTOPINDEX, 0, 0) == before) break;
        }
    }
    std::printf("Psalm 119, page down: %.2f ms a page (median of %d pages), worst %.2f ms, %.1f verse measurements a page\n",
                Median(pages) * 1000, pageCount, *std::max_element(pages.begin(), pages.end()) * 1000,
                pageCount ? static_cast<double>(pageMeasured) / pageCount : 0.0);
    return 0;
}
