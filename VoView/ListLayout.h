// ListLayout: the text window's geometry from item heights alone: columns, page size,
// the largest top position, visible range, item rectangles, the item at a point, the page
// amounts, the bounded scroll distance and the move that keeps the caret visible. It asks
// ItemMetrics for heights and never touches a window, so it can be tested on its own.
//
// The scroll position is the index of the top item; total units = items x units per item,
// or the sum of the measured units when the server reports 0 units per item.
#pragma once
#include <windows.h>
#include <vector>

class ItemMetrics {
public:
    // The item's height for layout, drawing and hit tests at the given column width
    // (cached, or from the per-item array when units per item is 0).
    virtual int ItemHeight(int item, int width) = 0;
    // A fresh measurement (units and height) for the page size; it does not disturb the cache.
    virtual void MeasurePageItem(int item, int width, int* units, int* height) = 0;
    // The pixel offset of each of the item's units from its top.
    virtual void UnitOffsets(int item, int width, int unitCount, int* offsets) = 0;

protected:
    ~ItemMetrics() = default;
};

struct VisibleRange {
    int first;
    int last;  // exclusive
};

class ListLayout {
public:
    explicit ListLayout(ItemMetrics& metrics) : metrics_(metrics) {}

    // A new list: count items, units per item and fixed unit height from the server.
    void SetItems(int count, int unitsPerItem, int fixedHeight);
    void SetTotalUnits(int total) { total_ = total; }
    void SetClientSize(int width, int height) { clientW_ = width; clientH_ = height; }
    // Columns from the server's column width (0 or less, or 0 units per item: one column).
    void Arrange(int serverColumnWidth);
    void ComputePage();
    // The position, bounded to 0 .. the largest top position.
    void SetPosition(int position);

    int Count() const { return count_; }
    int UnitsPerItem() const { return unitsPerItem_; }
    int FixedHeight() const { return fixedHeight_; }
    int Columns() const { return columns_; }
    int ColumnWidth() const { return columnWidth_; }
    int ClientWidth() const { return clientW_; }
    int ClientHeight() const { return clientH_; }
    int TotalUnits() const { return total_; }
    int Page() const { return page_; }
    int Position() const { return position_; }
    int MaxTop() const;

    int Height(int item) { return metrics_.ItemHeight(item, columnWidth_); }
    int UnitHeight(int unit);

    // Items in the column that starts at a (at least 1), and the negative count of items in
    // the column that ends just before a.
    int ItemsForward(int a);
    int ColumnBack(int a);
    // The item reached from a by n column steps (forward for n > 0), within the list.
    int StepColumns(int a, int n);

    // The items from the top that meet the client area; wholeOnly drops a last item that
    // reaches past the client bottom (one column). With rects, their rectangles in order.
    VisibleRange Visible(bool wholeOnly, std::vector<RECT>* rects = nullptr);
    // The item's rectangle in client coordinates: above the client area for an item before
    // the top, just below it for an item past the visible columns.
    RECT ItemRect(int item);
    // The item under a client point, or -1; with nearest, the last item of the column or
    // of the visible columns instead of none.
    int ItemAt(POINT pt, bool nearest);

    int PageUpAmount(int p);
    int PageDownAmount(int p);
    // d bounded so that 0 <= position + d <= largest top position.
    int BoundDelta(int d) const;
    // Pixels between the tops of two positions (negative upwards), counted no further than
    // limit pixels in size.
    int PixelDistance(int from, int to, int limit);
    // The scroll that brings the caret into view: 0 when it is wholly visible, or partly
    // visible and taller than the client area; afterwards the caret's item meets the client area.
    int CaretVisibleDelta(int caret);

private:
    // Whether the item meets the client area (is placed in a visible column) when top is the top item.
    bool Shows(int top, int item);
    template <class Visit>
    void Place(int top, Visit visit);

    ItemMetrics& metrics_;
    int count_ = 0;
    int unitsPerItem_ = 1;
    int fixedHeight_ = 0;
    int total_ = 0;
    int columns_ = 1;
    int columnWidth_ = 0;
    int clientW_ = 0;
    int clientH_ = 0;
    int page_ = 0;
    int position_ = 0;
};
