// The open and save dialogs of both programs start from one filled structure: the full
// OPENFILENAMEA, which gives the explorer dialog with its places bar (the shorter sizes of
// older systems give the dialog without it), owner, filter, file buffer, title and default
// extension. Callers add their flags and, where they need one, a hook.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Clears ofn and fills it; filter is a NUL-separated list ending in two NULs, file a buffer
// of fileSize bytes holding the name the dialog starts with (or an empty text).
void InitFileDialog(OPENFILENAMEA* ofn, HWND owner, const char* filter, char* file, DWORD fileSize, const char* title,
                    const char* defaultExtension);
