// ListLayout: the geometry of the text window's columns, pages and scrolling.
#include "ListLayout.h"
#include <algorithm>
#include <climits>
#include <vector>

void ListLayout::SetItems(int count, int unitsPerItem, int fixedHeight) {
    count_ = std::max(count, 0);
    unitsPerItem_ = std::max(unitsPerItem, 0);
    fixedHeight_ = std::max(fixedHeight, 0);
    // A server's answers are not trusted to keep the product within an int.
    const long long total = static_cast<long long>(count_) * (unitsPerItem_ ? unitsPerItem_ : 1);
    total_ = static_cast<int>(std::min<long long>(total, INT_MAX));
    page_ = 0;
}

void ListLayout::Arrange(int w) {
    if (w > 0 && unitsPerItem_ != 0) {
        columns_ = std::max(clientW_ / w, 1);
        columnWidth_ = clientW_ / columns_;
    } else {
        columns_ = 1;
        columnWidth_ = clientW_;
    }
}

void ListLayout::ComputePage() {
    page_ = 0;
    if (count_ == 0) return;
    if (columns_ > 1) {
        page_ = count_ - StepColumns(count_, -columns_);
    } else {
        int run = 0;
        for (int i = count_ - 1; i >= 0; --i) {
            int units = 0, h = 0;
            metrics_.MeasurePageItem(i, columnWidth_, &units, &h);
            if (run + h <= clientH_) {
                run += h;
                page_ += units;
                continue;
            }
            // The item straddles the page's top: its tail units that fit still count. Items
            // above it cannot show, so the walk ends here.
            if (units > 1) {
                std::vector<int> offsets(static_cast<size_t>(units), 0);
                metrics_.UnitOffsets(i, columnWidth_, units, offsets.data());
                for (int r = 1; r < units; ++r) {
                    if (run + h - offsets[static_cast<size_t>(r)] <= clientH_) {
                        page_ += units - r;
                        break;
                    }
                }
            }
            break;
        }
    }
    // The last item can always be the top one: a page never counts nothing.
    if (total_ > 0) page_ = std::max(page_, 1);
}

int ListLayout::MaxTop() const {
    int top = total_ - page_;
    if (count_ > 0) top = std::min(top, count_ - 1);
    return std::max(top, 0);
}

void ListLayout::SetPosition(int position) {
    position_ = std::min(std::max(position, 0), MaxTop());
}

int ListLayout::UnitHeight(int u) {
    if (fixedHeight_) return fixedHeight_;
    if (unitsPerItem_ == 0) return u >= 0 && u < count_ ? Height(u) : 20;
    return Height(u / unitsPerItem_) / unitsPerItem_;
}

int ListLayout::ItemsForward(int a) {
    if (a < 0 || a >= count_) return 1;
    int sum = Height(a);
    int n = 1;
    for (int i = a + 1; i < count_; ++i) {
        sum += Height(i);
        if (sum >= clientH_) break;
        ++n;
    }
    return n;
}

int ListLayout::ColumnBack(int a) {
    a = std::min(a, count_);
    int sum = 0;
    int n = 0;
    for (int i = a - 1; i >= 0; --i) {
        const int h = Height(i);
        if (n > 0 && sum + h >= clientH_) break;
        sum += h;
        ++n;
    }
    return -n;
}

int ListLayout::StepColumns(int a, int n) {
    for (; n > 0 && a < count_; --n) a += ItemsForward(a);
    for (; n < 0 && a > 0; ++n) a += ColumnBack(a);
    return std::min(a, count_);
}

// Walks the items from the top as they are placed on the screen, calling visit(item, rect)
// until it answers false: one column stacks items while their tops are above the client
// bottom; several columns start a new column with an item whose bottom would reach or pass
// the client bottom, and stop after the last column.
template <class Visit>
void ListLayout::Place(int top, Visit visit) {
    if (columns_ <= 1) {
        int y = 0;
        for (int i = top; i < count_ && y < clientH_; ++i) {
            const int h = Height(i);
            if (!visit(i, RECT{0, y, clientW_, y + h})) return;
            y += h;
        }
        return;
    }
    int col = 0;
    int colStart = top;
    int y = 0;
    for (int i = top; i < count_; ++i) {
        const int h = Height(i);
        if (i > colStart && y + h >= clientH_) {
            if (++col >= columns_) return;
            y = 0;
            colStart = i;
        }
        const int left = col * columnWidth_;
        if (!visit(i, RECT{left, y, left + columnWidth_, y + h})) return;
        y += h;
    }
}

VisibleRange ListLayout::Visible(bool wholeOnly, std::vector<RECT>* rects) {
    VisibleRange v = {position_, position_};
    LONG lastBottom = 0;
    Place(position_, [&](int item, const RECT& rc) {
        if (rects) rects->push_back(rc);
        v.last = item + 1;
        lastBottom = rc.bottom;
        return true;
    });
    if (wholeOnly && columns_ <= 1 && v.last > v.first && lastBottom > clientH_) {
        --v.last;
        if (rects) rects->pop_back();
    }
    return v;
}

