// VoToolbarRelay: the main window's toolbar as the parent of the controls that stand in its
// separators (the translation, book and chapter boxes with their spinners and the search-hit
// box). Being its children puts them above the toolbar, so that they get their own clicks;
// their notifications (WM_COMMAND, WM_NOTIFY) reach the toolbar, and the relay hands them on
// to the toolbar's parent, the frame, which answers them as if they were its own.
#pragma once
#include "RySubclassedWindow.h"

class VoToolbarRelay : public RySubclassedWindow {
public:
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
