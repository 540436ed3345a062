// Holders for Windows handles that close or delete what they own.
#pragma once
#include <windows.h>
#include <utility>

// A handle with its own closer and invalid value.
template <class H, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept { Reset(o.Release()); return *this; }
    ~UniqueHandle() { Reset(); }

    H Get() const { return h_; }
    bool IsValid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }
    H Release() { H h = h_; h_ = Traits::Invalid(); return h; }
    void Reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::Invalid();
};

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct ModuleHandleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
template <class G>
struct GdiObjectTraits {
    static G Invalid() { return nullptr; }
    static void Close(G h) { ::DeleteObject(h); }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;      // CreateFile
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;  // processes, events
using ModuleHandle = UniqueHandle<HMODULE, ModuleHandleTraits>; // LoadLibrary
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;     // FindFirstFile
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using FontHandle = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using PenHandle = UniqueHandle<HPEN, GdiObjectTraits<HPEN>>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;

// Device contexts: a memory DC that is deleted, a window's DC that is released, the paint
// DC of a WM_PAINT, and an object selected into a DC until the end of a scope.
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;  // CreateCompatibleDC

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }
private:
    HWND hwnd_;
    PAINTSTRUCT ps_ = {};
    HDC dc_;
};

// Selects a (borrowed) GDI object into a DC and puts the previous one back at the end.
// A null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object && dc ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() { if (old_) ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// A function exported by a loaded module, as a pointer of the caller's type (null when
// the module lacks it).
template <class F>
F GetProc(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
