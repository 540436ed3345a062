// The main window's arithmetic and the bounds of a look-up request, apart from any window:
// a saved placement on a work area, the share of the client area between the bible panes
// and the docked panes, the spinners' wrap, the focus cycle, and WM_COPYDATA blocks as
// another process may send them.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "FrameLayout.h"
#include "OpenRequest.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FramePlacementTest, SavedPlacementOnTheWorkArea) {
    const RECT work = {0, 0, 1024, 740};
    struct Case {
        const char* what;
        RECT saved;
        int showCmd;
        RECT expected;
        int expectedShow;
    } cases[] = {
        {"inside, normal", {10, 20, 810, 620}, SW_SHOWNORMAL, {10, 20, 810, 620}, SW_SHOWNORMAL},
        {"maximised stays", {10, 20, 810, 620}, SW_SHOWMAXIMIZED, {10, 20, 810, 620}, SW_SHOWMAXIMIZED},
        {"minimised opens normal", {10, 20, 810, 620}, SW_SHOWMINIMIZED, {10, 20, 810, 620}, SW_SHOWNORMAL},
        {"0 opens normal", {10, 20, 810, 620}, 0, {10, 20, 810, 620}, SW_SHOWNORMAL},
        {"clipped at the right and bottom", {500, 400, 1500, 1000}, SW_SHOWNORMAL, {500, 400, 1024, 740}, SW_SHOWNORMAL},
        {"wholly off the monitor", {3000, 3000, 3800, 3600}, SW_SHOWNORMAL, work, SW_SHOWNORMAL},
        {"99 pixels across", {925, 100, 1700, 600}, SW_SHOWNORMAL, work, SW_SHOWNORMAL},
        {"99 pixels down", {100, 641, 700, 1200}, SW_SHOWNORMAL, work, SW_SHOWNORMAL},
        {"100 pixels both ways", {924, 640, 1700, 1200}, SW_SHOWNORMAL, {924, 640, 1024, 740}, SW_SHOWNORMAL},
        {"empty rectangle", {300, 300, 300, 300}, SW_SHOWNORMAL, work, SW_SHOWNORMAL},
    };
    for (const Case& c : cases) {
        VoSavedPlacement saved;
        saved.rect = c.saved;
        saved.showCmd = c.showCmd;
        const VoSavedPlacement placed = PlaceOnWorkArea(saved, work);
        EXPECT_TRUE(SameRect(placed.rect, c.expected)) << c.what;
        EXPECT_EQ(c.expectedShow, placed.showCmd) << c.what;
    }
}

TEST(FrameLayoutTest, AreasFromStoredFractions) {
    const RECT area = {0, 30, 1000, 700};
    struct Case {
        const char* what;
        bool multiOpen, lexiconOpen;
        LONG multiStored, lexiconStored;
        RECT host, multi, lexicon;
        double lexiconFraction;
    } cases[] = {
        {"both open at 0.2", true, true, FractionToStored(0.2), FractionToStored(0.2),
         {0, 30, 600, 700}, {600, 30, 800, 700}, {800, 30, 1000, 700}, 0.2},
        {"commentary closed: translations at the edge", true, false, FractionToStored(0.25), FractionToStored(0.2),
         {0, 30, 750, 700}, {750, 30, 1000, 700}, {800, 30, 1000, 700}, 0.2},
        {"both closed: the host takes it all", false, false, FractionToStored(0.2), FractionToStored(0.2),
         {0, 30, 1000, 700}, {800, 30, 1000, 700}, {800, 30, 1000, 700}, 0.2},
        {"stored 0 gives the minimum and corrects the fraction", false, true, FractionToStored(0.2), 0,
         {0, 30, 950, 700}, {750, 30, 950, 700}, {950, 30, 1000, 700}, 0.05},
    };
    for (const Case& c : cases) {
        VoDockedPaneState multi{c.multiOpen, StoredToFraction(c.multiStored), 50};
        VoDockedPaneState lexicon{c.lexiconOpen, StoredToFraction(c.lexiconStored), 50};
        const VoFrameLayout layout = ComputeFrameLayout(area, multi, lexicon);
        EXPECT_TRUE(SameRect(layout.host, c.host)) << c.what << ": host right " << layout.host.right;
        EXPECT_TRUE(SameRect(layout.multi, c.multi)) << c.what << ": multi " << layout.multi.left;
        EXPECT_TRUE(SameRect(layout.lexicon, c.lexicon)) << c.what << ": lexicon " << layout.lexicon.left;
        EXPECT_NEAR(c.lexiconFraction, lexicon.fraction, 1e-6) << c.what;
    }
    // The stored form keeps 0.2 up to rounding.
    EXPECT_EQ(209715, FractionToStored(0.2));
    EXPECT_NEAR(0.2, StoredToFraction(209715), 1e-6);
}

TEST(FrameLayoutTest, SpinnersWrapAround) {
    EXPECT_EQ(0, WrapSelectorIndex(65, 1, 66));   // up on the last book: the first
    EXPECT_EQ(65, WrapSelectorIndex(0, -1, 66));  // down on the first: the last
    EXPECT_EQ(43, WrapSelectorIndex(42, 1, 66));
    EXPECT_EQ(65, WrapSelectorIndex(-1, -1, 66)); // nothing chosen yet
    EXPECT_EQ(-1, WrapSelectorIndex(0, 1, 0));    // an empty list has nowhere to go
}

TEST(FrameLayoutTest, FocusCycleSteps) {
    EXPECT_EQ(1, NextFocusIndex(0, 5, true));
    EXPECT_EQ(0, NextFocusIndex(4, 5, true));
    EXPECT_EQ(4, NextFocusIndex(0, 5, false));
    EXPECT_EQ(0, NextFocusIndex(-1, 5, true));
    EXPECT_EQ(-1, NextFocusIndex(0, 0, true));  // an empty cycle: no division by zero
    EXPECT_EQ(-1, NextFocusIndex(-1, 0, false));
}

TEST(OpenRequestTextTest, BoundsOfAnotherProcessesBlock) {
    char text[kOpenRequestCapacity];
    // No block, no data, no size.
    EXPECT_FALSE(CopyOpenRequestText(nullptr, text));
    COPYDATASTRUCT data = {kOpenReferenceDataCode, 10, nullptr};
    EXPECT_FALSE(CopyOpenRequestText(&data, text));
    char request[] = "KJV Joh 3:16";
    data = {kOpenReferenceDataCode, 0, request};
    EXPECT_FALSE(CopyOpenRequestText(&data, text));
    // With its NUL, and without one: the size bounds the copy.
    data = {kOpenReferenceDataCode, sizeof request, request};
    ASSERT_TRUE(CopyOpenRequestText(&data, text));
    EXPECT_STREQ("KJV Joh 3:16", text);
    data = {123, 7, request};
    ASSERT_TRUE(CopyOpenRequestText(&data, text));
    EXPECT_STREQ("KJV Joh", text);
    // 300 characters: 255 are kept.
    std::string longText(300, 'x');
    data = {kOpenReferenceDataCode, 300, longText.data()};
    ASSERT_TRUE(CopyOpenRequestText(&data, text));
    EXPECT_EQ(255u, std::strlen(text));
}

}  // namespace
