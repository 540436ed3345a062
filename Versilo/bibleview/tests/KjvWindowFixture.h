// A test fixture that shows KjvPane (the item server over the KJV sample bible) in a real
// text window of VoView.dll over a host window on the desktop.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "KjvPane.h"
#include "WindowCapture.h"

constexpr int kBookGenesis = 0, kBookPsalms = 18, kBookJohn = 42;

class KjvWindowTest : public testing::Test {
protected:
    static constexpr int kClientW = 640;
    static constexpr int kClientH = 480;

    static void SetUpTestSuite() {
        if (host_) return;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BibleItemTestHost";
        RegisterClassA(&wc);
        RECT rc = {0, 0, kClientW, kClientH};
        AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
        host_ = CreateWindowExA(0, wc.lpszClassName, "Bibel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                                rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(host_, SW_SHOW);
        Pump();
    }

    void SetUp() override {
        ASSERT_TRUE(pane_.IsOpen()) << VERSILO_KJV_BIBLE;
        dll_ = LoadLibraryA("VoView.dll");
        ASSERT_NE(nullptr, dll_);
        create_ = reinterpret_cast<VoCreateBibleTextWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(dll_, MAKEINTRESOURCEA(VO_CREATE_BIBLE_TEXT_WINDOW_ORDINAL))));
        ASSERT_NE(nullptr, create_);
        settings_.SetMultiColumn(false);
        settings_.SetFont("Times New Roman", 12);
        pane_.SetSettings(&settings_);
    }

    void TearDown() override {
        if (window_) DestroyWindow(window_);
        Pump();
        pane_.SetWindow(nullptr);
        if (dll_) FreeLibrary(dll_);
    }

    // A text window of the given client width over the host.
    HWND Show(int width, int height = kClientH) {
        RECT rc = {0, 0, width + GetSystemMetrics(SM_CXVSCROLL), height};
        window_ = create_(host_, &pane_, &pane_, &rc, 100);
        pane_.SetWindow(window_);
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(settings_.GetFont()), TRUE);
        Pump();
        return window_;
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    Capture Screenshot(const char* name) {
        InvalidateRect(window_, nullptr, FALSE);
        UpdateWindow(window_);
        Pump();
        Capture c = Capture::Of(window_, true);
        EXPECT_TRUE(c.SaveArtifact(name));
        return c;
    }

    static inline HWND host_ = nullptr;
    HMODULE dll_ = nullptr;
    VoCreateBibleTextWindowFn create_ = nullptr;
    HWND window_ = nullptr;
    VoViewSettings settings_;
    KjvPane pane_;
};
