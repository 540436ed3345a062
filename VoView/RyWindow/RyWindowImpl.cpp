// RyWindowImplBase: binding a window to its object on the first message, routing, and the
// final message, held back while a handler of the window is still running (a handler that
// destroys its own window must not find its object deleted under it).
#include "RyWindowImpl.h"

namespace {
// The object whose window CreateWindowEx is making on this thread; taken by the first message.
thread_local RyWindowImplBase* t_creating = nullptr;
}  // namespace

bool RyWindowImplBase::RegisterWindowClass(WNDCLASSEXW wc) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) {
        if (existing.lpfnWndProc == wc.lpfnWndProc) return true;
        ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
    }
    return ::RegisterClassExW(&wc) != 0;
}

HWND RyWindowImplBase::CreateBound(const wchar_t* className, HINSTANCE instance, HWND parent,
                                   const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle,
                                   UINT id) {
    if (hwnd_) return nullptr;  // one window per object
    creating_ = true;
    t_creating = this;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hwnd = ::CreateWindowExW(exStyle, className, title ? title : L"", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                                  instance, nullptr);
    t_creating = nullptr;
    creating_ = false;
    return hwnd;
}

LRESULT CALLBACK RyWindowImplBase::StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RyWindowImplBase* self = t_creating;
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);  // not made through Create
    t_creating = nullptr;
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->GetWindowProc()));
    return self->Route(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK RyWindowImplBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RyWindowImplBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->Route(hwnd, message, wParam, lParam);
}

LRESULT RyWindowImplBase::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++depth_;
    LRESULT result = 0;
    if (!ProcessWindowMessage(hwnd, message, wParam, lParam, result))
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    --depth_;
    if (message == WM_NCDESTROY) {
        // No message follows: the window forgets the object now.
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        finalPending_ = true;
    }
    if (finalPending_ && depth_ == 0) {
        finalPending_ = false;
        hwnd_ = nullptr;
        if (!creating_) OnFinalMessage(hwnd);  // may delete this object
    }
    return result;
}
