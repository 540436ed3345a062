// RyVirtualListViewCtrl: the text window of VoView.dll. It holds no text: it asks its item
// server for the count, heights and drawing of items and tells its sink what happens. The
// object is made by VoCreateBibleTextWindow and deletes itself after its window's last
// message. Message handling lives in VirtualListViewCtrl.cpp; layout, scrolling and the
// scroll bar in VirtualListViewScroll.cpp; painting in VirtualListViewPaint.cpp; keys,
// hover, the cursor and the click selection in VirtualListViewInput.cpp; presses, link
// presses and the rubber band in VirtualListViewPress.cpp; copying and dragging in
// VirtualListViewData.cpp.
#pragma once
#include <windows.h>
#include <functional>
#include "ComPtr.h"
#include "ItemMeasurer.h"
#include "ListLayout.h"
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "TextSelection.h"
#include "TickClock.h"
#include "VoView.h"

using RyTextWindowTraits = RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN>;

class RyVirtualListViewCtrl : public RyWindowImpl<RyVirtualListViewCtrl, RyTextWindowTraits> {
public:
    static constexpr UINT_PTR TWT_HOVER = 100;      // hover timer
    static constexpr UINT_PTR TWT_PRESSHOLD = 101;  // press-and-hold timer

    // Takes a reference to server and sink and reads their units per item and fixed height.
    // The clock (borrowed; the system's by default) times presses and auto-scrolling.
    RyVirtualListViewCtrl(IVoItemServer* server, IVoBibleTextWindowSink* sink, const TickClock* clock = nullptr);
    ~RyVirtualListViewCtrl() override = default;
    // Sizes cache, per-item array and selection for the server's item count.
    bool Initialise();

    static void GetWindowClass(ry::WindowClass& wc);
    // Makes the object and its window (the export's work): the window owns the object;
    // null, with nothing left behind, when either cannot be made.
    static HWND CreateTextWindow(HWND parent, IVoItemServer* server, IVoBibleTextWindowSink* sink, const RECT* rect,
                                 UINT controlId, const TickClock* clock = nullptr);

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
    // Input (VirtualListViewInput.cpp, VirtualListViewPress.cpp).
    LRESULT OnKeyDown(WPARAM key, LPARAM, bool& handled);
    void OnMouseMove(UINT, POINT pt) { UpdateHover(pt); }
    void OnLButtonDown(UINT keys, POINT pt) { Press(true, keys, pt); }
    void OnRButtonDown(UINT keys, POINT pt) { Press(false, keys, pt); }
    void OnLButtonDoubleClick(UINT keys, POINT pt);
    bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    LRESULT OnTimer(WPARAM id, LPARAM, bool& handled);
    LRESULT OnCopy(WPARAM, LPARAM);

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
    // Hit-tests the point against the server's parts and moves the hover to what it finds;
    // answers whether the point is on a part.
    bool UpdateHover(POINT pt);
    bool HitPart(POINT pt, int* item, int* part, HCURSOR* cursor);
    // The client point of the cursor when it is over this window, else (-1, -1).
    POINT CursorPoint() const;
    // Shift, Ctrl or neither on item i (the caret was set to it), with the change report.
    void ClickSelect(int item, bool shift, bool ctrl);

    // Presses (VirtualListViewPress.cpp).
    enum class PressEnd { Released = 0, Lost = 1, Moved = 2, Held = 3 };
    void Press(bool left, UINT keys, POINT pt);
    // A press on a part: true when the press is over, false when it goes on as an ordinary one.
    bool LinkPress(bool left, int item, int part, POINT pt, POINT* last);
    void OrdinaryPress(bool left, UINT keys, POINT pt, POINT* last);
    // The press-tracking loop, while this window holds the capture.
    PressEnd TrackPress(bool left, const RECT& dragRect, POINT* last);
    void RubberBand(bool left, POINT* last);
    void UpdateBandSelection(POINT pt);
    RECT DragRect(POINT pt) const;
    // A message of the loops, as the point in this window's client coordinates.
    POINT MessagePoint(const MSG& msg) const;

    // Copying and dragging (VirtualListViewData.cpp): the data object, or null when the
    // server offers nothing.
    ComPtr<IDataObject> SelectionData();
    ComPtr<IDataObject> PartData(int item, int part);
    void Drag(const ComPtr<IDataObject>& data);
    // Runs a change of the selection and repaints and reports the visible items it changed.
    void ChangeSelection(const std::function<void()>& change);
    void SelectRange(int first, int end, bool add);
    void InvalidateItems(int first, int last);
    bool ItemIndexValid(WPARAM item) const { return item < static_cast<WPARAM>(layout_.Count()); }

    const TickClock* clock_;
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
