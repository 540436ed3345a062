// HeightCache: the text window's ring of recently measured item heights. It covers a
// window [first, end) of consecutive items, at most as many as it has slots; item k lives
// in slot k mod capacity, and -1 in a slot means unknown.
#pragma once
#include <cstddef>
#include <vector>

class HeightCache {
public:
    // Room for `capacity` heights (0 = no ring: every lookup misses); empties the cache.
    void Reset(int capacity);
    void Clear() { first_ = end_ = 0; }

    int Capacity() const { return static_cast<int>(slots_.size()); }
    // True with the height when item is inside the window and its slot is known.
    bool Lookup(int item, int* height) const;
    // Keeps item's height, moving the window to cover it (see the .cpp).
    void Store(int item, int height);

    int First() const { return first_; }
    int End() const { return end_; }

private:
    int& Slot(int item) { return slots_[static_cast<std::size_t>(item % Capacity())]; }

    std::vector<int> slots_;
    int first_ = 0;
    int end_ = 0;
};
