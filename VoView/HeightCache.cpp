// HeightCache: lookup and the movement of the covered window when an item is stored.
#include "HeightCache.h"
#include <algorithm>

void HeightCache::Reset(int capacity) {
    slots_.assign(static_cast<size_t>(std::max(capacity, 0)), -1);
    Clear();
}

bool HeightCache::Lookup(int item, int* height) const {
    if (item < first_ || item >= end_ || slots_.empty()) return false;
    int h = slots_[static_cast<size_t>(item % Capacity())];
    if (h < 0) return false;
    *height = h;
    return true;
}

void HeightCache::Store(int k, int h) {
    const int c = Capacity();
    if (c == 0 || k < 0) return;
    if (end_ > first_ && first_ < k + c && k < end_ + c) {
        if (k < first_) {
            // Extending downwards: the gap is unknown, the far end drops out of the ring.
            for (int i = k + 1; i < first_; ++i) Slot(i) = -1;
            first_ = k;
            end_ = std::min(end_, k + c);
        } else if (k >= end_) {
            for (int i = end_; i < k; ++i) Slot(i) = -1;
            end_ = k + 1;
            first_ = std::max(first_, k + 1 - c);
        }
    } else {
        first_ = k;
        end_ = k + 1;
    }
    Slot(k) = h;
}
