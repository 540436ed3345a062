// A real top-level window under Wine hosting text windows made through VoView.dll's
// ordinal export, with message pumping, a capture of the window's pixels and BMP saving.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TestItemServer.h"

// The pixels of a window's client area as 32-bit colours, top row first.
class Capture {
public:
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB

    COLORREF At(int x, int y) const {
        const DWORD p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // The client area, or with wholeWindow the window with its scroll bar.
    static Capture Of(HWND hwnd, bool wholeWindow = false) {
        Capture c;
        RECT rc;
        if (wholeWindow) {
            GetWindowRect(hwnd, &rc);
            OffsetRect(&rc, -rc.left, -rc.top);
        } else {
            GetClientRect(hwnd, &rc);
        }
        c.width = rc.right;
        c.height = rc.bottom;
        c.pixels.assign(static_cast<size_t>(c.width) * static_cast<size_t>(c.height), 0);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = c.width;
        bi.bmiHeader.biHeight = -c.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC windowDc = wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd);
        HBITMAP dib = CreateDIBSection(windowDc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(windowDc);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, c.width, c.height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        memcpy(c.pixels.data(), bits, c.pixels.size() * sizeof(DWORD));
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(dib);
        ReleaseDC(hwnd, windowDc);
        return c;
    }

    // Writes a 24-bit BMP file.
    bool SaveBmp(const std::string& path) const {
        const int stride = (width * 3 + 3) & ~3;
        BITMAPFILEHEADER fh = {};
        BITMAPINFOHEADER ih = {};
        ih.biSize = sizeof ih;
        ih.biWidth = width;
        ih.biHeight = height;
        ih.biPlanes = 1;
        ih.biBitCount = 24;
        ih.biSizeImage = static_cast<DWORD>(stride * height);
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + ih.biSizeImage;
        std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
        data.append(reinterpret_cast<const char*>(&ih), sizeof ih);
        std::string row(static_cast<size_t>(stride), '\0');
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = At(x, y);
                row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(c));
                row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
                row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
            }
            data += row;
        }
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        DWORD put = 0;
        const BOOL ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
        CloseHandle(f);
        return ok && put == data.size();
    }
};

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
