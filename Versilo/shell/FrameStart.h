// The program's start: the process-wide facilities its windows need, the placement saved at
// the last close, where the main window opens now, and the accelerators of the program's
// message loop.
#pragma once
#include <windows.h>
#include "FrameLayout.h"
#include "RyMessageLoop.h"

class VoMainWnd;

// Prepares what every window of the process relies on, once, before the first window: the
// module whose resources all loads use, the type library that the article view's script
// host answers page script from, and the common controls.
void PrepareProgramModule(HINSTANCE instance);

// Marks a step of the start for a debugger or a Wine trace (+debugstr): "Versilo start:
// step" through OutputDebugString, which costs nothing a reader notices. The start-up
// benchmark's break-down sets these marks among the libraries loaded and files opened.
void MarkStartStep(const char* step);

// Reads "Left", "Top", "Rigth", "Bottom" and "ShowCmd" of the application key's sub-key
// "Position", each only after the one before it was read; true (and *out filled) only when
// all five were.
bool ReadSavedPlacement(VoSavedPlacement* out);

// Creates the main window where the user left it (or at the system's default place with
// the start's show command when Shift is held or nothing was saved), brings its selectors
// up to date and shows it. False when the window could not be made.
bool CreateAndPlaceMainWindow(VoMainWnd& frame, const char* commandLine, int showCmd);

// The accelerator table of the main window, except that the unmodified '+' and '-' keys
// (new pane, close pane) reach an edit control that has the focus: they are typed there.
class VoFrameAccelerators : public RyAcceleratorFilter {
public:
    using RyAcceleratorFilter::RyAcceleratorFilter;
    bool PreTranslateMessage(MSG& msg) override;
};

// True for a '+' or '-' key without Ctrl or Alt going to an edit control.
bool IsPlainSignKeyForEdit(const MSG& msg);
