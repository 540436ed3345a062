// VoDockedWnd: the base of the side panes the main frame docks at the right of its bible
// windows. The pane draws its frame with a 6-pixel sizing edge on its left; dragging that
// edge changes the pane's width between 50 pixels and the largest width the parent allows.
// Towards its parent it speaks WM_NOTIFY: kDockedAskMaxWidth asks for the largest width
// (the answer is a width in pixels), kDockedWidthChanged reports a width the user chose.
#pragma once
#include <windows.h>
#include "RyMessageMap.h"
#include "RyWindowImpl.h"
#include "UserHandles.h"

constexpr UINT kDockedWidthChanged = static_cast<UINT>(-1500);
constexpr UINT kDockedAskMaxWidth = static_cast<UINT>(-1501);
constexpr int kDockedEdgeWidth = 6;   // the sizing edge at the pane's left
constexpr int kDockedMinWidth = 50;   // no drag makes a pane narrower
constexpr UINT kIdcDockedSizing = 143;  // the pane's sizing cursor

// The frame and sizing edge of a docked pane, as a part of the pane's window: its message
// map handles the edge's messages of the window it is given.
class VoDockedEdge {
public:
    VoDockedEdge();
    VoDockedEdge(const VoDockedEdge&) = delete;
    VoDockedEdge& operator=(const VoDockedEdge&) = delete;

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The client area without the sizing edge.
    static RECT GetInnerRect(HWND hwnd);
    // Paints the frame (the edge's highlight, face and shadow lines) into the client rectangle.
    static void PaintFrame(HDC dc, RECT rc);

private:
    bool OnSetCursor(HWND hwnd);
    bool OnLButtonDown(HWND hwnd, POINT point);

    CursorHandle cursor_;  // resource 143; null when it did not load
};

// T: the pane (a window class of its own, T::GetWindowClass); its map chains to this one.
template <class T>
class VoDockedWnd : public RyWindowImpl<T, RyWindowTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN>> {
public:
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return edge_.ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    }
    RECT GetInnerRect() const { return VoDockedEdge::GetInnerRect(this->Handle()); }

private:
    VoDockedEdge edge_;
};
