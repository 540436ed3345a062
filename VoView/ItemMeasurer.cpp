// ItemMeasurer: cached and full measurement of items through the item server.
#include "ItemMeasurer.h"
#include <algorithm>
#include <climits>
#include <exception>
#include "Handles.h"

bool ItemMeasurer::Reset(int count, int unitsPerItem) {
    count_ = std::max(count, 0);
    unitsPerItem_ = unitsPerItem;
    if (unitsPerItem_ == 0 && count_ > kMaxMeasuredItems) {
        count_ = 0;
        cache_.Reset(0);
        perItem_.clear();
        return false;
    }
    try {
        cache_.Reset(unitsPerItem_ != 0 ? std::min(count_, kCacheSize) : 0);
        perItem_.assign(unitsPerItem_ == 0 ? static_cast<size_t>(count_) : 0, 0u);
    } catch (const std::exception&) {  // bad_alloc or length_error for a huge count
        count_ = 0;
        cache_.Reset(0);
        perItem_.clear();
        return false;
    }
    return true;
}

int ItemMeasurer::MeasureAll(int width) {
    if (unitsPerItem_ != 0) return 0;
    MeasureDc dc(font_);
    long long total = 0;
    for (int i = 0; i < count_; ++i) {
        int units = 0, height = 0;
        server_->MeasureItem(dc.Get(), i, width, &units, &height);
        units = std::min(std::max(units, 0), 0xFFFF);
        height = std::min(std::max(height, 0), 0xFFFF);
        perItem_[static_cast<size_t>(i)] = static_cast<uint32_t>(units) | (static_cast<uint32_t>(height) << 16);
        total += units;
    }
    return static_cast<int>(std::min<long long>(total, INT_MAX));
}

int ItemMeasurer::ItemHeight(int item, int width) {
    if (item < 0 || item >= count_) return 0;  // nothing is measured for items that do not exist
    if (unitsPerItem_ == 0) return static_cast<int>(perItem_[static_cast<size_t>(item)] >> 16);
    int height = 0;
    if (cache_.Lookup(item, &height)) return height;
    int units = 0;
    MeasureDc dc(font_);
    server_->MeasureItem(dc.Get(), item, width, &units, &height);
    height = std::max(height, 0);
    cache_.Store(item, height);
    return height;
}

void ItemMeasurer::MeasurePageItem(int item, int width, int* units, int* height) {
    *units = 0;
    *height = 0;
    if (item < 0 || item >= count_) return;
    if (unitsPerItem_ == 0) {
        const uint32_t entry = perItem_[static_cast<size_t>(item)];
        *units = static_cast<int>(entry & 0xFFFF);
        *height = static_cast<int>(entry >> 16);
        return;
    }
    MeasureDc dc(font_);
    server_->MeasureItem(dc.Get(), item, width, units, height);
    *height = std::max(*height, 0);
    *units = std::max(*units, 0);
}

void ItemMeasurer::UnitOffsets(int item, int width, int unitCount, int* offsets) {
    if (item < 0 || item >= count_ || unitCount <= 0) return;
    MeasureDc dc(font_);
    server_->GetUnitOffsets(dc.Get(), item, width, unitCount, offsets);
}
