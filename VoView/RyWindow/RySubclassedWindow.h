// RySubclassedWindow: an existing window (a standard control, a dialog's child) whose
// messages run through this object's message map first. Attach puts the object's procedure
// in place of the window's and keeps the previous one, which gets every message the map
// leaves; Detach, the window's destruction or the object's destruction put it back.
#pragma once
#include "RyWindowImpl.h"

class RySubclassedWindow : public RyWindowImplBase {
public:
    // False when the window is not a window, or this object already has one.
    bool Attach(HWND hwnd);
    // Gives the window its previous procedure back; answers the window (null when none).
    HWND Detach();

protected:
    LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    WNDPROC GetWindowProc() override { return &SubclassProc; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
