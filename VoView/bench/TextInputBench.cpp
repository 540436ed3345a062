// Benchmark of the text window's input over 30,000 items (one bible's verses): a click on
// an item (press and release), Shift+End from the top, and selecting everything followed by
// a copy of all items into the clipboard through the data source. Prints medians in ms.
// Run: build/ARCH/wine-run build/ARCH/bench/TextInputBench.exe [rounds]
#include <windows.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchItemServer.h"
#include "BenchTimer.h"
#include "VoView.h"

namespace {

constexpr int kItems = 30000;

// 20-pixel items; the selection's data is one line of verse text per selected item.
class BenchServer : public BenchItemServer {
public:
    BenchServer() : BenchItemServer(kItems) {}

    HWND window = nullptr;
    size_t copiedBytes = 0;

    void STDMETHODCALLTYPE MeasureItem(HDC, int, int, int* units, int* height) override {
        *units = 1;
        *height = 20;
    }
    void STDMETHODCALLTYPE DrawItem(HDC dc, int item, int x, int y, int, int, const int*) override {
        char text[32];
        TextOutA(dc, x + 4, y + 2, text, wsprintfA(text, "%d", item + 1));
    }
    BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource* source) override {
        int bounds[2] = {0, 0};
        SendMessageA(window, TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds));
        std::string text;
        for (int i = bounds[0]; i < bounds[1]; ++i)
            if (SendMessageA(window, TWM_ISSELECTED, static_cast<WPARAM>(i), 0) == 1)
                text += std::to_string(i + 1) + " I begynnelsen skapte Gud himmelen og jorden.\r\n";
        copiedBytes = text.size() + 1;
        return SUCCEEDED(source->SetData(CF_TEXT, text.c_str(), static_cast<int>(text.size() + 1), nullptr));
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void SetKey(int key, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    OleInitialize(nullptr);
    HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 740, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    BenchServer server;
    HWND hwnd = VoCreateBibleTextWindow(host, &server, &server, nullptr, 1);
    if (!hwnd) {
        std::printf("no text window\n");
        return 1;
    }
    server.window = hwnd;
    SetFocus(hwnd);
    UpdateWindow(hwnd);
    Pump();

    std::vector<double> click, shiftEnd, copyAll;
    for (int r = 0; r < rounds; ++r) {
        SendMessageA(hwnd, WM_KEYDOWN, VK_HOME, 1);
        UpdateWindow(hwnd);
        Pump();
        const LPARAM at = MAKELPARAM(100, 110);  // item 5
        BenchTimer t;
        PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        UpdateWindow(hwnd);
        click.push_back(t.Seconds() * 1000);

        SendMessageA(hwnd, WM_KEYDOWN, VK_HOME, 1);
        UpdateWindow(hwnd);
        Pump();
        SetKey(VK_SHIFT, true);
        t.Restart();
        SendMessageA(hwnd, WM_KEYDOWN, VK_END, 1);
        UpdateWindow(hwnd);
        shiftEnd.push_back(t.Seconds() * 1000);
        SetKey(VK_SHIFT, false);

        SetKey(VK_CONTROL, true);
        t.Restart();
        SendMessageA(hwnd, TWM_SELECTRANGE, 0, kItems);  // Ctrl+A: everything
        SendMessageA(hwnd, WM_KEYDOWN, 'C', 1);
        UpdateWindow(hwnd);
        copyAll.push_back(t.Seconds() * 1000);
        SetKey(VK_CONTROL, false);
    }
    std::printf("text window input, %d items, median of %d rounds\n", kItems, rounds);
    std::printf("  click on an item (press and release):  %8.3f ms\n", Median(click));
    std::printf("  Shift+End from the top:                %8.3f ms\n", Median(shiftEnd));
    std::printf("  select all + Ctrl+C (%zu bytes):     %8.3f ms\n", server.copiedBytes, Median(copyAll));
    OleSetClipboard(nullptr);
    DestroyWindow(host);
    OleUninitialize();
    return 0;
}
