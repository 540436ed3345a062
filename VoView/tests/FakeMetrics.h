// Item heights for layout tests: a list of heights and units, with counts of what was asked.
#pragma once
#include <vector>
#include "ListLayout.h"

class FakeMetrics : public ItemMetrics {
public:
    std::vector<int> heights;
    std::vector<int> units;  // empty = 1 unit per item
    int heightCalls = 0;
    int pageCalls = 0;

    int ItemHeight(int item, int) override {
        ++heightCalls;
        return item >= 0 && item < static_cast<int>(heights.size()) ? heights[static_cast<size_t>(item)] : 0;
    }
    void MeasurePageItem(int item, int width, int* u, int* h) override {
        ++pageCalls;
        *h = ItemHeight(item, width);
        *u = units.empty() ? 1 : units[static_cast<size_t>(item)];
    }
    // Units split the item evenly.
    void UnitOffsets(int item, int width, int count, int* offsets) override {
        const int h = ItemHeight(item, width);
        for (int i = 0; i < count; ++i) offsets[i] = h * i / count;
    }
};
