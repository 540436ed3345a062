// VoUtil.dll entry point. The library keeps no per-process state of its own here; its
// objects and shared lists are created on demand through the exports.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
