// The rubber band's automatic scrolling: the zones at the window's edges where a held
// mouse scrolls the list, and the pace of the steps. Both are plain arithmetic over client
// coordinates and tick counts, so they can be tested apart from any window.
#pragma once
#include <windows.h>

// The scroll zones, in client coordinates, bounded outside by the desktop mapped into the
// window. One column: 1 along the top edge, 3 along the bottom edge. Several columns: 0 at
// the left edge, 2 at the columns' right edge, 1 over the top of the first column and 3
// below the bottom of the last.
class RubberBandZones {
public:
    static constexpr int kEdge = 10;  // pixels inside the client area that still scroll
    RubberBandZones(int clientH, int columns, int columnWidth, const RECT& desktop);
    // The highest-numbered zone that holds the point, or -1.
    int ZoneOf(POINT pt) const;

private:
    RECT zones_[4];
};

// When a step is due while the mouse rests in a zone, and how many units it scrolls: no step
// in the first 250 ms, then at most one every 40 ms, one unit at first and one more for
// every further 500 ms, up to three.
class RubberBandPace {
public:
    static constexpr DWORD kDelay = 250;
    static constexpr DWORD kInterval = 40;
    static constexpr DWORD kSpeedUp = 500;
    static constexpr int kMaxSpeed = 3;

    // The band starts, or the mouse left every zone: the delay runs again from now.
    void Start(DWORD now) { start_ = lastStep_ = now; }
    // The units of a step due now (the step is taken), or 0.
    int StepDue(DWORD now);

private:
    DWORD start_ = 0;
    DWORD lastStep_ = 0;
};
