// VoProvidePasswordDlg: the prompt with the commentary's name and the unlock on OK.
#include "PasswordDlg.h"
#include "CommentaryDialogIds.h"
#include "ComPtr.h"
#include "ScreenMetrics.h"
#include "LexiconItem.h"
#include "MessageText.h"
#include "RyMessageMap.h"

VoProvidePasswordDlg::VoProvidePasswordDlg(const VoLexiconItem& item) : RyDialog(kIddProvidePassword), item_(item) {}

bool VoProvidePasswordDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT& result) {
    using Self = VoProvidePasswordDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoProvidePasswordDlg::OnInitDialog(HWND, LPARAM) {
    CenterDialog(Handle());
    char text[kTextCapacity];
    SetDlgItemTextA(Handle(), kIdcPasswordPrompt, FormatResString(text, kIdsPasswordPrompt, item_.GetName()));
    SendDlgItemMessageA(Handle(), kIdcPassword, EM_LIMITTEXT, kPasswordSize - 1, 0);
    return true;
}

void VoProvidePasswordDlg::OnOK(UINT, UINT, HWND) {
    char password[kPasswordSize] = {};
    GetDlgItemTextA(Handle(), kIdcPassword, password, sizeof password);
    ComPtr<IVoLexicon> lexicon = ComPtr<IVoLexicon>::Attach(item_.GetLexicon());
    const HRESULT hr = lexicon ? lexicon->Unlock(password) : E_UNEXPECTED;
    SecureZeroMemory(password, sizeof password);
    if (hr == S_OK) {
        EndDialog(IDOK);
        return;
    }
    char text[kTextCapacity];
    VoMessageBox(Handle(), LoadResString(text, kIdsWrongPassword), MB_OK | MB_ICONINFORMATION);
    SetFocus(Item(kIdcPassword));
    SendDlgItemMessageA(Handle(), kIdcPassword, EM_SETSEL, 0, -1);
}

void VoProvidePasswordDlg::OnCancel(UINT, UINT, HWND) { EndDialog(IDCANCEL); }
