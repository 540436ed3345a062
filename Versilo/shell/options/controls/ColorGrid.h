// The colour grid of the colour picker: RyColorGridPopupWnd, a borderless popup holding a
// toolbar (RyFocusedToolBar) of 40 named colour squares in 8 columns and 5 rows.
//
// The popup tells its owner through WM_NOTIFY: kColorGridChosen with the colour, at once,
// when a square is chosen (the popup closes 250 ms later) and kColorGridClosing when its
// window is being destroyed. It closes when its toolbar loses the focus, on Escape and F4,
// and deletes itself after its last message.
#pragma once
#include <windows.h>
#include "Handles.h"
#include "RySubclassedWindow.h"

constexpr int kGridColorCount = 40;
constexpr UINT kFirstGridCommand = 100;  // the command of colour i is 100 + i
constexpr UINT kFirstGridColorName = 600;  // the string of colour i's name is 600 + i

// Colour i of the grid (0x00BBGGRR); i must lie in 0..kGridColorCount - 1.
COLORREF GridColor(int i);
// The index of colour c in the grid, -1 when it is not there.
int FindGridColor(COLORREF c);

// WM_NOTIFY codes of the grid.
constexpr UINT kToolBarFocusLost = static_cast<UINT>(-100000);  // toolbar to popup
constexpr UINT kColorGridChosen = static_cast<UINT>(-100010);   // popup to owner
constexpr UINT kColorGridClosing = static_cast<UINT>(-100011);  // popup to owner

// The header of kColorGridChosen with the chosen colour after it.
struct NMCOLORGRID {
    NMHDR hdr;
    COLORREF color;
};

// A toolbar that tells its parent when it loses the keyboard focus.
class RyFocusedToolBar : public RySubclassedWindow {
public:
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class RyColorGridPopupWnd : public RyWindowImpl<RyColorGridPopupWnd, RyWindowTraits<WS_POPUP | WS_BORDER>> {
public:
    static constexpr UINT kToolBarId = 1000;
    static constexpr UINT_PTR kCloseTimer = 10;

    RyColorGridPopupWnd(HWND owner, COLORREF current) : owner_(owner), current_(current) {}
    static void GetWindowClass(ry::WindowClass& wc);

    // Makes the window at the owner's lower-left corner; null when it cannot be made (the
    // caller still owns the object then).
    HWND Create();
    // The window size that shows the 40 squares in 8 columns and 5 rows.
    SIZE MeasureSize() const;
    HWND ToolBar() const { return toolBar_.Handle(); }
    COLORREF Current() const { return current_; }

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage(HWND) override { delete this; }

private:
    int OnCreate(const ry::CreateStruct&);
    void OnSize(UINT, int cx, int cy);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnToolBarNotify(NMHDR& hdr);
    void OnChoose(UINT id, UINT, HWND);
    void OnTimer(UINT_PTR);
    void OnDestroy();
    bool MakeSquares();

    HWND owner_;
    COLORREF current_;
    BitmapHandle squares_;  // 480 x 12: square i at x = 12 i
    RyFocusedToolBar toolBar_;
};
