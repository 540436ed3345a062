// RyMessageLoop: the pre-translate chain and the loop itself.
#include "RyMessageLoop.h"
#include <algorithm>
#include "RyWindowApi.h"

RyMessageFilter::~RyMessageFilter() {
    if (loop_) loop_->RemoveFilter(this);
}

RyMessageLoop::~RyMessageLoop() {
    for (RyMessageFilter* f : filters_)
        if (f) f->loop_ = nullptr;
}

void RyMessageLoop::AddFilter(RyMessageFilter* filter) {
    if (!filter) return;
    if (filter->loop_) filter->loop_->RemoveFilter(filter);
    filters_.push_back(filter);
    filter->loop_ = this;
}

void RyMessageLoop::RemoveFilter(RyMessageFilter* filter) {
    auto it = std::find(filters_.begin(), filters_.end(), filter);
    if (it == filters_.end()) return;
    filter->loop_ = nullptr;
    if (running_) *it = nullptr;  // the chain being walked keeps its places
    else filters_.erase(it);
}

bool RyMessageLoop::PreTranslate(MSG& msg) {
    bool handled = false;
    ++running_;
    for (size_t i = filters_.size(); i-- > 0 && !handled;)
        if (filters_[i]) handled = filters_[i]->PreTranslateMessage(msg);
    if (--running_ == 0) filters_.erase(std::remove(filters_.begin(), filters_.end(), nullptr), filters_.end());
    return handled;
}

int RyMessageLoop::Run() {
    MSG msg = {};
    for (;;) {
        const BOOL got = ry::GetMsg(&msg);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (PreTranslate(msg)) continue;
        ::TranslateMessage(&msg);
        ry::DispatchMsg(&msg);
    }
}

bool RyAcceleratorFilter::PreTranslateMessage(MSG& msg) {
    if (!table_ || !target_ || !::IsWindow(target_)) return false;
    return ry::TranslateAccelerators(target_, table_, &msg) != 0;
}
