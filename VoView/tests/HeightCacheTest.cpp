// The ring of item heights: which items stay known as the covered window moves.
#include <gtest/gtest.h>
#include "HeightCache.h"

namespace {

std::vector<int> Known(const HeightCache& cache, int upTo) {
    std::vector<int> known;
    for (int i = 0; i < upTo; ++i) {
        int h = 0;
        if (cache.Lookup(i, &h)) {
            EXPECT_EQ(i * 10, h) << "item " << i;
            known.push_back(i);
        }
    }
    return known;
}

TEST(HeightCache, NoRoomMeansEveryLookupMisses) {
    HeightCache cache;
    cache.Reset(0);
    cache.Store(0, 5);
    int h = -7;
    EXPECT_FALSE(cache.Lookup(0, &h));
    EXPECT_EQ(-7, h);
}

TEST(HeightCache, GrowingUpwardsDropsTheOldestItems) {
    HeightCache cache;
    cache.Reset(4);
    for (int i = 0; i < 6; ++i) cache.Store(i, i * 10);
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5}), Known(cache, 20));
    EXPECT_EQ(2, cache.First());
    EXPECT_EQ(6, cache.End());
}

TEST(HeightCache, AGapAboveTheWindowIsUnknown) {
    HeightCache cache;
    cache.Reset(8);
    cache.Store(0, 0);
    cache.Store(1, 10);
    cache.Store(4, 40);  // items 2 and 3 were never measured
    EXPECT_EQ((std::vector<int>{0, 1, 4}), Known(cache, 20));
}

TEST(HeightCache, GrowingDownwardsDropsTheFarEnd) {
    HeightCache cache;
    cache.Reset(4);
    for (int i = 10; i < 14; ++i) cache.Store(i, i * 10);
    cache.Store(8, 80);
    EXPECT_EQ(8, cache.First());
    EXPECT_EQ(12, cache.End());
    EXPECT_EQ((std::vector<int>{8, 10, 11}), Known(cache, 20));
}

TEST(HeightCache, AFarItemRestartsTheWindowAndClearEmptiesIt) {
    HeightCache cache;
    cache.Reset(4);
    for (int i = 0; i < 3; ++i) cache.Store(i, i * 10);
    cache.Store(7, 70);  // 7 >= end + capacity: restart
    EXPECT_EQ((std::vector<int>{7}), Known(cache, 20));
    cache.Store(5, 50);  // within reach below
    EXPECT_EQ((std::vector<int>{5, 7}), Known(cache, 20));
    cache.Clear();
    EXPECT_TRUE(Known(cache, 20).empty());
}

}  // namespace
