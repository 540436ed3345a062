// The arithmetic of the main window, apart from any window so that it can be checked by
// itself: where a saved placement puts the window, how the client area is shared between
// the bible panes and the docked side panes, how the side panes' splitters move, the wrap of
// the book and chapter spinners and the step of the focus cycle.
#pragma once
#include <windows.h>

// A window placement as the registry keeps it ("Position": "Left", "Top", "Rigth",
// "Bottom", "ShowCmd").
struct VoSavedPlacement {
    RECT rect = {};
    int showCmd = SW_SHOWNORMAL;
};

// Where a saved placement opens on a monitor whose work area is workArea: the show command
// becomes SW_SHOWNORMAL unless it is SW_SHOWNORMAL or SW_SHOWMAXIMIZED; the rectangle is
// clipped to the work area, and one less than 100 pixels wide or high (nothing left
// included) gives way to the whole work area.
VoSavedPlacement PlaceOnWorkArea(const VoSavedPlacement& saved, const RECT& workArea);

// Pane width fractions are stored as value / 2^20.
constexpr double kFractionScale = 1048576.0;
constexpr double kDefaultPaneFraction = 0.2;
LONG FractionToStored(double fraction);
double StoredToFraction(LONG stored);

// The side panes as the layout sees them: open or not, the share of the width they keep,
// and the narrowest they may be.
struct VoDockedPaneState {
    bool open = false;
    double fraction = kDefaultPaneFraction;
    int minWidth = 0;
};

// Where the bible panes (host), the translations pane (multi) and the commentary pane
// (lexicon) go in area, the client area between the toolbar and the status bar. The
// commentary pane takes the right edge, the translations pane stands left of it (or at the
// right edge when the commentary pane is closed) and the host takes what open panes leave.
// A fraction that gives less than a pane's minimum is raised to that minimum (written back).
struct VoFrameLayout {
    RECT host = {};
    RECT multi = {};
    RECT lexicon = {};
};
VoFrameLayout ComputeFrameLayout(const RECT& area, VoDockedPaneState& multi, VoDockedPaneState& lexicon);

// The spinner of a selector list of count entries moved by delta from current: below 0
// wraps to the last entry, at or past the count to the first.
int WrapSelectorIndex(int current, int delta, int count);

// The next entry of a focus cycle of count windows from current (-1: none has the focus),
// forward or back; -1 when the cycle is empty.
int NextFocusIndex(int current, int count, bool forward);
