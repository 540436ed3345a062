// VoMarkingPrompts: the save and open dialogs of the marking files and the message boxes
// of the marking commands.
#include <windows.h>
#include "FileDialogSetup.h"
#include "MarkCommands.h"
#include "MessageText.h"

bool VoMarkingPrompts::ChooseExportPath(char* path, int size) { return ChoosePath(true, path, size); }

bool VoMarkingPrompts::ChooseImportPath(char* path, int size) { return ChoosePath(false, path, size); }

int VoMarkingPrompts::ShowMessage(const char* text, UINT type) { return VoMessageBox(owner_, text, type); }

bool VoMarkingPrompts::ChoosePath(bool save, char* path, int size) {
    if (!path || size <= 0) return false;
    char filter[kTextCapacity + 1] = {};
    LoadFilterString(filter, kIdsMarkFileFilter);
    char title[kTextCapacity], name[MAX_PATH] = {};
    LoadResString(title, save ? kIdsExportTitle : kIdsImportTitle);
    path[0] = '\0';

    OPENFILENAMEA ofn;
    InitFileDialog(&ofn, owner_, filter, path, static_cast<DWORD>(size), title, "vrsv");
    ofn.lpstrFileTitle = name;
    ofn.nMaxFileTitle = sizeof(name);
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
    if (save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN;
        return GetSaveFileNameA(&ofn) != FALSE;
    }
    return GetOpenFileNameA(&ofn) != FALSE;
}
