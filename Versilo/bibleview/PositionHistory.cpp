// VoPositionHistory.
#include "PositionHistory.h"

void VoPositionHistory::Push(const VoBiblePosition& position) {
    entries_[current_] = position;
    current_ = Next(current_);
    end_ = current_;
    if (oldest_ == current_) oldest_ = Next(oldest_);
}

VoBiblePosition VoPositionHistory::Step(bool back, const VoBiblePosition& here) {
    entries_[current_] = here;
    current_ = back ? Previous(current_) : Next(current_);
    return entries_[current_];
}

const VoBiblePosition* VoPositionHistory::Peek(bool back) const {
    if (!CanGo(back)) return nullptr;
    return &entries_[back ? Previous(current_) : Next(current_)];
}
