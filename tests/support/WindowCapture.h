// The pixels of a real window under Wine, for tests that check what it painted, and the
// screenshot every window's tests leave as a BMP artefact.
#pragma once
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>

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

#ifdef VERSILO_BINARY_DIR
    // Saves the capture as NAME in the build's tests/artifacts folder, where every window's
    // screenshot lands whatever folder the test runs in.
    bool SaveArtifact(const std::string& name) const {
        std::string folder = "Z:" VERSILO_BINARY_DIR "/tests/artifacts";  // the build folder as Wine sees it
        for (char& c : folder)
            if (c == '/') c = '\\';
        CreateDirectoryA(folder.c_str(), nullptr);
        return SaveBmp(folder + "\\" + name);
    }
#endif

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
