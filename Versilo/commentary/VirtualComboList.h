// RyVirtualComboList: the drop-down list of RyVirtualCombo. It holds no items: each visible
// row's text and image come from the provider when the row is painted. It is a child of
// the desktop (so it may reach past its owner's window) that never takes the activation;
// its owner destroys it with itself.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "ComPtr.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "VirtualListItemProvider.h"

class RyVirtualCombo;

// The clock of the list's auto-scroll, in milliseconds (GetTickCount unless a test sets another).
using RyTickSource = DWORD(WINAPI*)();

class RyVirtualComboList
    : public RyWindowImpl<RyVirtualComboList,
                          RyWindowTraits<WS_CHILD | WS_BORDER | WS_VSCROLL | WS_CLIPSIBLINGS,
                                         WS_EX_TOPMOST | WS_EX_TOOLWINDOW>> {
public:
    static constexpr int kMaxVisibleRows = 15;
    static constexpr DWORD kScrollDelay = 251;     // ms outside the rows before auto-scroll
    static constexpr DWORD kScrollInterval = 40;   // ms between auto-scroll steps (more than)
    static constexpr int kTextBufferSize = 256;

    explicit RyVirtualComboList(RyVirtualCombo& owner) : owner_(owner) {}
    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    HWND CreateList();

    void SetProvider(IVirtualListItemProvider* provider, int count);
    IVirtualListItemProvider* Provider() const { return provider_.Get(); }
    void SetCount(int count);
    int Count() const { return count_; }
    void SetImageList(HIMAGELIST images);
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    void SetClock(RyTickSource clock) { clock_ = clock ? clock : &GetTickCount; }

    int ItemHeight() const { return itemHeight_; }
    int TopIndex() const { return top_; }
    int Current() const { return current_; }
    // Makes index current (-1 for none; others clamped to the rows) and scrolls it into view.
    void SetCurrent(int index);
    // Page Up/Down, Home, End and the arrow keys; false for other keys.
    bool HandleKey(UINT key);
    // The text of a row from the provider, into a kTextBufferSize buffer (empty for none).
    void GetRowText(int index, char* buffer) const;

    // Size and place for showing: the height of min(count, kMaxVisibleRows) rows.
    int WindowHeightFor() const;
    void Relayout();

private:
    int OnCreate(const ry::CreateStruct&);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnVScroll(int code, UINT position, HWND bar);
    void OnLButtonDown(UINT keys, POINT point);
    LRESULT OnMouseActivate(WPARAM, LPARAM) { return MA_NOACTIVATE; }
    LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); }

    void UpdateMetrics();
    void UpdateScrollBar();
    void ScrollBy(int delta);
    void InvalidateRow(int index);
    int RowAt(POINT point) const;        // the row under point, clamped to the visible rows
    bool InRowBand(POINT point) const { return point.y >= 0 && point.y < rows_ * itemHeight_; }
    bool DragLoop();
    void PressOutside(POINT screenPoint);

    RyVirtualCombo& owner_;
    HFONT font_ = nullptr;
    int count_ = 0;
    int itemHeight_ = 16;
    int top_ = 0;
    int rows_ = 0;
    int current_ = -1;
    bool outside_ = false;
    ComPtr<IVirtualListItemProvider> provider_;
    HIMAGELIST images_ = nullptr;  // borrowed
    RyTickSource clock_ = &GetTickCount;
};
