// Colours of the text window's painting that are worked out rather than read.
#pragma once
#include <windows.h>

// The per-channel mean of two colours, rounded down: the dimmed selection is the mean of the
// highlight and the button shadow.
inline COLORREF MeanColour(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}
