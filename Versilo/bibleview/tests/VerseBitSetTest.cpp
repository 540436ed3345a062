// The verse bit set: bounds, padding and the word-wise searches.
#include <gtest/gtest.h>
#include "VerseBitSet.h"

namespace {

TEST(VerseBitSet, EveryIndexIsCheckedAgainstTheBitCount) {
    // 64 bits: the words end exactly at the last verse, where one past it is the next word.
    VoVerseBitSet set;
    ASSERT_TRUE(set.Init(64));
    EXPECT_EQ(2u, set.GetWordCount());
    EXPECT_FALSE(set.Set(64, true));
    EXPECT_FALSE(set.Set(-1, true));
    EXPECT_FALSE(set.Test(64));
    EXPECT_FALSE(set.Test(-1));
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_TRUE(set.Set(63, true));
    EXPECT_FALSE(set.Set(63, true)) << "no change";
    EXPECT_EQ(0x80000000u, set.GetWords()[1]);
    set.SetRange(60, 70);
    EXPECT_EQ(0xF0000000u, set.GetWords()[1]);

    VoVerseBitSet none;
    ASSERT_TRUE(none.Init(0));
    EXPECT_FALSE(none.Set(0, true));
    EXPECT_EQ(-1, none.FindNext(-1));
    EXPECT_EQ(-1, none.FindPrevious(5));
    EXPECT_FALSE(none.Init(-3));
}

TEST(VerseBitSet, SearchesSkipWordsAndStopAtTheEnds) {
    VoVerseBitSet set;
    ASSERT_TRUE(set.Init(31102));
    EXPECT_EQ(972u, set.GetWordCount());
    for (int v : {0, 31, 32, 1000, 31101}) set.Set(v, true);
    struct Case {
        int from, next, previous;
    };
    const Case cases[] = {
        {-5, 0, -1}, {-1, 0, -1}, {0, 31, -1},     {30, 31, 0},         {31, 32, 0},
        {32, 1000, 31}, {999, 1000, 32}, {1000, 31101, 32}, {31101, -1, 1000}, {31102, -1, 31101},
        {40000, -1, 31101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.next, set.FindNext(c.from)) << c.from;
        EXPECT_EQ(c.previous, set.FindPrevious(c.from)) << c.from;
    }
}

TEST(VerseBitSet, PaddingIsNeverAVerse) {
    VoVerseBitSet set;
    ASSERT_TRUE(set.Init(40));  // 8 padding bits in the second word
    set.GetWords()[1] = 0xFFFFFF00u;  // only padding set, as a damaged value could
    EXPECT_EQ(-1, set.FindNext(0));
    EXPECT_EQ(-1, set.FindPrevious(100)) << "the previous search starts at the last verse";
    set.MaskPadding();
    EXPECT_TRUE(set.IsEmpty());
    set.GetWords()[1] = 0xFFFFFFFFu;
    set.MaskPadding();
    EXPECT_EQ(0xFFu, set.GetWords()[1]);
    EXPECT_EQ(39, set.FindPrevious(40));
}

TEST(VerseBitSet, SharedWordsFollowTheOwner) {
    VoVerseBitSet owner, shared;
    ASSERT_TRUE(owner.Init(100));
    shared.Share(owner);
    EXPECT_FALSE(shared.IsOwned());
    EXPECT_EQ(100, shared.GetBitCount());
    owner.Set(77, true);
    EXPECT_TRUE(shared.Test(77));
    EXPECT_EQ(77, shared.FindNext(0));
    shared.Free();  // frees nothing of the owner's
    EXPECT_TRUE(owner.Test(77));
}

}  // namespace
