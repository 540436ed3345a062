// VoLexEditWnd: following links by double-click, and the text dropped into the box.
#include "LexEditWnd.h"
#include <string>
#include "EditLinks.h"
#include "RyMessageMap.h"

bool VoLexEditWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<VoLexEditWnd> map[] = {
        {WM_LBUTTONDBLCLK, RyMsg<&VoLexEditWnd::OnDoubleClick>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

LRESULT VoLexEditWnd::OnDoubleClick(WPARAM, LPARAM) {
    std::string text;
    try {
        text.resize(static_cast<size_t>(::GetWindowTextLengthA(hwnd_)) + 1);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    ::GetWindowTextA(hwnd_, &text[0], static_cast<int>(text.size()));
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::string link;
    const EditLinkKind kind = FindEditLink(text.c_str(), static_cast<int>(start), &link);
    if (kind != EditLinkKind::kNone)
        ry::Send(::GetParent(hwnd_), kFollowLinkMessage, kind == EditLinkKind::kBibleReference ? 1 : 0,
                 reinterpret_cast<LPARAM>(link.c_str()));
    return 0;  // consumed either way: a double-click never selects a word here
}

bool VoLexEditWnd::DragEnter(const char* text, DWORD effects, int x, int y) {
    ::SetFocus(hwnd_);
    // A disabled or read-only box would show the text but never keep it.
    const bool writable = ::IsWindowEnabled(hwnd_) && !(ry::GetLongPtr(hwnd_, GWL_STYLE) & ES_READONLY);
    accept_ = writable && text && *text;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&savedStart_), reinterpret_cast<LPARAM>(&savedEnd_));
    ResetLastPoint();
    return DragOver(text, effects, x, y);
}

bool VoLexEditWnd::DragOver(const char*, DWORD, int x, int y) {
    if (!accept_) return false;
    POINT point = {x, y};
    ::ScreenToClient(hwnd_, &point);
    if (point.x != last_.x || point.y != last_.y) {
        const LRESULT at = Send(EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y));
        const WPARAM index = LOWORD(at);
        Send(EM_SETSEL, index, static_cast<LPARAM>(index));
        last_ = point;
    }
    return true;
}

bool VoLexEditWnd::Drop(const char* text, DWORD effects, int x, int y) {
    DragOver(text, effects, x, y);
    ResetLastPoint();
    const bool accepted = accept_;
    if (accepted) {
        Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
        accept_ = false;
    }
    return accepted;
}

void VoLexEditWnd::DragLeave() {
    ResetLastPoint();
    if (!accept_) return;
    Send(EM_SETSEL, savedStart_, static_cast<LPARAM>(savedEnd_));
    accept_ = false;
}
