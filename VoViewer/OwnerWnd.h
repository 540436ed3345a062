// VoViewerOwnerWnd: the viewer's hidden owner window (class and title "VoViewer"). It holds
// the notification-area icon, counts minutes to the next verse, runs the verse dialog when
// the count reaches the threshold, and takes the requests of a second start: show now, or a
// list path to offer. After each verse the window is destroyed, which ends the message loop
// of the program's start; the start makes it again unless the reader ended the program.
#pragma once
#include <windows.h>
#include "RyMessageMap.h"
#include "RyWindowImpl.h"

class AViewerPrompts;
class VoViewerApp;
class VoViewerWnd;

class VoViewerOwnerWnd : public RyWindowImpl<VoViewerOwnerWnd, RyWindowTraits<WS_OVERLAPPEDWINDOW>> {
public:
    // startup: the program was started with "-Startup"; fileArgument: a list path from the
    // command line, or null.
    VoViewerOwnerWnd(VoViewerApp& app, AViewerPrompts& prompts, bool startup, const char* fileArgument);

    static void GetWindowClass(ry::WindowClass& wc);
    // Makes the (never shown) window; null when it could not be made.
    HWND Create();

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Set when the reader ended the program from the verse dialog.
    bool ShouldExit() const { return exit_; }
    int GetCounter() const { return counter_; }
    int GetThreshold() const { return threshold_; }
    const char* GetPendingFile() const { return pending_; }
    // The verse dialog while it is open, else null.
    HWND GetVerseDialog() const;

private:
    int OnCreate(const ry::CreateStruct&);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    LRESULT OnShowNow(WPARAM, LPARAM);
    LRESULT OnTray(WPARAM id, LPARAM mouseMessage);
    LRESULT OnCopyData(WPARAM, LPARAM data);
    LRESULT OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    // Brings an open verse dialog to the front (handing it the pending list), or shows the
    // verse at once.
    void ShowNow();
    void ShowVerseDialog();
    // Interval once a verse was shown in this run, else FirstInterval.
    int CurrentThreshold() const;

    VoViewerApp& app_;
    AViewerPrompts& prompts_;
    char tip_[128] = {};
    bool exit_ = false;
    VoViewerWnd* dialog_ = nullptr;
    int counter_ = 0;
    int threshold_ = 0;
    char pending_[MAX_PATH] = {};
    bool showing_ = false;    // from the dialog's start to the window's end
    bool showAgain_ = false;  // a show request came meanwhile, but no dialog took it
};
