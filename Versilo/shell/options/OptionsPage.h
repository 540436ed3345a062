// VoOptionsPage: the few control helpers every page of the options sheet uses, over the
// property-page base.
#pragma once
#include <commctrl.h>
#include "FieldMessages.h"
#include "RyDialog.h"

class VoOptionsPage : public RyPropertyPage {
public:
    using RyPropertyPage::RyPropertyPage;

protected:
    // The page base's start (the themed tab background); a page's WM_INITDIALOG calls it first.
    void StartPage() {
        LRESULT ignored = 0;
        RyPropertyPage::ProcessWindowMessage(hwnd_, WM_INITDIALOG, 0, 0, ignored);
    }
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetCheck(int id, UINT state) const { ::CheckDlgButton(hwnd_, id, state); }
    void Enable(int id, bool on) const { ::EnableWindow(Item(id), on ? TRUE : FALSE); }
    // An edit and its up-down: the range, the position, and then the text (an up-down
    // with a buddy would otherwise write its position over it).
    void SetNumberField(int edit, int spin, int low, int high, int position, const char* text) const {
        ::SendMessageA(Item(spin), UDM_SETRANGE32, low, high);
        ::SendMessageA(Item(spin), UDM_SETPOS32, 0, position);
        // A longer text could not be read back as a number at all.
        ::SendMessageA(Item(edit), EM_LIMITTEXT, kMaxFieldNumberLength, 0);
        ::SetDlgItemTextA(hwnd_, edit, text);
    }
};
