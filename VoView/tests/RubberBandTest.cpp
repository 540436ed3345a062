// The rubber band's scroll zones and step pace, on their own.
#include <gtest/gtest.h>
#include "RubberBand.h"

namespace {

const RECT kDesktop = {-40, -60, 1000, 800};  // the desktop in the window's client coordinates

struct ZoneCase {
    int columns;
    POINT pt;
    int zone;
};

TEST(RubberBandZones, PointsAtTheEdgesOfOneColumnAndOfSeveral) {
    // Client 400 x 300; several columns: 3 of 120 pixels, so the columns end at 360.
    const ZoneCase cases[] = {
        {1, {200, 150}, -1},  {1, {200, 9}, 1},     {1, {200, 10}, -1},   {1, {200, -50}, 1},
        {1, {900, -59}, 1},   {1, {200, 290}, 3},   {1, {200, 289}, -1},  {1, {-30, 700}, 3},
        {1, {200, 800}, -1},  // below the desktop: no zone
        {3, {5, 150}, 0},     {3, {-30, 150}, 0},   {3, {10, 150}, -1},   {3, {349, 150}, -1},
        {3, {350, 150}, 2},   {3, {700, 150}, 2},   {3, {60, 5}, 1},      {3, {130, 5}, -1},
        {3, {5, 5}, 1},       // zone 1 before zone 0
        {3, {300, 295}, 3},   {3, {200, 295}, -1},  {3, {355, 295}, 3},   // zone 3 before zone 2
    };
    for (const ZoneCase& c : cases) {
        const RubberBandZones zones(300, c.columns, 120, kDesktop);
        EXPECT_EQ(c.zone, zones.ZoneOf(c.pt)) << c.columns << " columns, (" << c.pt.x << ", " << c.pt.y << ")";
    }
}

TEST(RubberBandPace, WaitsThenStepsEveryFortyMillisecondsFasterEveryHalfSecondUpToThree) {
    RubberBandPace pace;
    pace.Start(1000);
    const struct {
        DWORD now;
        int units;
    } steps[] = {
        {1100, 0}, {1250, 0}, {1251, 1}, {1280, 0}, {1291, 0}, {1292, 1}, {1749, 1}, {1790, 2},
        {1800, 0}, {2240, 2}, {2290, 3}, {5000, 3},
    };
    for (const auto& s : steps) EXPECT_EQ(s.units, pace.StepDue(s.now)) << "at " << s.now;
    // Leaving every zone starts the delay again.
    pace.Start(6000);
    EXPECT_EQ(0, pace.StepDue(6200));
    EXPECT_EQ(1, pace.StepDue(6300));
}

TEST(RubberBandPace, TickCountsThatWrapStillStep) {
    RubberBandPace pace;
    pace.Start(0xFFFFFF00u);
    EXPECT_EQ(0, pace.StepDue(0xFFFFFFF0u));
    EXPECT_EQ(1, pace.StepDue(0x00000010u));  // 272 ms later
}

}  // namespace
