// The rubber band's scroll zones and step pace.
#include "RubberBand.h"
#include <algorithm>

RubberBandZones::RubberBandZones(int clientH, int columns, int columnWidth, const RECT& d) {
    const RECT none = {0, 0, 0, 0};
    if (columns <= 1) {
        zones_[0] = none;
        zones_[1] = {d.left, d.top, d.right, kEdge};
        zones_[2] = none;
        zones_[3] = {d.left, clientH - kEdge, d.right, d.bottom};
        return;
    }
    const int right = columns * columnWidth;
    zones_[0] = {d.left, d.top, kEdge, d.bottom};
    zones_[1] = {0, d.top, columnWidth, kEdge};
    zones_[2] = {right - kEdge, d.top, d.right, d.bottom};
    zones_[3] = {right - columnWidth, clientH - kEdge, right, d.bottom};
}

int RubberBandZones::ZoneOf(POINT pt) const {
    for (int z = 3; z >= 0; --z)
        if (::PtInRect(&zones_[z], pt)) return z;
    return -1;
}

int RubberBandPace::StepDue(DWORD now) {
    // Tick counts wrap: differences are taken unsigned.
    const DWORD sinceStart = now - start_;
    if (sinceStart <= kDelay || now - lastStep_ <= kInterval) return 0;
    lastStep_ = now;
    return static_cast<int>(std::min<DWORD>(kMaxSpeed, 1 + (sinceStart - kDelay) / kSpeedUp));
}
