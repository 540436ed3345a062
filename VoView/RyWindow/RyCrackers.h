// The crackers of the message map: each turns wParam and lParam of one kind of message into
// typed arguments for a member function F of the window, and F's answer into the message's
// result. Included by RyMessageMap.h.
#pragma once

// LRESULT F(WPARAM, LPARAM): always handled, answers what F answers.
template <auto F>
bool RyMsg(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    result = (w.*F)(m.wParam, m.lParam);
    return true;
}

// LRESULT F(WPARAM, LPARAM, bool& handled): F clears handled to pass the message on.
template <auto F>
bool RyMsgMaybe(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    bool handled = true;
    result = (w.*F)(m.wParam, m.lParam, handled);
    return handled;
}

// int F(const ry::CreateStruct&): 0 to go on, -1 to stop the creation.
template <auto F>
bool RyOnCreate(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    result = (w.*F)(*reinterpret_cast<const ry::CreateStruct*>(m.lParam));
    return true;
}

// bool F(HWND defaultFocus, LPARAM): WM_INITDIALOG; true lets the dialog set the focus.
template <auto F>
bool RyOnInitDialog(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    result = (w.*F)(reinterpret_cast<HWND>(m.wParam), m.lParam) ? TRUE : FALSE;
    return true;
}

// void F(): WM_DESTROY, WM_PAINT and the like; answers 0.
template <auto F>
bool RyOnVoid(ry_detail::ClassOf<F>& w, const RyMessage&, LRESULT& result) {
    (w.*F)();
    result = 0;
    return true;
}

// void F(UINT type, int cx, int cy): WM_SIZE.
template <auto F>
bool RyOnSize(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
    result = 0;
    return true;
}

// void F(HFONT font, bool redraw): WM_SETFONT.
template <auto F>
bool RyOnSetFont(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(reinterpret_cast<HFONT>(m.wParam), LOWORD(m.lParam) != 0);
    result = 0;
    return true;
}

// void F(HWND other): WM_SETFOCUS and WM_KILLFOCUS.
template <auto F>
bool RyOnFocus(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(reinterpret_cast<HWND>(m.wParam));
    result = 0;
    return true;
}

// void F(int code, UINT thumbPosition, HWND scrollBar): WM_VSCROLL and WM_HSCROLL. The
// position is the unsigned 16 bits of the message (0 .. 65535); scrollBar is the scroll-bar
// or up-down control that sent it, null for the window's own bar.
template <auto F>
bool RyOnScroll(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(static_cast<int>(LOWORD(m.wParam)), static_cast<UINT>(HIWORD(m.wParam)), reinterpret_cast<HWND>(m.lParam));
    result = 0;
    return true;
}

// A point packed into lParam as two signed 16-bit values (left of or above the origin on
// another monitor, or while the mouse is captured, they are negative).
inline POINT RyPointFrom(LPARAM lp) {
    return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// void F(UINT keys, int delta, POINT screenPoint): WM_MOUSEWHEEL.
template <auto F>
bool RyOnMouseWheel(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(LOWORD(m.wParam), static_cast<short>(HIWORD(m.wParam)), RyPointFrom(m.lParam));
    result = 0;
    return true;
}

// void F(UINT keys, POINT clientPoint): WM_MOUSEMOVE, the button messages.
template <auto F>
bool RyOnMouse(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(static_cast<UINT>(m.wParam), RyPointFrom(m.lParam));
    result = 0;
    return true;
}

// void F(UINT key, UINT repeatCount, UINT flags): WM_KEYDOWN, WM_KEYUP, WM_CHAR (key is the
// character in the code page), WM_SYSKEYDOWN... flags is the high word of lParam.
template <auto F>
bool RyOnKey(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
    result = 0;
    return true;
}

// void F(UINT_PTR id): WM_TIMER.
template <auto F>
bool RyOnTimer(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(static_cast<UINT_PTR>(m.wParam));
    result = 0;
    return true;
}

// void F(HWND window, POINT screenPoint, bool fromKeyboard): WM_CONTEXTMENU. From the
// keyboard (Shift+F10, the menu key) there is no point: the message carries -1, -1 and
// screenPoint is the window's top-left corner on the screen, where a menu can open.
template <auto F>
bool RyOnContextMenu(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    const bool keyboard = m.lParam == -1 || static_cast<DWORD>(m.lParam) == 0xFFFFFFFFu;
    POINT pt = RyPointFrom(m.lParam);
    if (keyboard) {
        pt = {0, 0};
        ::ClientToScreen(reinterpret_cast<HWND>(m.wParam), &pt);
    }
    (w.*F)(reinterpret_cast<HWND>(m.wParam), pt, keyboard);
    result = 0;
    return true;
}

// void F(MINMAXINFO&): WM_GETMINMAXINFO.
template <auto F>
bool RyOnGetMinMaxInfo(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(*reinterpret_cast<MINMAXINFO*>(m.lParam));
    result = 0;
    return true;
}

// void F(UINT item, UINT flags, HMENU menu): WM_MENUSELECT. The menu closed when flags is
// 0xFFFF and menu is null; item is a command id, or a position when flags has MF_POPUP.
template <auto F>
bool RyOnMenuSelect(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HMENU>(m.lParam));
    result = 0;
    return true;
}

// bool F(HWND window, UINT hitTest, UINT mouseMessage): WM_SETCURSOR; true when F set the
// cursor, false to leave it to the default procedure.
template <auto F>
bool RyOnSetCursor(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    if (!(w.*F)(reinterpret_cast<HWND>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam))) return false;
    result = TRUE;
    return true;
}

// UINT F(UINT key, const MSG* msg): WM_GETDLGCODE; msg is null when the dialog asks in general.
template <auto F>
bool RyOnGetDlgCode(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    result = (w.*F)(static_cast<UINT>(m.wParam), reinterpret_cast<const MSG*>(m.lParam));
    return true;
}

// void F(UINT id, UINT code, HWND control): WM_COMMAND (control null for menus, code 1 for
// accelerators).
template <auto F>
bool RyOnCommand(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    (w.*F)(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HWND>(m.lParam));
    result = 0;
    return true;
}

// LRESULT F(NMHDR&): WM_NOTIFY.
template <auto F>
bool RyOnNotify(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    if (!m.lParam) return false;
    result = (w.*F)(*reinterpret_cast<NMHDR*>(m.lParam));
    return true;
}

// void F(UINT id, const DRAWITEMSTRUCT&): WM_DRAWITEM; answers TRUE.
template <auto F>
bool RyOnDrawItem(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    if (!m.lParam) return false;
    (w.*F)(static_cast<UINT>(m.wParam), *reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam));
    result = TRUE;
    return true;
}

// HBRUSH F(HDC dc, HWND control): WM_CTLCOLOR*; a null brush leaves the colours to the default.
template <auto F>
bool RyOnCtlColor(ry_detail::ClassOf<F>& w, const RyMessage& m, LRESULT& result) {
    const HBRUSH brush = (w.*F)(reinterpret_cast<HDC>(m.wParam), reinterpret_cast<HWND>(m.lParam));
    if (!brush) return false;
    result = reinterpret_cast<LRESULT>(brush);
    return true;
}
