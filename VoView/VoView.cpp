// VoView.dll: the export that creates a text window.
#include <windows.h>
#include "VirtualListViewCtrl.h"
#include "VoView.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" HWND WINAPI VoCreateBibleTextWindow(HWND parent, IVoItemServer* server,
                                               IVoBibleTextWindowSink* sink, const RECT* rect,
                                               UINT controlId) {
    return RyVirtualListViewCtrl::CreateTextWindow(parent, server, sink, rect, controlId);
}
