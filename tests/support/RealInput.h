// Input as a user makes it, through SendInput: it goes where the system sends the user's
// own (the window under the pointer, the focus of the foreground window) and changes the key
// state that GetKeyState reads, which posted messages do not.
#pragma once
#include <windows.h>

// One key going down (flags 0) or up (KEYEVENTF_KEYUP).
inline void SendKey(WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// One mouse event at the pointer (MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP ...).
inline void SendMouse(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}
