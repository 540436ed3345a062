// The structure the programs' file dialogs start from.
#include "FileDialogSetup.h"

void InitFileDialog(OPENFILENAMEA* ofn, HWND owner, const char* filter, char* file, DWORD fileSize, const char* title,
                    const char* defaultExtension) {
    *ofn = OPENFILENAMEA();
    ofn->lStructSize = sizeof(OPENFILENAMEA);
    ofn->hwndOwner = owner;
    ofn->lpstrFilter = filter;
    ofn->nFilterIndex = 1;
    ofn->lpstrFile = file;
    ofn->nMaxFile = fileSize;
    ofn->lpstrTitle = title;
    ofn->lpstrDefExt = defaultExtension;
}
