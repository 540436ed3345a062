// The one place that decides the character set of the program's windows.
//
// The program is ANSI: its texts and string tables are in the system code page. Every window
// class is therefore registered, created, subclassed, sent to and given its default handling
// through the ANSI functions named here, and nothing else in the window base names an A or
// W function that carries text or a window procedure. The edge is the system's own: a window
// of an ANSI class answers WM_NOTIFYFORMAT with NFR_ANSI (common controls under it send the A
// notifications), and text a caller passes through a W function (WM_CHAR, WM_SETTEXT, ...)
// reaches the window converted into the code page.
#pragma once
#include <windows.h>

namespace ry {

using WindowClass = WNDCLASSEXA;
using CreateStruct = CREATESTRUCTA;

inline LRESULT DefProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }
inline LRESULT CallProc(WNDPROC p, HWND h, UINT m, WPARAM w, LPARAM l) { return ::CallWindowProcA(p, h, m, w, l); }
inline LRESULT Send(HWND h, UINT m, WPARAM w, LPARAM l) { return ::SendMessageA(h, m, w, l); }
inline LONG_PTR GetLongPtr(HWND h, int index) { return ::GetWindowLongPtrA(h, index); }
inline LONG_PTR SetLongPtr(HWND h, int index, LONG_PTR value) { return ::SetWindowLongPtrA(h, index, value); }
inline BOOL ClassInfo(HINSTANCE instance, const char* name, WindowClass* out) {
    out->cbSize = sizeof *out;
    return ::GetClassInfoExA(instance, name, out);
}
inline ATOM RegisterWindowClass(const WindowClass& wc) { return ::RegisterClassExA(&wc); }
inline BOOL UnregisterWindowClass(const char* name, HINSTANCE instance) { return ::UnregisterClassA(name, instance); }
inline HWND MakeWindow(DWORD exStyle, const char* cls, const char* title, DWORD style, int x, int y, int cx, int cy,
                       HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    return ::CreateWindowExA(exStyle, cls, title, style, x, y, cx, cy, parent, menu, instance, param);
}
inline INT_PTR ModalDialog(HINSTANCE instance, UINT id, HWND owner, DLGPROC proc, LPARAM param) {
    return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(id), owner, proc, param);
}
inline HWND ModelessDialog(HINSTANCE instance, UINT id, HWND owner, DLGPROC proc, LPARAM param) {
    return ::CreateDialogParamA(instance, MAKEINTRESOURCEA(id), owner, proc, param);
}
inline BOOL IsDialogMessageOf(HWND dialog, MSG* msg) { return ::IsDialogMessageA(dialog, msg); }
inline int TranslateAccelerators(HWND target, HACCEL table, MSG* msg) { return ::TranslateAcceleratorA(target, table, msg); }
inline BOOL GetMsg(MSG* msg) { return ::GetMessageA(msg, nullptr, 0, 0); }
inline LRESULT DispatchMsg(const MSG* msg) { return ::DispatchMessageA(msg); }
inline HANDLE GetProperty(HWND h, const char* name) { return ::GetPropA(h, name); }
inline BOOL SetProperty(HWND h, const char* name, HANDLE value) { return ::SetPropA(h, name, value); }
inline HANDLE RemoveProperty(HWND h, const char* name) { return ::RemovePropA(h, name); }

}  // namespace ry
