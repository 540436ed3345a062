// The popup that shows a heading and a text near a point (the verses of a link the mouse
// rests on): created hidden, it appears 150 ms later. The caller keeps the handle and
// destroys the window when the mouse leaves the link; a new popup is made for every showing.
#pragma once
#include <windows.h>

// anchor and point are in owner's client coordinates. Below the anchor when the popup fits
// there, else above it, else on the side with more room; moved left to end at the
// desktop's right edge. Answers the popup's window, or null.
HWND ShowPopupText(HWND owner, const RECT* anchor, POINT point, const char* heading, const char* body);
