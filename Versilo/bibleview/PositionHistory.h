// VoPositionHistory: the 40 earlier positions of a bible pane, a ring with the oldest
// entry, the current one and the end of the entries ahead. Pushing at the current place
// drops everything ahead; pushing onto a full ring drops the oldest entry.
#pragma once
#include "BibleWindow.h"

class VoPositionHistory {
public:
    static constexpr int kSize = 40;

    void Push(const VoBiblePosition& position);
    bool CanGo(bool back) const { return back ? current_ != oldest_ : current_ != end_; }
    // Stores here at the current entry, steps and answers the entry stepped to; call only
    // when CanGo(back).
    VoBiblePosition Step(bool back, const VoBiblePosition& here);
    // The entry one step away; null when there is none.
    const VoBiblePosition* Peek(bool back) const;

private:
    static int Next(int i) { return (i + 1) % kSize; }
    static int Previous(int i) { return (i + kSize - 1) % kSize; }

    VoBiblePosition entries_[kSize];
    int oldest_ = 0;
    int current_ = 0;
    int end_ = 0;
};
