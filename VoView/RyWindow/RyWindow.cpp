// RyWindow: the notification a control sends to its parent.
#include "RyWindow.h"

LRESULT RyWindow::SendNotify(UINT code) const {
    const HWND parent = IsWindow() ? ::GetParent(hwnd_) : nullptr;
    if (!parent) return 0;
    NMHDR hdr = {};
    hdr.hwndFrom = hwnd_;
    hdr.idFrom = ControlId();
    hdr.code = code;
    return ry::Send(parent, WM_NOTIFY, static_cast<WPARAM>(hdr.idFrom), reinterpret_cast<LPARAM>(&hdr));
}
