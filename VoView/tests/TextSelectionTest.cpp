// The selection's operations: bits, the pending range from the anchor, and its bounds.
#include <gtest/gtest.h>
#include "TextSelection.h"

namespace {

std::vector<int> Selected(const TextSelection& s, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        if (s.IsSelected(i)) out.push_back(i);
    return out;
}

std::pair<int, int> BoundsOf(TextSelection& s) {
    int first = -1, end = -1;
    s.Bounds(&first, &end);
    return {first, end};
}

TEST(TextSelection, EmptyAfterResetWithBoundsZero) {
    TextSelection s;
    s.Reset(40);
    EXPECT_TRUE(Selected(s, 40).empty());
    EXPECT_EQ(std::make_pair(0, 0), BoundsOf(s));
    EXPECT_FALSE(s.IsSelected(-1));
    EXPECT_FALSE(s.IsSelected(40));
}

TEST(TextSelection, ExtendingFromTheAnchorInEitherDirection) {
    TextSelection s;
    s.Reset(40);
    s.SelectOnly(5);
    s.ExtendTo(2, false);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Selected(s, 40));
    EXPECT_EQ(std::make_pair(2, 6), BoundsOf(s));
    // Shift+Down then Shift+Up: the anchor stays, so one item is left.
    s.SelectOnly(3);
    s.ExtendTo(4, true);
    EXPECT_EQ((std::vector<int>{3, 4}), Selected(s, 40));
    s.ExtendTo(3, true);
    EXPECT_EQ((std::vector<int>{3}), Selected(s, 40));
    EXPECT_EQ(3, s.Anchor());
}

TEST(TextSelection, AddRemoveAndBoundsShrinkToWhatIsLeft) {
    TextSelection s;
    s.Reset(70);
    s.SelectOnly(1);
    s.Add(5);
    s.ExtendTo(7, false);
    EXPECT_EQ((std::vector<int>{1, 5, 6, 7}), Selected(s, 70));
    EXPECT_EQ(std::make_pair(1, 8), BoundsOf(s));
    s.Remove(6);
    EXPECT_EQ((std::vector<int>{1, 5, 7}), Selected(s, 70));
    s.Remove(1);
    EXPECT_EQ(std::make_pair(5, 8), BoundsOf(s));
    // Bits across a word boundary.
    s.Add(33);
    s.ExtendTo(64, false);
    EXPECT_EQ(std::make_pair(5, 65), BoundsOf(s));
    s.Clear();
    EXPECT_TRUE(Selected(s, 70).empty());
    EXPECT_EQ(std::make_pair(0, 0), BoundsOf(s));
}

TEST(TextSelection, ARangeBeyondTheListIsCutAtItsEnd) {
    TextSelection s;
    s.Reset(10);
    s.SelectOnly(8);
    s.ExtendTo(20, false);
    EXPECT_EQ((std::vector<int>{8, 9}), Selected(s, 30));
    EXPECT_EQ(std::make_pair(8, 10), BoundsOf(s));
}

}  // namespace
