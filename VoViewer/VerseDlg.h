// VoViewerWnd: the verse dialog (dialog 101). It shows the engine's current verse in a
// read-only text box sized to the text, offers the next verse, the options, copying and the
// look-up in the main program, takes a list path handed over by a second start, and keeps
// its position in ten-thousandths of the desktop. VoViewerTextWnd is the text box's
// subclass: its context menu and the double click that looks the verse up.
#pragma once
#include <windows.h>
#include "IBibleLangStat.h"
#include "RyDialog.h"
#include "RyMessageMap.h"
#include "RySubclassedWindow.h"

class AViewerPrompts;
class VoViewerApp;
class VoViewerWnd;

class VoViewerTextWnd : public RySubclassedWindow {
public:
    explicit VoViewerTextWnd(VoViewerWnd& dialog) : dialog_(dialog) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnContextMenu(HWND, POINT screen, bool);
    void OnDoubleClick(UINT, POINT);

    VoViewerWnd& dialog_;
};

class VoViewerWnd : public RyDialog {
public:
    // pendingList: a list path to offer once the dialog is up, or null.
    VoViewerWnd(VoViewerApp& app, AViewerPrompts& prompts, const char* pendingList);

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Shows the engine's current verse and fits the dialog to it.
    void ShowCurrentVerse();
    // True when the main program's path is known and a reference is shown.
    bool CanLookUp() const;
    // The context menu of the verse text at a screen point.
    void ShowContextMenu(POINT screen);
    void LookUp();
    // The reference shown in the caption (the look-up's reference); empty when none.
    const char* GetReference() const { return reference_; }
    bool AreButtonsHidden() const { return buttonsHidden_; }

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    LRESULT OnCopyData(WPARAM, LPARAM data, bool& handled);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnDialogContextMenu(HWND, POINT, bool);
    LRESULT OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    void OnOk(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);
    void OnCloseToTray(UINT, UINT, HWND);
    void OnQuit(UINT, UINT, HWND);
    void OnNextVerse(UINT, UINT, HWND);
    void OnOptions(UINT, UINT, HWND);
    void OnCopy(UINT, UINT, HWND);
    void OnLookUpCommand(UINT, UINT, HWND);
    void OnOutOfSpace(UINT, UINT, HWND);

    // Places the dialog at the stored or centred position with the full or cut height.
    void PlaceDialog();
    // The height the dialog starts with, the one it is centred at: as designed, or cut at
    // the top of OK while the buttons are hidden.
    int StartHeight() const;
    // Grows (or shrinks) the dialog by dy, keeping its top-left corner.
    void ResizeBy(int dy);
    void MoveButtonsBy(int dy);
    // Consumes the shown verse, remembers the position and ends the dialog.
    void Close(INT_PTR result);
    // Consumes the shown verse and remembers the position (in memory).
    void ConsumeAndRemember();
    // Offers the pending list path and forgets it.
    void ProcessPendingList();

    VoViewerApp& app_;
    AViewerPrompts& prompts_;
    VoViewerTextWnd text_;
    char reference_[kFormatRefBufferSize] = {};
    bool buttonsHidden_ = false;
    bool optionsOpen_ = false;
    bool sessionEnded_ = false;  // the end of the session was saved
    char pending_[MAX_PATH] = {};
    SIZE designedText_ = {};  // the text box's client size as designed
    int designedHeight_ = 0;  // the dialog's full height as designed
    int stripHeight_ = 0;     // the dialog's height below the top of OK
};
