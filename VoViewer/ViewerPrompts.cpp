// VoViewerPrompts: the viewer's message boxes, open-file dialog and context menu tracking.
#include "ViewerPrompts.h"
#include "FileDialogSetup.h"
#include "MessageText.h"
#include "ViewerIds.h"

bool MakeFileFilter(const char* text, char* filter, int size) {
    if (!filter || size < 2) return false;
    const int length = text ? lstrlenA(text) : 0;
    if (length + 2 > size) {
        filter[0] = filter[1] = '\0';
        return false;
    }
    for (int i = 0; i < length; ++i) filter[i] = text[i] == '|' ? '\0' : text[i];
    // The closing pair: after a closing "|" the first NUL is already there.
    filter[length] = '\0';
    filter[length + 1] = '\0';
    return true;
}

char* FormatViewerText(char* message, UINT id, const char* arg1, const char* arg2) {
    char format[kTextCapacity];
    LoadResString(format, id);
    wsprintfA(message, format, arg1 ? arg1 : "", arg2 ? arg2 : "");
    return message;
}

int ShowViewerMessage(AViewerPrompts& prompts, HWND owner, UINT type, UINT id, const char* arg1, const char* arg2) {
    char message[kViewerMessageSize];
    return prompts.ShowMessage(owner, FormatViewerText(message, id, arg1, arg2), type);
}

int VoViewerPrompts::ShowMessage(HWND owner, const char* text, UINT type) {
    return VoMessageBox(owner, text, type, kIdsViewerCaption);
}

bool VoViewerPrompts::ChooseListFile(HWND owner, char* path, int size) {
    if (!path || size <= 0) return false;
    char text[kTextCapacity], filter[kTextCapacity + 2], title[kTextCapacity];
    MakeFileFilter(LoadResString(text, kIdsListFilter), filter, sizeof(filter));
    LoadResString(title, kIdsBrowseTitle);
    path[0] = '\0';
    OPENFILENAMEA ofn;
    InitFileDialog(&ofn, owner, filter, path, static_cast<DWORD>(size), title, "vrsm");
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) != FALSE;
}

UINT VoViewerPrompts::TrackMenu(HMENU menu, HWND owner, POINT screen) {
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x,
                                            screen.y, 0, owner, nullptr));
}

void VoViewerPrompts::Beep() {
    MessageBeep(MB_OK);
}
