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

// A null window gives no DC (GetDC(NULL) would be the whole screen's).
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(hwnd ? ::GetDC(hwnd) : nullptr) {}
    // A DC of the client area with the clipping flags given (GetDCEx), whatever the
    // window's own style asks for.
    WindowDc(HWND hwnd, DWORD flags) : hwnd_(hwnd), dc_(hwnd ? ::GetDCEx(hwnd, nullptr, flags) : nullptr) {}
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
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(hwnd ? ::BeginPaint(hwnd, &ps_) : nullptr) {}
    ~PaintDc() { if (dc_) ::EndPaint(hwnd_, &ps_); }
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

// Saves a DC's whole state (objects, colours, modes, clipping) and restores it at the end.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(dc ? ::SaveDC(dc) : 0) {}
    ~SavedDcState() { if (saved_) ::RestoreDC(dc_, saved_); }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
private:
    HDC dc_;
    int saved_;
};

// Global memory (clipboard and drag data): freed unless released to its new owner.
struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
using GlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;  // GlobalAlloc

// The bytes of a global memory block, locked for a scope; Get() is null when it cannot be locked.
template <class T = void>
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL h) : h_(h), p_(h ? ::GlobalLock(h) : nullptr) {}
    ~GlobalLocked() { if (p_) ::GlobalUnlock(h_); }
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
    T* Get() const { return static_cast<T*>(p_); }
    SIZE_T Size() const { return p_ ? ::GlobalSize(h_) : 0; }
private:
    HGLOBAL h_;
    void* p_;
};

// A function exported by a loaded module, as a pointer of the caller's type (null when
// the module lacks it).
template <class F>
F GetProc(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
