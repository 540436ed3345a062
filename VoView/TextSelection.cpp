// TextSelection: the selection operations of the text window.
#include "TextSelection.h"
#include <algorithm>

void TextSelection::Reset(int count) {
    count_ = std::max(count, 0);
    bits_.assign((static_cast<size_t>(count_) + 31) / 32, 0u);
    anchor_ = 0;
    rangeEnd_ = -1;
    low_ = high_ = 0;
}

void TextSelection::Clear() {
    ClearBits();
    rangeEnd_ = -1;
}

void TextSelection::ClearBits() {
    std::fill(bits_.begin(), bits_.end(), 0u);
    low_ = high_ = 0;
}

void TextSelection::SetBit(int i, bool on) {
    if (i < 0 || i >= count_) return;
    uint32_t& word = bits_[static_cast<size_t>(i) / 32];
    const uint32_t mask = 1u << (i % 32);
    word = on ? (word | mask) : (word & ~mask);
}

bool TextSelection::IsSelected(int item) const {
    if (item < 0 || item >= count_) return false;
    if (HasRange() && item >= RangeLow() && item <= RangeHigh()) return true;
    return Bit(item);
}

void TextSelection::SelectOnly(int item) {
    ClearBits();
    SetBit(item, true);
    low_ = item;
    high_ = item + 1;
    anchor_ = rangeEnd_ = item;
}

void TextSelection::ExtendTo(int v, bool clearOthers) {
    if (clearOthers) ClearBits();
    rangeEnd_ = v;
}

void TextSelection::Add(int v) {
    Commit();
    anchor_ = rangeEnd_ = v;
}

void TextSelection::Remove(int v) {
    Commit();
    rangeEnd_ = -1;
    anchor_ = v;
    SetBit(v, false);
}

void TextSelection::Commit() {
    if (!HasRange()) return;
    const int lo = std::max(RangeLow(), 0);
    const int hi = std::min(RangeHigh(), count_ - 1);
    for (int i = lo; i <= hi; ++i) SetBit(i, true);
    if (lo <= hi) {
        if (low_ == high_) {
            low_ = lo;
            high_ = hi + 1;
        } else {
            low_ = std::min(low_, lo);
            high_ = std::max(high_, hi + 1);
        }
    }
}

void TextSelection::Bounds(int* first, int* end) {
    int lo = std::max(low_, 0);
    int hi = std::min(high_, count_);
    while (lo < hi && !Bit(lo)) ++lo;
    while (hi > lo && !Bit(hi - 1)) --hi;
    low_ = lo;
    high_ = hi;
    if (HasRange()) {
        const int rlo = std::max(RangeLow(), 0);
        const int rhi = std::min(RangeHigh(), count_ - 1) + 1;
        if (rlo < rhi) {
            if (lo == hi) {
                lo = rlo;
                hi = rhi;
            } else {
                lo = std::min(lo, rlo);
                hi = std::max(hi, rhi);
            }
        }
    }
    if (lo >= hi) lo = hi = 0;
    *first = lo;
    *end = hi;
}
