// VoToolbarRelay: the notifications of the toolbar's own child controls, handed to the frame.
#include "ToolbarRelay.h"
#include "RyMessageMap.h"

bool VoToolbarRelay::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_COMMAND && message != WM_NOTIFY) return false;
    // Only a child control's: the toolbar's tool tip (an owned popup) talks to the toolbar.
    const HWND child = RyNotifyingChild({hwnd, message, wParam, lParam});
    if (!child || ::GetAncestor(child, GA_PARENT) != hwnd) return false;
    const HWND frame = ::GetParent(hwnd);
    if (!frame) return false;
    result = ry::Send(frame, message, wParam, lParam);
    return true;
}
