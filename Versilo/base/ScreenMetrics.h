// The screen's vertical resolution, the menu font derived from the system's GUI font, and
// the placing of dialogs on the screen.
#pragma once
#include <windows.h>
#include "Handles.h"

// GetDeviceCaps(LOGPIXELSY) of the screen, asked on the first call and kept for the
// process (96 when the screen can't be asked).
int GetScreenLogPixelsY();

// A font like DEFAULT_GUI_FONT with its height multiplied by 5 and divided by 4; empty when
// it can't be made. The caller owns it.
FontHandle CreateMenuFont();

// Centres a dialog on its owner (on the work area when it has none), kept on the screen.
void CenterDialog(HWND dialog);
