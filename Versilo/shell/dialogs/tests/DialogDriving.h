// What drives a dialog of this thread the way a user would, for the tests and the
// benchmark: finding the dialog, typing into a combo box, reading an item, and sending a
// control's notification.
#pragma once
#include <windows.h>
#include <string>

inline BOOL CALLBACK FindDialogWindow(HWND hwnd, LPARAM out) {
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
}

// The dialog window this thread shows now, or null.
inline HWND ThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialogWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Replaces the text of the combo box's edit by typing text into it, one WM_CHAR at a time.
inline void TypeInto(HWND combo, const std::string& text) {
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
}

inline std::string ItemTextOf(HWND dialog, int id) {
    char text[8192] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A control's notification as the control would send it.
inline void Notify(HWND dialog, int id, UINT code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

