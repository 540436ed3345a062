// The notes-file dialogs and their hook.
#include "NotesFileDialog.h"
#include <commdlg.h>
#include <cstring>
#include "CommentaryDialogIds.h"
#include "FileDialogSetup.h"
#include "LexiconList.h"
#include "MessageText.h"
#include "ShellRoutines.h"

namespace {

// The explorer-style hook: on OK a file name the list holds already is refused.
UINT_PTR CALLBACK NotesFileHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || !lParam) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (notify->hdr.code != CDN_FILEOK || !notify->lpOFN) return 0;
    const auto* list = reinterpret_cast<const VoLexiconList*>(notify->lpOFN->lCustData);
    if (!list || list->IsNotListed(notify->lpOFN->lpstrFile)) return 0;
    char text[kTextCapacity];
    VoMessageBox(GetParent(hook), LoadResString(text, kIdsAlreadyRegistered), MB_OK | MB_ICONINFORMATION);
    SetWindowLongPtrA(hook, DWLP_MSGRESULT, 1);
    return 1;
}

}  // namespace

bool ChooseNotesFile(const NotesFileRequest& request, char* path) {
    char filter[kTextCapacity + 1];
    LoadFilterString(filter, kIdsNotesFileFilter);
    char title[kTextCapacity];
    LoadResString(title, request.titleId);
    char file[MAX_PATH] = {};
    if (request.fileName) CopyWholeCharacters(file, sizeof file, request.fileName, std::strlen(request.fileName));

    OPENFILENAMEA ofn;
    InitFileDialog(&ofn, request.owner, filter, file, sizeof file, title, "vrsn");
    ofn.lpstrInitialDir = request.directory;
    ofn.Flags = OFN_NOREADONLYRETURN | (request.save ? OFN_OVERWRITEPROMPT : 0);
    if (request.list) {
        ofn.lCustData = reinterpret_cast<LPARAM>(request.list);
        ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
        ofn.lpfnHook = &NotesFileHook;
    }
    const BOOL chosen = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return false;
    std::memcpy(path, file, std::strlen(file) + 1);
    return true;
}
