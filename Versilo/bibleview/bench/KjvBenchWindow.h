// The KJV test pane of the bible-view benchmarks in a real 640 x 480 text window of
// VoView.dll over a visible host window.
#pragma once
#include <windows.h>
#include <cstdio>
#include "KjvPane.h"

class KjvBenchWindow {
public:
    // settings must outlive the window; IsOpen tells whether everything was made.
    KjvBenchWindow(KjvPane& pane, VoViewSettings& settings) : pane_(pane) {
        dll_ = LoadLibraryA("VoView.dll");
        auto create = reinterpret_cast<VoCreateBibleTextWindowFn>(reinterpret_cast<void*>(
            GetProcAddress(dll_, MAKEINTRESOURCEA(VO_CREATE_BIBLE_TEXT_WINDOW_ORDINAL))));
        if (!create) {
            std::printf("VoView.dll has no text window\n");
            return;
        }
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KjvBenchHost";
        RegisterClassA(&wc);
        host_ = CreateWindowExA(0, wc.lpszClassName, "Bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                700, 560, nullptr, nullptr, wc.hInstance, nullptr);
        RECT rc = {0, 0, 640, 480};
        window_ = create(host_, &pane, &pane, &rc, 1);
        pane.SetWindow(window_);
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(settings.GetFont()), TRUE);
        Pump();
    }
    ~KjvBenchWindow() {
        if (host_) DestroyWindow(host_);
        pane_.SetWindow(nullptr);
        if (dll_) FreeLibrary(dll_);
    }
    KjvBenchWindow(const KjvBenchWindow&) = delete;
    KjvBenchWindow& operator=(const KjvBenchWindow&) = delete;

    bool IsOpen() const { return window_ != nullptr; }
    HWND Get() const { return window_; }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

private:
    KjvPane& pane_;
    HMODULE dll_ = nullptr;
    HWND host_ = nullptr;
    HWND window_ = nullptr;
};
