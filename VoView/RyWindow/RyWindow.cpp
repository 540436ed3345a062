// RyWindow: the notification a control sends to its parent.
#include "RyWindow.h"

LRESULT RyWindow::SendNotify(UINT code) const {
    NMHDR hdr = {};
    hdr.hwndFrom = hwnd_;
    hdr.idFrom = ControlId();
    hdr.code = code;
    return ::SendMessageW(::GetParent(hwnd_), WM_NOTIFY, static_cast<WPARAM>(hdr.idFrom),
                          reinterpret_cast<LPARAM>(&hdr));
}