RECT ListLayout::ItemRect(int item) {
    if (item < position_) return {0, -10, columnWidth_, 0};
    RECT result = {0, clientH_, columnWidth_, clientH_ + 10};  // not placed: just below the client area
    Place(position_, [&](int i, const RECT& rc) {
        if (i == item) result = rc;
        return i < item;
    });
    return result;
}

int ListLayout::ItemAt(POINT pt, bool nearest) {
    if (pt.x < 0 || pt.y < 0 || pt.x >= clientW_ || pt.y >= clientH_) return -1;
    if (position_ >= count_) return -1;
    int start = position_;
    int end = count_;
    if (columns_ > 1) {
        const int col = columnWidth_ > 0 ? pt.x / columnWidth_ : 0;
        for (int c = 0; c < col; ++c) {
            start += ItemsForward(start);
            if (start >= count_) break;
        }
        if (col >= columns_ || start >= count_) return nearest ? Visible(false).last - 1 : -1;
        end = start + ItemsForward(start);
    }
    int y = 0;
    for (int i = start; i < end; ++i) {
        y += Height(i);
        if (y > pt.y) return i;
    }
    return nearest ? end - 1 : -1;
}

int ListLayout::PageUpAmount(int p) {
    if (columns_ > 1) return StepColumns(p, -(columns_ - 1)) - p;
    if (p <= 0) return 0;
    if (fixedHeight_) {
        const int n = clientH_ / fixedHeight_;
        return n <= 1 ? -1 : 1 - n;
    }
    int sum = 0;
    int t = p + 1;
    for (int u = p; u >= 0; --u) {
        sum += UnitHeight(u);
        if (sum > clientH_) break;
        t = u;
    }
    return std::min(t - p, -1);
}

int ListLayout::PageDownAmount(int p) {
    if (columns_ > 1) return std::min(StepColumns(p, columns_ - 1), std::max(count_ - 1, 0)) - p;
    if (p >= total_ - 1) return 0;
    if (fixedHeight_) {
        const int n = clientH_ / fixedHeight_;
        return n <= 1 ? 1 : n - 1;
    }
    int sum = 0;
    int last = p;
    for (int u = p; u < total_; ++u) {
        sum += UnitHeight(u);
        if (sum > clientH_) break;
        last = u;
    }
    return std::max(last - p, 1);
}

int ListLayout::BoundDelta(int d) const {
    if (total_ <= page_) return 0;
    const int target = std::min(std::max(position_ + d, 0), MaxTop());
    return target - position_;
}

int ListLayout::PixelDistance(int from, int to, int limit) {
    // The position is the top item, and items stack by their own heights: moving the top by
    // one item moves the contents by that item's height, whatever its units.
    int sum = 0;
    if (to >= from) {
        for (int i = from; i < to && sum < limit; ++i) sum += Height(i);
        return sum;
    }
    for (int i = from - 1; i >= to && sum < limit; --i) sum += Height(i);
    return -sum;
}

int ListLayout::CaretVisibleDelta(int caret) {
    const VisibleRange v = Visible(true);
    if (caret >= v.first && caret < v.last) return 0;
    int top = caret;  // a caret before the visible items becomes the top one
    if (columns_ > 1) {
        const int back = ColumnBack(v.first);
        if (caret < v.first && caret >= v.first + back) top = v.first + back;
        else if (caret >= v.last && caret - v.last < ItemsForward(v.first)) top = position_ + ItemsForward(position_);
        else if (caret >= v.last) top = caret + PageUpAmount(caret) + 1;  // the caret lands in the last column
    } else if (caret >= v.last) {
        // An item taller than the client area never shows whole: partly shown, it is in view.
        if (Height(caret) > clientH_ && Shows(position_, caret)) return 0;
        top = caret + PageUpAmount(caret);  // the caret lands on the last whole row
    }
    // The page-up amount steps back at least one unit, and columns break where the items'
    // heights say: beside a tall item either can leave the caret out of view. Then the top
    // moves on (a column at a time) until the caret's item meets the client area.
    top = std::min(top, caret);
    if (!Shows(top, caret)) {
        if (columns_ <= 1) top = caret;
        while (top < caret && !Shows(top, caret)) top += ItemsForward(top);
        top = std::min(top, caret);
    }
    return top - position_;
}

bool ListLayout::Shows(int top, int item) {
    if (item < top) return false;
    if (columns_ <= 1) return PixelDistance(top, item, clientH_) < clientH_;
    bool placed = false;
    Place(top, [&](int i, const RECT&) {
        placed = i == item;
        return i < item;
    });
    return placed;
}
