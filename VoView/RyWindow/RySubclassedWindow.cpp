// RySubclassedWindow: attaching to and detaching from an existing window.
#include "RySubclassedWindow.h"

bool RySubclassedWindow::Attach(HWND hwnd) {
    if (hwnd_ || !hwnd || !::IsWindow(hwnd)) return false;
    // The object is bound before its procedure is installed: the first message finds it.
    Bind(hwnd, Binding::Property);
    subclassProc_ = &SubclassProc;
    previousProc_ = reinterpret_cast<WNDPROC>(ry::SetLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc_)));
    if (!previousProc_) {
        Unbind();
        return false;
    }
    return true;
}

HWND RySubclassedWindow::Detach() {
    const HWND hwnd = hwnd_;
    Unbind();
    return hwnd;
}

LRESULT RySubclassedWindow::DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return previousProc_ ? ry::CallProc(previousProc_, hwnd, message, wParam, lParam)
                         : ry::DefProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK RySubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<RyWindowImplBase*>(ry::GetProperty(hwnd, kObjectProperty));
    if (!self) return ry::DefProc(hwnd, message, wParam, lParam);
    return static_cast<RySubclassedWindow*>(self)->Route(hwnd, message, wParam, lParam);
}
