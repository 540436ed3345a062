// RyWindow: the thin window-handle wrapper under every window of the program, with
// SendNotify, the WM_NOTIFY report of a control to its parent. Every call on a window that
// is gone (or was never made) does nothing and answers 0: InvalidateRect(NULL) would
// redraw the whole desktop.
#pragma once
#include <windows.h>
#include "RyWindowApi.h"

class RyWindow {
public:
    RyWindow() = default;
    explicit RyWindow(HWND hwnd) : hwnd_(hwnd) {}

    HWND Handle() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

    // The control identifier as the window itself holds it (GWL_ID).
    UINT ControlId() const { return IsWindow() ? static_cast<UINT>(ry::GetLongPtr(hwnd_, GWLP_ID)) : 0; }

    // Sends WM_NOTIFY with an NMHDR {this window, its control identifier, code} to the
    // parent and answers what the parent answers.
    LRESULT SendNotify(UINT code) const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return IsWindow() ? ry::Send(hwnd_, message, wParam, lParam) : 0;
    }
    // A child control by its identifier; null when there is none.
    HWND Item(int id) const { return IsWindow() ? ::GetDlgItem(hwnd_, id) : nullptr; }

    void Invalidate(bool erase = false) const {
        if (IsWindow()) ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
    }
    void InvalidateRect(const RECT& rc, bool erase = false) const {
        if (IsWindow()) ::InvalidateRect(hwnd_, &rc, erase ? TRUE : FALSE);
    }

protected:
    HWND hwnd_ = nullptr;
};
