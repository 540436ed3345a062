// TextSelection: the text window's multi-item selection: one bit per item, a pending range
// from the anchor to the range end (inclusive, either direction; range end -1 = none) and
// the bounds [low, high) of the items whose bits may be set. An item is selected when its
// bit is set or it lies in the pending range.
#pragma once
#include <cstdint>
#include <vector>

class TextSelection {
public:
    // Sized for `count` items: nothing selected, anchor 0, no pending range, bounds [0, 0).
    void Reset(int count);
    // Nothing selected; the anchor stays.
    void Clear();

    bool IsSelected(int item) const;

    void SelectOnly(int item);
    // The pending range now ends at v (the anchor stays); with clearOthers the bits go first.
    void ExtendTo(int v, bool clearOthers);
    void Add(int v);
    void Remove(int v);
    // Turns the pending range into bits.
    void Commit();
    // The first selected item and one past the last; [0, 0) when nothing is selected.
    void Bounds(int* first, int* end);

    int Anchor() const { return anchor_; }

private:
    bool Bit(int i) const { return (bits_[static_cast<size_t>(i) / 32] >> (i % 32)) & 1u; }
    void SetBit(int i, bool on);
    void ClearBits();
    bool HasRange() const { return rangeEnd_ >= 0; }
    int RangeLow() const { return anchor_ < rangeEnd_ ? anchor_ : rangeEnd_; }
    int RangeHigh() const { return anchor_ < rangeEnd_ ? rangeEnd_ : anchor_; }

    std::vector<uint32_t> bits_;
    int count_ = 0;
    int anchor_ = 0;
    int rangeEnd_ = -1;
    int low_ = 0;
    int high_ = 0;
};
