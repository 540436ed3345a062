// VoProvidePasswordDlg: the prompt that unlocks a protected commentary for editing. It ends
// with IDOK once the commentary accepted the password, IDCANCEL when cancelled; a wrong
// password is told (string 135) and the dialog stays open.
#pragma once
#include "RyDialog.h"

class VoLexiconItem;

class VoProvidePasswordDlg : public RyDialog {
public:
    // item is borrowed and must outlive the dialog.
    explicit VoProvidePasswordDlg(const VoLexiconItem& item);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND focus, LPARAM);
    void OnOK(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);

    const VoLexiconItem& item_;
};
