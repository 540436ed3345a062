// VoGotoDlg.
#include "GotoDialog.h"
#include "RyMessageMap.h"

VoGotoDlg::VoGotoDlg(IBibleLangStat* langStat, char character, int context)
    : RyDialog(kIddGoTo), langStat_(langStat), character_(character), context_(context) {}

bool VoGotoDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoGotoDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommandCode<Self>(kIdcGoToReference, EN_CHANGE, RyOnCommand<&Self::OnReferenceChanged>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoGotoDlg::OnInitDialog(HWND, LPARAM) {
    // Centred on the owner (the pane's text window).
    RECT owner, self;
    HWND ownerWindow = GetWindow(Handle(), GW_OWNER);
    if (ownerWindow && GetWindowRect(ownerWindow, &owner) && GetWindowRect(Handle(), &self)) {
        const int x = (owner.left + owner.right - (self.right - self.left)) / 2;
        const int y = (owner.top + owner.bottom - (self.bottom - self.top)) / 2;
        SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    char text[2] = {character_, '\0'};
    CharUpperA(text);
    HWND edit = Item(kIdcGoToReference);
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_LIMITTEXT, kGoToTextLimit, 0);
    SetFocus(edit);
    const WPARAM caret = character_ ? 1 : 0;
    SendMessageA(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    Validate();
    return false;
}

int VoGotoDlg::Parse(const char* text) const {
    if (!langStat_) return 0;
    char buffer[64];
    lstrcpynA(buffer, text, sizeof buffer);
    char* cursor = buffer;
    int value = 0;
    // The parser writes the context back: it gets a copy, so every keystroke completes
    // from the pane's own place.
    int context = context_;
    if (langStat_->ParseRef(&cursor, &value, context_ ? &context : nullptr) != S_OK) return 0;
    if (*cursor != '\0' || value == context_) return 0;
    return value;
}

void VoGotoDlg::Validate() {
    char text[64] = {};
    GetWindowTextA(Item(kIdcGoToReference), text, sizeof text);
    result_ = Parse(text);
    EnableWindow(Item(IDOK), result_ != 0);
}
