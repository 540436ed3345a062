// RyWindowImplBase: binding a window to its object, the one router of windows, dialogs and
// subclassed controls, and the final message, held back while a handler of the window or a
// KeepAlive scope is still running (a handler that destroys its own window must not find
// its object deleted under it).
#include "RyWindowImpl.h"

namespace {
// The object whose window CreateWindowEx is making on this thread; taken by the first message.
thread_local RyWindowImplBase* t_creating = nullptr;
}  // namespace

RyWindowImplBase::~RyWindowImplBase() {
    Unbind();
}

bool RyWindowImplBase::RegisterWindowClass(const ry::WindowClass& wc) {
    ry::WindowClass existing = {};
    if (ry::ClassInfo(wc.hInstance, wc.lpszClassName, &existing)) {
        if (existing.lpfnWndProc == wc.lpfnWndProc) return true;
        ry::UnregisterWindowClass(wc.lpszClassName, wc.hInstance);
    }
    return ry::RegisterWindowClass(wc) != 0;
}

void RyWindowImplBase::Bind(HWND hwnd, Binding binding) {
    hwnd_ = hwnd;
    binding_ = binding;
    if (binding == Binding::UserData) ry::SetLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    else ry::SetProperty(hwnd, kObjectProperty, this);
}

void RyWindowImplBase::Unbind() {
    const HWND hwnd = hwnd_;
    const Binding binding = binding_;
    hwnd_ = nullptr;
    binding_ = Binding::None;
    if (!hwnd || !::IsWindow(hwnd)) return;
    if (binding == Binding::UserData) {
        if (FromUserData(hwnd) == this) ry::SetLongPtr(hwnd, GWLP_USERDATA, 0);
    } else if (binding == Binding::Property) {
        if (ry::GetProperty(hwnd, kObjectProperty) == this) ry::RemoveProperty(hwnd, kObjectProperty);
        // Only a procedure still ours is put back; one subclassed over ours stays in the chain.
        if (previousProc_ && reinterpret_cast<WNDPROC>(ry::GetLongPtr(hwnd, GWLP_WNDPROC)) == subclassProc_)
            ry::SetLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    }
    previousProc_ = nullptr;
    subclassProc_ = nullptr;
}

HWND RyWindowImplBase::CreateBound(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                                   int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance,
                                   void* param) {
    if (hwnd_) return nullptr;  // one window per object
    creating_ = true;
    t_creating = this;
    HWND hwnd = ry::MakeWindow(exStyle, className, title, style, x, y, cx, cy, parent, menu, instance, param);
    t_creating = nullptr;
    creating_ = false;
    return hwnd;
}

LRESULT CALLBACK RyWindowImplBase::StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RyWindowImplBase* self = t_creating;
    if (!self) return ry::DefProc(hwnd, message, wParam, lParam);  // not made through Create
    t_creating = nullptr;
    self->Bind(hwnd, Binding::UserData);
    ry::SetLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->GetWindowProc()));
    return self->Route(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK RyWindowImplBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RyWindowImplBase* self = FromUserData(hwnd);
    if (!self) return ry::DefProc(hwnd, message, wParam, lParam);
    return self->Route(hwnd, message, wParam, lParam);
}

LRESULT RyWindowImplBase::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    KeepAlive hold(*this);
    LRESULT result = 0;
    const bool mapped = ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    if (!mapped) result = DefaultProc(hwnd, message, wParam, lParam);
    if (handled) *handled = mapped;
    if (message == WM_NCDESTROY && hwnd_ == hwnd) {
        // No message follows: the window forgets the object now.
        Unbind();
        finalHandle_ = hwnd;
        finalPending_ = true;
    }
    return result;
}

void RyWindowImplBase::Leave() {
    if (--depth_ > 0 || !finalPending_) return;
    finalPending_ = false;
    const HWND hwnd = finalHandle_;
    finalHandle_ = nullptr;
    if (!creating_) OnFinalMessage(hwnd);  // may delete this object
}
