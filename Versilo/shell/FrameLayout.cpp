// The main window's arithmetic: placement on a work area, the share of the client area,
// the spinners' wrap and the focus cycle's step.
#include "FrameLayout.h"

VoSavedPlacement PlaceOnWorkArea(const VoSavedPlacement& saved, const RECT& workArea) {
    VoSavedPlacement placed = saved;
    if (placed.showCmd != SW_SHOWNORMAL && placed.showCmd != SW_SHOWMAXIMIZED) placed.showCmd = SW_SHOWNORMAL;
    RECT clipped = {};
    if (!::IntersectRect(&clipped, &saved.rect, &workArea) || clipped.right - clipped.left < 100 ||
        clipped.bottom - clipped.top < 100)
        clipped = workArea;
    placed.rect = clipped;
    return placed;
}

LONG FractionToStored(double fraction) {
    return static_cast<LONG>(fraction * kFractionScale + 0.5);
}

double StoredToFraction(LONG stored) {
    return stored / kFractionScale;
}

namespace {

// The width a pane takes of W, raised to its minimum (and its fraction with it).
int PaneWidth(int W, VoDockedPaneState& pane) {
    int width = static_cast<int>(W * pane.fraction + 0.5);
    if (width < pane.minWidth) {
        width = pane.minWidth;
        if (W > 0) pane.fraction = static_cast<double>(pane.minWidth) / W;
    }
    return width;
}

}  // namespace

VoFrameLayout ComputeFrameLayout(const RECT& area, VoDockedPaneState& multi, VoDockedPaneState& lexicon) {
    VoFrameLayout layout;
    const int W = area.right - area.left;

    const int lexiconWidth = PaneWidth(W, lexicon);
    layout.lexicon = {area.right - lexiconWidth, area.top, area.right, area.bottom};
    int x = lexicon.open ? layout.lexicon.left : area.right;

    const int multiWidth = PaneWidth(W, multi);
    layout.multi = {x - multiWidth, area.top, x, area.bottom};
    if (multi.open) x -= multiWidth;

    layout.host = {area.left, area.top, x, area.bottom};
    return layout;
}

int WrapSelectorIndex(int current, int delta, int count) {
    if (count <= 0) return -1;
    const long long next = static_cast<long long>(current) + delta;
    if (next < 0) return count - 1;
    if (next >= count) return 0;
    return static_cast<int>(next);
}

int NextFocusIndex(int current, int count, bool forward) {
    if (count <= 0) return -1;
    if (forward) return (current + 1 + count) % count;
    return (current + count - 1 + count) % count;
}
