// A real top-level window under Wine hosting text windows made through VoView.dll's
// ordinal export, with message pumping.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TestItemServer.h"
#include "WindowCapture.h"

class TextWindowTest : public testing::Test {
protected:
    static constexpr int kClientW = 420;
    static constexpr int kClientH = 300;
    static constexpr UINT kId = 4711;

    // OLE and the host window stay for the whole test program: under Wine without a window
    // manager, taking a top-level window down waits about two seconds.
    static void SetUpTestSuite() {
        OleInitialize(nullptr);
        if (host_) return;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VoViewTestHost";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassExW(&wc);
        RECT rc = {0, 0, kClientW, kClientH};
        AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
        host_ = CreateWindowExW(0, wc.lpszClassName, L"Tekstvindu", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                                rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(host_, SW_SHOW);
        UpdateWindow(host_);
        Pump();
    }

    void SetUp() override {
        ASSERT_NE(nullptr, host_);
        dll_ = LoadLibraryA("VoView.dll");
        ASSERT_NE(nullptr, dll_);
        create_ = reinterpret_cast<VoCreateBibleTextWindowFn>(
            reinterpret_cast<void*>(GetProcAddress(dll_, MAKEINTRESOURCEA(VO_CREATE_BIBLE_TEXT_WINDOW_ORDINAL))));
        ASSERT_NE(nullptr, create_);
        notifications().clear();
    }

    // Every text window of the test goes before its server and sink do.
    void TearDown() override {
        while (HWND child = GetWindow(host_, GW_CHILD)) DestroyWindow(child);
        Pump();
        if (dll_) FreeLibrary(dll_);
    }

    // A text window over the whole host, or over rect.
    HWND Create(const RECT* rect = nullptr) {
        HWND hwnd = create_(host_, &server_, &sink_, rect, kId);
        Pump();
        return hwnd;
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // Paints whatever is invalid and answers the client pixels.
    static Capture Paint(HWND hwnd) {
        UpdateWindow(hwnd);
        Pump();
        return Capture::Of(hwnd);
    }

    static LRESULT Send(HWND hwnd, UINT message, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(hwnd, message, w, l); }

    static std::vector<NMHDR>& notifications() {
        static std::vector<NMHDR> list;
        return list;
    }

    static inline HWND host_ = nullptr;
    HMODULE dll_ = nullptr;
    VoCreateBibleTextWindowFn create_ = nullptr;
    TestItemServer server_;
    TestSink sink_;

private:
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NOTIFY) {
            notifications().push_back(*reinterpret_cast<NMHDR*>(lParam));
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};
