// The two small information dialogs of the Help menu: VoAboutBox (dialog 103, the
// program's version) and VoBibleInfoDlg (dialog 140, the rights and information texts of
// one translation). Both are modal and close with OK or Cancel.
#pragma once
#include <windows.h>
#include <string>
#include "ComPtr.h"
#include "IBible.h"
#include "RyDialog.h"
#include "ScreenMetrics.h"

constexpr UINT kAboutDialogId = 103;
constexpr UINT kBibleInfoDialogId = 140;

class VoAboutBox : public RyDialog {
public:
    VoAboutBox() : RyDialog(kAboutDialogId) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnClose(UINT id, UINT, HWND) { EndDialog(id); }
};

class VoBibleInfoDlg : public RyDialog {
public:
    explicit VoBibleInfoDlg(IBible* bible) : RyDialog(kBibleInfoDialogId), bible_(bible) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnClose(UINT id, UINT, HWND) { EndDialog(id); }

    ComPtr<IBible> bible_;
};

// A text whose lines end in "\n" alone with "\r\n" in their place, as a multi-line edit
// shows lines.
std::string WithCrLf(const char* text);
