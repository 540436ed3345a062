// VoSimpleBibleWindow: the pane's commands, its go-to dialog and the popup it shows for the
// item server's links.
#include "GotoDialog.h"
#include "PopupText.h"
#include "SimpleBibleWindow.h"


bool VoSimpleBibleWindow::HandleCommand(UINT command) {
    switch (command) {
    case kCmdOpenItem:
        OpenCaretItem();
        return true;
    case kCmdGoTo:
        RunGoToDialog(0);
        return true;
    default:
        return false;
    }
}

void VoSimpleBibleWindow::RunGoToDialog(char character) {
    if (objects_.IsEmpty() || !textWindow_) return;
    const int caret = static_cast<int>(Send(TWM_GETCARET));
    VoGotoDlg dialog(objects_.GetLangStat(), character, MakeItemRef(caret));
    if (dialog.DoModal(textWindow_) == IDOK && dialog.GetVerse()) GoToVerse(dialog.GetVerse());
}

HWND VoSimpleBibleWindow::ShowLinkPopup(const RECT& anchor, POINT cursor, const char* title, const char* text) {
    return textWindow_ ? ShowPopupText(textWindow_, &anchor, cursor, title, text) : nullptr;
}
