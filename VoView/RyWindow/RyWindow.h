// RyWindow: the thin window-handle wrapper under every window of the program, with
// SendNotify, the WM_NOTIFY report of a control to its parent.
#pragma once
#include <windows.h>

class RyWindow {
public:
    RyWindow() = default;
    explicit RyWindow(HWND hwnd) : hwnd_(hwnd) {}

    HWND Handle() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

    // The control identifier as the window itself holds it (GWL_ID).
    UINT ControlId() const { return static_cast<UINT>(::GetWindowLongPtrW(hwnd_, GWLP_ID)); }

    // Sends WM_NOTIFY with an NMHDR {this window, its control identifier, code} to the
    // parent and answers what the parent answers.
    LRESULT SendNotify(UINT code) const;

    void Invalidate(bool erase = false) const { ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }
    void InvalidateRect(const RECT& rc, bool erase = false) const { ::InvalidateRect(hwnd_, &rc, erase ? TRUE : FALSE); }

protected:
    HWND hwnd_ = nullptr;
};
