// The screen's vertical resolution, the menu font derived from the system's GUI font, and
// the placing of dialogs on the screen.
#pragma once
#include <windows.h>
#include "Handles.h"

// GetDeviceCaps(LOGPIXELSY) of the screen, asked on the first call and kept for the
// process (96 when the screen can't be asked).
int GetScreenLogPixelsY();

// The menu font's height for a DEFAULT_GUI_FONT of guiFontHeight: multiplied by 5 and
// divided by 4 in integers (cut toward zero).
LONG MenuFontHeight(LONG guiFontHeight);
// A font like DEFAULT_GUI_FONT with its height made MenuFontHeight; empty when it can't be
// made. The caller owns it: the main window's selectors and the commentary pane use it.
FontHandle CreateMenuFont();

// Centres a dialog on its owner (on the work area when it has none), kept on the screen.
void CenterDialog(HWND dialog);
