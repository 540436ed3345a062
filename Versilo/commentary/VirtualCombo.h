// RyVirtualCombo: a drop-down combo box with an edit field whose list holds no items of its
// own: an IVirtualListItemProvider answers for each visible row and for the place of a
// typed text, so the list may hold any number of titles. Towards its parent it behaves
// like a drop-down combo box: WM_COMMAND with CBN_EDITCHANGE, CBN_DROPDOWN, CBN_SELENDOK or
// CBN_SELENDCANCEL and CBN_CLOSEUP; CB_GETEDITSEL, CB_SETEDITSEL and CB_LIMITTEXT reach the
// edit; Enter, Escape and Tab act as in a dialog.
#pragma once
#include <windows.h>
#include "ComboEdit.h"
#include "Handles.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "VirtualComboList.h"

class RyVirtualCombo
    : public RyWindowImpl<RyVirtualCombo, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN>> {
public:
    // The button's look.
    enum ButtonState { kButtonNormal = 1, kButtonHot = 2, kButtonPressed = 3 };

    RyVirtualCombo();
    ~RyVirtualCombo() override;
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The provider (one reference kept) and its item count; with count 0 the edit is emptied.
    void SetProvider(IVirtualListItemProvider* provider, int count);
    void SetItemCount(int count);
    int GetCount() const { return list_.Count(); }
    // See the class comment of the source: -1 when index is not current afterwards.
    int SetCurSel(int index);
    int GetCurSel() const { return list_.Current(); }
    int GetText(char* buffer, int size) const;
    int GetTextLength() const;
    // Whether the edit's text is exactly an item's text (as of its last change).
    bool IsExactMatch() const { return exact_; }
    bool IsDroppedDown() const;
    void SetImageList(HIMAGELIST images) { list_.SetImageList(images); }

    // Opens the list (only when closed and not empty); withCapture when the user opened it.
    void OpenList(bool withCapture);
    // Hides the list; a cancel puts back the row current when it opened.
    void CloseList(bool accepted);
    // Sets the edit's text and reports the change once; programmatic changes open no list.
    void SetEditText(const char* text, bool programmatic);

    RyComboEdit& Edit() { return edit_; }
    RyVirtualComboList& List() { return list_; }
    int GetButtonState() const { return buttonState_; }
    RECT ButtonRect() const;

private:
    int OnCreate(const ry::CreateStruct&);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnSetFocus(HWND) { ::SetFocus(edit_.Handle()); }
    void OnSetFont(HFONT font, bool redraw);
    void OnLButtonDown(UINT keys, POINT point);
    void OnMouseMove(UINT keys, POINT point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnEditChange(UINT id, UINT code, HWND control);
    void OnEditKillFocus(UINT id, UINT code, HWND control);
    LRESULT OnGetEditSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetEditSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnLimitText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(list_.Font()); }

    void Notify(UINT code);
    void SetButtonState(int state);
    void ShowCurrentText();
    // The row of the edit's text (-1 in an empty list) and whether it matches exactly.
    bool FindEditText(int* row) const;
    // The row of the edit's text becomes current; sets the exact-match flag.
    void SearchEditText();
    void EditTextChanged(bool programmatic);
    void TrackButton();

    ModuleHandle themeLibrary_;
    HANDLE theme_ = nullptr;
    int buttonState_ = kButtonNormal;
    RyComboEdit edit_;
    RyVirtualComboList list_;
    int savedIndex_ = -1;
    bool settingText_ = false;
    bool exact_ = false;
};
