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
