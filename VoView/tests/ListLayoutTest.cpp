// The text window's geometry from item heights: pages, largest top, visible items,
// rectangles, hit items, page amounts, bounded scrolls and keeping the caret in view.
#include <gtest/gtest.h>
#include "FakeMetrics.h"
#include "ListLayout.h"
#include "RectCompare.h"

namespace {

struct Layout {
    FakeMetrics metrics;
    ListLayout layout{metrics};

    // count items of the given height, one unit each, in a client area of w x h.
    Layout(int count, int itemHeight, int w, int h, int serverColumnWidth = 0, int fixed = 0) {
        metrics.heights.assign(static_cast<size_t>(count), itemHeight);
        Arrange(w, h, serverColumnWidth, fixed);
    }
    void Arrange(int w, int h, int serverColumnWidth = 0, int fixed = 0, int unitsPerItem = 1) {
        layout.SetItems(static_cast<int>(metrics.heights.size()), unitsPerItem, fixed);
        layout.SetClientSize(w, h);
        layout.Arrange(serverColumnWidth);
        layout.ComputePage();
        layout.SetPosition(layout.Position());
    }
};

TEST(ListLayout, OneColumnPageAndLargestTop) {
    Layout l(100, 10, 300, 95);
    EXPECT_EQ(1, l.layout.Columns());
    EXPECT_EQ(300, l.layout.ColumnWidth());
    EXPECT_EQ(9, l.layout.Page());  // nine whole items fit in 95 pixels
    EXPECT_EQ(91, l.layout.MaxTop());
    l.layout.SetPosition(500);
    EXPECT_EQ(91, l.layout.Position());
    // A taller client pulls the position back to the new largest top.
    l.Arrange(300, 195);
    EXPECT_EQ(19, l.layout.Page());
    EXPECT_EQ(81, l.layout.Position());
}

TEST(ListLayout, AnEndItemTallerThanTheClientStillLetsTheLastItemBeTheTop) {
    Layout l(10, 10, 300, 95);
    l.metrics.heights[9] = 400;
    l.Arrange(300, 95);
    EXPECT_EQ(1, l.layout.Page());
    EXPECT_EQ(9, l.layout.MaxTop());
}

TEST(ListLayout, AStraddlingItemAddsTheUnitsOfItsTailThatFit) {
    Layout l(10, 10, 300, 100);
    l.metrics.units.assign(10, 1);
    l.metrics.heights[9] = 40;
    l.metrics.heights[8] = 80;
    l.metrics.units[8] = 4;  // offsets 0, 20, 40, 60
    l.Arrange(300, 100);
    EXPECT_EQ(1 + 3, l.layout.Page());  // item 9 whole, units 1-3 of item 8
}

TEST(ListLayout, EmptyListHasNoPageAndNoItems) {
    Layout l(0, 10, 300, 95);
    EXPECT_EQ(0, l.layout.Page());
    EXPECT_EQ(0, l.layout.MaxTop());
    VisibleRange v = l.layout.Visible(false);
    EXPECT_EQ(v.first, v.last);
    EXPECT_EQ(-1, l.layout.ItemAt({5, 5}, true));
    EXPECT_EQ(0, l.layout.BoundDelta(5));
    EXPECT_EQ(0, l.metrics.heightCalls);
}

TEST(ListLayout, OneColumnVisibleRangeRectanglesAndHits) {
    Layout l(100, 10, 300, 95);
    l.layout.SetPosition(20);
    VisibleRange all = l.layout.Visible(false);
    VisibleRange whole = l.layout.Visible(true);
    EXPECT_EQ(20, all.first);
    EXPECT_EQ(30, all.last);  // item 29 shows its top half
    EXPECT_EQ(29, whole.last);
    EXPECT_EQ((RECT{0, 30, 300, 40}), l.layout.ItemRect(23));
    EXPECT_EQ((RECT{0, -10, 300, 0}), l.layout.ItemRect(19));
    EXPECT_EQ((RECT{0, 95, 300, 105}), l.layout.ItemRect(60));
    EXPECT_EQ(23, l.layout.ItemAt({5, 35}, false));
    EXPECT_EQ(-1, l.layout.ItemAt({5, 95}, false));  // outside the client area
    EXPECT_EQ(-1, l.layout.ItemAt({-1, 5}, true));
}

TEST(ListLayout, ColumnsSplitTheClientWidthEqually) {
    struct Case {
        int clientW, serverW, unitsPerItem, columns, columnWidth;
    } cases[] = {
        {350, 100, 1, 3, 116},
        {80, 100, 1, 1, 80},   // narrower than one column: one column as wide as the client
        {350, 0, 1, 1, 350},   // the server asks for no columns
        {350, -5, 1, 1, 350},
        {350, 100, 0, 1, 350}, // measured units: always one column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clientW << "/" << c.serverW << "/" << c.unitsPerItem);
        Layout l(30, 30, c.clientW, 100);
        l.Arrange(c.clientW, 100, c.serverW, 0, c.unitsPerItem);
        EXPECT_EQ(c.columns, l.layout.Columns());
        EXPECT_EQ(c.columnWidth, l.layout.ColumnWidth());
    }
}

TEST(ListLayout, SeveralColumnsStepRectanglesAndHits) {
    Layout l(30, 30, 350, 100, 100);  // three items of 30 per 100-pixel column
    EXPECT_EQ(3, l.layout.ItemsForward(0));
    EXPECT_EQ(-3, l.layout.ColumnBack(9));
    EXPECT_EQ(-1, l.layout.ColumnBack(1));
    EXPECT_EQ(0, l.layout.ColumnBack(0));
    EXPECT_EQ(9, l.layout.Page());
    EXPECT_EQ(21, l.layout.MaxTop());
    EXPECT_EQ((RECT{116, 30, 232, 60}), l.layout.ItemRect(4));
    EXPECT_EQ((RECT{232, 60, 348, 90}), l.layout.ItemRect(8));
    EXPECT_EQ((RECT{0, 100, 116, 110}), l.layout.ItemRect(9));  // past the last column
    VisibleRange v = l.layout.Visible(false);
    EXPECT_EQ(0, v.first);
    EXPECT_EQ(9, v.last);
    EXPECT_EQ(4, l.layout.ItemAt({120, 35}, false));
    EXPECT_EQ(-1, l.layout.ItemAt({120, 95}, false));  // below the column's last item
    EXPECT_EQ(5, l.layout.ItemAt({120, 95}, true));
    EXPECT_EQ(-1, l.layout.ItemAt({349, 5}, false));   // right of the columns
    EXPECT_EQ(8, l.layout.ItemAt({349, 5}, true));
    // A short list runs out before the third column.
    Layout shortList(5, 30, 350, 100, 100);
    EXPECT_EQ(-1, shortList.layout.ItemAt({240, 5}, false));
    EXPECT_EQ(4, shortList.layout.ItemAt({240, 5}, true));
    EXPECT_EQ(4, shortList.layout.ItemAt({120, 95}, true));
}

TEST(ListLayout, PageAmounts) {
    struct Case {
        const char* name;
        int itemHeight, clientH, fixed, position, up, down;
    } cases[] = {
        {"measured", 10, 95, 0, 50, -8, 8},
        {"fixed", 10, 95, 10, 50, -8, 8},
        {"fixed, one per page", 10, 15, 10, 50, -1, 1},
        {"fixed, taller than the client", 10, 5, 10, 50, -1, 1},
        {"measured, taller than the client", 200, 95, 0, 50, -1, 1},
        {"at the top", 10, 95, 0, 0, 0, 8},
        {"at the last unit", 10, 95, 0, 99, -8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layout l(100, c.itemHeight, 300, c.clientH, 0, c.fixed);
        EXPECT_EQ(c.up, l.layout.PageUpAmount(c.position));
        EXPECT_EQ(c.down, l.layout.PageDownAmount(c.position));
    }
    Layout cols(30, 30, 350, 100, 100);
    EXPECT_EQ(6, cols.layout.PageDownAmount(0));  // two of three columns
    EXPECT_EQ(-6, cols.layout.PageUpAmount(9));
    EXPECT_EQ(29 - 27, cols.layout.PageDownAmount(27));  // not past the end
}

TEST(ListLayout, ScrollsAreBoundedAndDistancesStopAtTheLimit) {
    Layout l(1000, 10, 300, 95);
    EXPECT_EQ(0, l.layout.BoundDelta(-3));
    EXPECT_EQ(991, l.layout.BoundDelta(5000));
    l.layout.SetPosition(991);
    EXPECT_EQ(0, l.layout.BoundDelta(1));
    EXPECT_EQ(-991, l.layout.BoundDelta(-5000));
    EXPECT_EQ(50, l.layout.PixelDistance(0, 5, 95));
    EXPECT_EQ(-50, l.layout.PixelDistance(10, 5, 95));
    l.metrics.heightCalls = 0;
    EXPECT_EQ(100, l.layout.PixelDistance(0, 900, 95));
    EXPECT_EQ(10, l.metrics.heightCalls);
    Layout fits(5, 10, 300, 95);  // everything fits: nothing scrolls
    EXPECT_EQ(0, fits.layout.BoundDelta(1));
}

TEST(ListLayout, CaretIntoView) {
    Layout l(100, 10, 300, 95);
    EXPECT_EQ(0, l.layout.CaretVisibleDelta(5));
    EXPECT_EQ(12, l.layout.CaretVisibleDelta(20));  // the caret lands on the last whole row
    l.layout.SetPosition(30);
    EXPECT_EQ(-20, l.layout.CaretVisibleDelta(10));
    EXPECT_EQ(1, l.layout.CaretVisibleDelta(39));  // the half-visible item counts as outside

    Layout cols(60, 30, 350, 100, 100);
    cols.layout.SetPosition(9);
    EXPECT_EQ(0, cols.layout.CaretVisibleDelta(12));
    EXPECT_EQ(-3, cols.layout.CaretVisibleDelta(7));   // within one column back
    EXPECT_EQ(3, cols.layout.CaretVisibleDelta(18));   // within one column forward
    EXPECT_EQ(16, cols.layout.CaretVisibleDelta(30));  // 30 - two columns + 1 = 25
}

}  // namespace
