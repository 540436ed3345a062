// ItemMeasurer: where the text window gets item heights from its item server. It owns the
// ring cache of heights and, when the server reports 0 scroll units per item, the per-item
// array (units in the low 16 bits, height in the high 16 bits) filled at relayout. Each
// measurement runs in a memory DC compatible with the screen, with the window's font.
#pragma once
#include <cstdint>
#include <vector>
#include "Handles.h"
#include "HeightCache.h"
#include "ListLayout.h"
#include "VoView.h"

class ItemMeasurer : public ItemMetrics {
public:
    static constexpr int kCacheSize = 512;
    // The longest list measured in full (0 units per item): every relayout measures each of
    // its items through the server, so a larger count would stall the window for minutes,
    // and where the address space allows a per-item array of billions of entries (64-bit)
    // nothing else stops it.
    static constexpr int kMaxMeasuredItems = 1 << 20;

    explicit ItemMeasurer(IVoItemServer* server) : server_(server) {}  // borrowed

    void SetFont(HFONT font) { font_ = font; }
    // Sized for a new list; answers false when the memory cannot be had, or when a list
    // measured in full is longer than kMaxMeasuredItems.
    bool Reset(int count, int unitsPerItem);
    void EmptyCache() { cache_.Clear(); }
    // With 0 units per item: measures every item at `width` into the per-item array and
    // answers the sum of their units.
    int MeasureAll(int width);

    int ItemHeight(int item, int width) override;
    void MeasurePageItem(int item, int width, int* units, int* height) override;
    void UnitOffsets(int item, int width, int unitCount, int* offsets) override;

    const HeightCache& Cache() const { return cache_; }

    // A memory DC compatible with the screen with the window's font selected, for one
    // measurement, a batch, or the server's hit tests.
    class MeasureDc {
    public:
        explicit MeasureDc(HFONT font) : dc_(::CreateCompatibleDC(nullptr)), font_(dc_.Get(), font) {}
        MeasureDc(const MeasureDc&) = delete;
        MeasureDc& operator=(const MeasureDc&) = delete;
        HDC Get() const { return dc_.Get(); }

    private:
        MemoryDc dc_;
        SelectedObject font_;
    };
    HFONT Font() const { return font_; }

private:

    IVoItemServer* server_;
    HFONT font_ = nullptr;
    int count_ = 0;
    int unitsPerItem_ = 1;
    HeightCache cache_;
    std::vector<uint32_t> perItem_;
};
