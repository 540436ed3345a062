// RyVirtualListViewCtrl: the text window of VoView.dll. It holds no text: it asks its item
// server for the count, heights and drawing of items and tells its sink what happens. The
// object is made by VoCreateBibleTextWindow and deletes itself after its window's last
// message. Message handling lives in VirtualListViewCtrl.cpp; layout, scrolling and the
// scroll bar in VirtualListViewScroll.cpp; painting in VirtualListViewPaint.cpp.
#pragma once
#include <windows.h>
#include "ComPtr.h"
#include "ItemMeasurer.h"
#include "ListLayout.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "TextSelection.h"
#include "VoView.h"

using RyTextWindowTraits = RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN>;

class RyVirtualListViewCtrl : public RyWindowImpl<RyVirtualListViewCtrl, RyTextWindowTraits> {
public:
    static constexpr UINT_PTR TWT_HOVER = 100;      // hover timer
    static constexpr UINT_PTR TWT_PRESSHOLD = 101;  // press-and-hold timer

    // Takes a reference to server and sink and reads their units per item and fixed height.
    RyVirtualListViewCtrl(IVoItemServer* server, IVoBibleTextWindowSink* sink);
    ~RyVirtualListViewCtrl() override = default;
    // Sizes cache, per-item array and selection for the server's item count.
    bool Initialise();

    static void GetWindowClass(ry::WindowClass& wc);

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage(HWND) override { delete this; }

private:
    // Standard messages.
    int OnCreate(const ry::CreateStruct& cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFont(HFONT font, bool redraw);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); }
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    void OnPaint();
    void OnSetFocus(HWND);
    void OnKillFocus(HWND);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam, bool& handled);
    void OnVScroll(int code, UINT thumb, HWND bar);
    void OnMouseWheel(UINT keys, int delta, POINT pt);

    // Private messages.
    LRESULT OnReloadItems(WPARAM, LPARAM);
    LRESULT OnGetTopIndex(WPARAM, LPARAM) { return layout_.Position(); }
    LRESULT OnShowRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMaxTopIndex(WPARAM, LPARAM) { return layout_.MaxTop(); }
    LRESULT OnSetCaretMessage(WPARAM wParam, LPARAM);
    LRESULT OnGetCaret(WPARAM, LPARAM) { return caret_; }
    LRESULT OnIsSelected(WPARAM wParam, LPARAM);
    LRESULT OnSelectRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetSelectionBounds(WPARAM, LPARAM lParam);
    LRESULT OnIsDragging(WPARAM, LPARAM) { return dragging_ ? TRUE : FALSE; }
    LRESULT OnGetItemRect(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetDimSelection(WPARAM wParam, LPARAM);

    // Units per item and fixed height from the server, for a list not yet loaded.
    void ReadItemMetrics();
    // Items, layout and scrolling (VirtualListViewScroll.cpp).
    // Reads the item count and sizes cache, per-item array and selection; false (and an
    // empty list) when the memory cannot be had.
    bool ResetItems();
    void Relayout();
    void SetScrollRange();
    void SetScrollPosition();
    void ScrollBy(int d);
    void KeepCaretVisible() { ScrollBy(layout_.CaretVisibleDelta(caret_)); }

    // Caret, focus, hover and selection.
    void SetCaret(int item);
    void DrawFocusAt(int item);
    void ClearHover();
    // Runs a change of the selection and repaints and reports the visible items it changed.
    template <class Change>
    void ChangeSelection(Change change);
    void SelectRange(int first, int end, bool add);
    void InvalidateItems(int first, int last);
    bool ItemIndexValid(WPARAM item) const { return item < static_cast<WPARAM>(layout_.Count()); }

    ComPtr<IVoItemServer> server_;
    ComPtr<IVoBibleTextWindowSink> sink_;
    HFONT font_ = nullptr;  // borrowed, set by WM_SETFONT
    ItemMeasurer measurer_;
    ListLayout layout_;
    int caret_ = 0;
    TextSelection selection_;
    int hoverItem_ = -1;
    int hoverPart_ = -1;
    bool focused_ = false;
    bool dragging_ = false;
    bool dimSelection_ = false;
    bool dropTargetRegistered_ = false;
};
