// VoView.dll: the export that creates a text window.
#include <windows.h>
#include <new>
#include "VirtualListViewCtrl.h"
#include "VoView.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" HWND WINAPI VoCreateBibleTextWindow(HWND parent, IVoItemServer* server,
                                               IVoBibleTextWindowSink* sink, const RECT* rect,
                                               UINT controlId) {
    if (!server || !sink) return nullptr;
    RECT rc = {};
    if (rect) rc = *rect;
    else if (!::GetClientRect(parent, &rc)) return nullptr;

    RyVirtualListViewCtrl* ctrl = nullptr;
    try {
        ctrl = new RyVirtualListViewCtrl(server, sink);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    HWND hwnd = nullptr;
    if (ctrl->Initialise()) hwnd = ctrl->Create(parent, rc, controlId, WS_VSCROLL);
    // A window that was made owns the object from now on and deletes it after its last message.
    if (!hwnd) delete ctrl;
    return hwnd;
}
