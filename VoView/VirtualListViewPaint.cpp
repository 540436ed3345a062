// RyVirtualListViewCtrl: painting. Each visible item that meets the update region is
// filled and drawn by the item server into one item-sized bitmap and copied to its place;
// what no item covers is filled with the window colour.
#include "VirtualListViewCtrl.h"
#include <algorithm>
#include <vector>
#include "Handles.h"
#include "PaintColours.h"

namespace {

void FillWindowColour(HDC dc, const RECT& rc) {
    if (rc.right > rc.left && rc.bottom > rc.top) ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace

void RyVirtualListViewCtrl::OnPaint() {
    PaintDc paint(hwnd_);
    const HDC dc = paint.Get();
    if (!dc) return;
    SelectedObject paintFont(dc, font_);
    const int clientW = layout_.ClientWidth();
    const int clientH = layout_.ClientHeight();
    const int columnWidth = layout_.ColumnWidth();

    std::vector<RECT> rects;
    const VisibleRange v = layout_.Visible(false, &rects);
    int tallest = 0;
    for (const RECT& rc : rects)
        if (::RectVisible(dc, &rc)) tallest = std::max(tallest, static_cast<int>(rc.bottom - rc.top));

    MemoryDc memory;
    BitmapHandle bitmap;
    if (tallest > 0 && columnWidth > 0) {
        memory.Reset(::CreateCompatibleDC(dc));
        if (memory) bitmap.Reset(::CreateCompatibleBitmap(dc, columnWidth, tallest));
        if (!bitmap) memory.Reset();
    }
    SelectedObject memoryBitmap(memory.Get(), bitmap.Get());
    SelectedObject memoryFont(memory.Get(), font_);

    const COLORREF normalBack = ::GetBkColor(dc);
    const COLORREF normalText = ::GetTextColor(dc);
    const COLORREF selectedBack =
        dimSelection_ && !focused_ ? MeanColour(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW))
                                  : ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF selectedText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    BrushHandle normalBrush(::CreateSolidBrush(normalBack));
    BrushHandle selectedBrush(::CreateSolidBrush(selectedBack));

    RECT previous = {0, 0, columnWidth, 0};
    for (int i = v.first; i < v.last; ++i) {
        const RECT& rc = rects[static_cast<size_t>(i - v.first)];
        if (i > v.first && rc.left != previous.left && previous.bottom < clientH)
            FillWindowColour(dc, {previous.left, previous.bottom, previous.right, clientH});
        previous = rc;
        if (!::RectVisible(dc, &rc)) continue;

        const bool selected = selection_.IsSelected(i);
        const int state[2] = {i == hoverItem_ ? hoverPart_ : -1, selected ? 1 : 0};
        const int height = rc.bottom - rc.top;
        const HDC target = memory ? memory.Get() : dc;
        const int x = memory ? 0 : rc.left;
        const int y = memory ? 0 : rc.top;
        const COLORREF oldBack = ::SetBkColor(target, selected ? selectedBack : normalBack);
        const COLORREF oldText = ::SetTextColor(target, selected ? selectedText : normalText);
        const RECT area = {x, y, x + columnWidth, y + height};
        ::FillRect(target, &area, selected ? selectedBrush.Get() : normalBrush.Get());
        server_->DrawItem(target, i, x, y, columnWidth, height, state);
        if (memory) ::BitBlt(dc, rc.left, rc.top, columnWidth, height, memory.Get(), 0, 0, SRCCOPY);
        if (i == caret_ && focused_) ::DrawFocusRect(dc, &rc);
        ::SetBkColor(target, oldBack);
        ::SetTextColor(target, oldText);
    }

    if (v.first < v.last) {
        FillWindowColour(dc, {previous.left, previous.bottom, previous.right, clientH});
        FillWindowColour(dc, {previous.right, 0, clientW, clientH});
    } else {
        FillWindowColour(dc, {0, 0, clientW, clientH});
    }
}
