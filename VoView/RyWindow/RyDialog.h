// RyDialog: a dialog from a dialog template, modal (DoModal) or modeless (Create), routed
// through the same message map as every window. The object is bound on WM_INITDIALOG (the
// dialog's creation parameter is the object) and forgotten after WM_NCDESTROY or when the
// object dies first. A handled message answers through DWLP_MSGRESULT, except the few
// whose answer is the dialog procedure's own return value (WM_INITDIALOG, WM_CTLCOLOR*...);
// an unhandled one goes to the dialog manager. A modeless dialog is a message filter: added
// to the program's message loop, it gets IsDialogMessage for its keys.
//
// RyPropertyPage: a child dialog that is one page of a property frame; Apply reads and
// checks its controls when the page is left or the frame's OK is pressed.
#pragma once
#include "RyMessageLoop.h"
#include "RyWindowImpl.h"

class RyDialog : public RyWindowImplBase, public RyMessageFilter {
public:
    // templateId: the dialog resource; module: where it is (the program when null).
    explicit RyDialog(UINT templateId, HINSTANCE module = nullptr);

    // Runs the dialog modally over owner; answers what EndDialog was given, or -1 when
    // the dialog could not be made.
    INT_PTR DoModal(HWND owner);
    // Makes the dialog modeless (visible when its template says so); null when it could not be made.
    HWND Create(HWND owner);
    // Ends a modal dialog with result (DoModal's answer).
    bool EndDialog(INT_PTR result) { return IsWindow() && ::EndDialog(hwnd_, result) != FALSE; }

    bool PreTranslateMessage(MSG& msg) override;
    UINT TemplateId() const { return templateId_; }

protected:
    // Messages the map leaves go back to the dialog manager.
    LRESULT DefaultProc(HWND, UINT message, WPARAM, LPARAM) override { return message == WM_INITDIALOG; }

    HINSTANCE Module() const { return module_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HINSTANCE module_;
};

class RyPropertyPage : public RyDialog {
public:
    RyPropertyPage(UINT templateId, UINT titleId, HINSTANCE module = nullptr);
    ~RyPropertyPage() override;

    // Makes the page's window as a child of the frame.
    HWND Create(HWND frame) { return RyDialog::Create(frame); }
    // Reads and checks the page's controls; false keeps the user on the page.
    virtual bool Apply() { return true; }
    UINT TitleId() const { return titleId_; }

    // WM_INITDIALOG: the themed tab background. A page's own map chains to this first.
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    UINT titleId_;
    HMODULE theme_;  // UxTheme.dll when present
};
