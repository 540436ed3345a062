// VoGotoDlg: "Gå Til", the user types a bible reference and goes there. The text is parsed
// while it is typed, through the pane's language statistics; OK is enabled only while the
// whole text is one reference other than the place the pane shows.
#pragma once
#include <windows.h>
#include "IBibleLangStat.h"
#include "RyDialog.h"

constexpr UINT kIddGoTo = 139;
constexpr UINT kIdcGoToReference = 1019;
constexpr int kGoToTextLimit = 16;

class VoGotoDlg : public RyDialog {
public:
    // langStat: the parser (borrowed); character: typed into the box first (0 for none);
    // context: the reference of the pane's caret item, which completes partial input (0
    // for none).
    VoGotoDlg(IBibleLangStat* langStat, char character, int context);

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The reference typed, after IDOK; 0 while nothing valid was typed.
    int GetVerse() const { return result_; }
    // The reference of text when it is one whole reference other than the context, else 0.
    int Parse(const char* text) const;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnReferenceChanged(UINT, UINT, HWND) { Validate(); }
    void OnOK(UINT, UINT, HWND) { EndDialog(IDOK); }
    void OnCancel(UINT, UINT, HWND) { EndDialog(IDCANCEL); }
    void Validate();

    IBibleLangStat* langStat_;
    char character_;
    int context_;
    int result_ = 0;
};
