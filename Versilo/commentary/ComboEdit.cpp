// RyComboEdit: key forwarding, focus and the text drop of the combo's edit field.
#include "ComboEdit.h"
#include "VirtualCombo.h"
#include <cstring>

bool RyComboEdit::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static const RyMessageEntry<RyComboEdit> map[] = {
        {WM_SETFOCUS, RyMsg<&RyComboEdit::OnSetFocus>},
        {WM_LBUTTONDOWN, RyMsgMaybe<&RyComboEdit::OnLButtonDown>},
        {WM_KEYDOWN, RyMsgMaybe<&RyComboEdit::OnKeyDown>},
        {WM_CHAR, RyMsgMaybe<&RyComboEdit::OnChar>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

LRESULT RyComboEdit::OnSetFocus(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefaultProc(hwnd_, WM_SETFOCUS, wParam, lParam);
    Send(EM_SETSEL, 0, -1);
    return result;
}

// A press that brings the focus only takes it, so the whole text stays selected.
LRESULT RyComboEdit::OnLButtonDown(WPARAM, LPARAM, bool& handled) {
    if (GetFocus() == hwnd_) {
        handled = false;
        return 0;
    }
    SetFocus(hwnd_);
    return 0;
}

LRESULT RyComboEdit::OnKeyDown(WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (wParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
    case VK_F4:
        return owner_.Send(WM_KEYDOWN, wParam, lParam);
    default:
        handled = false;
        return 0;
    }
}

LRESULT RyComboEdit::OnChar(WPARAM wParam, LPARAM lParam, bool& handled) {
    if (wParam == VK_RETURN || wParam == VK_ESCAPE) return owner_.Send(WM_CHAR, wParam, lParam);
    if (wParam == VK_TAB) return 0;  // the key press moved the focus already
    handled = false;
    return 0;
}

bool RyComboEdit::DragEnter(const char* text, DWORD, int, int) {
    accept_ = text && std::strlen(text) < kMaxDropLength;
    if (!accept_) return false;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&savedStart_), reinterpret_cast<LPARAM>(&savedEnd_));
    Send(EM_SETSEL, 0, -1);
    previousFocus_ = GetFocus();
    if (previousFocus_ != hwnd_) SetFocus(hwnd_);
    return true;
}

bool RyComboEdit::DragOver(const char*, DWORD, int, int) { return accept_; }

bool RyComboEdit::Drop(const char* text, DWORD, int, int) {
    if (!accept_ || !text || std::strlen(text) >= kMaxDropLength) return false;
    accept_ = false;
    owner_.SetEditText(text, false);
    Send(EM_SETSEL, 0, -1);
    return true;
}

void RyComboEdit::DragLeave() {
    if (!accept_) return;
    accept_ = false;
    Send(EM_SETSEL, savedStart_, savedEnd_);
    if (previousFocus_ && previousFocus_ != hwnd_ && ::IsWindow(previousFocus_)) SetFocus(previousFocus_);
    previousFocus_ = nullptr;
}
