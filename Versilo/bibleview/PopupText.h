// VoPopupTextWnd: the popup that shows a heading and a text near a point (the verses of a
// cross-reference, a verse note), fading in shortly after it was asked for. The window owns
// its object: it deletes itself when the window is destroyed.
#pragma once
#include <windows.h>
#include <memory>
#include "Handles.h"
#include "RyWindowImpl.h"

class VoPopupTextWnd : public RyWindowImpl<VoPopupTextWnd, RyWindowTraits<WS_POPUP | WS_BORDER>> {
public:
    static constexpr UINT_PTR kRevealTimer = 100;
    static constexpr UINT kRevealDelay = 150;  // milliseconds
    static constexpr int kTextMargin = 5;

    // baseFont: the owner's font (borrowed; null for the default GUI font).
    VoPopupTextWnd(HFONT baseFont, const char* heading, const char* body);

    static void GetWindowClass(ry::WindowClass& wc);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage(HWND) override { delete this; }

    // The window size for the texts, border included: the width grows in steps of 20 from
    // 100 until the height is at most three quarters of it.
    SIZE GetSize(HDC dc);
    // The height of the texts laid out in width (which grows to the widest line).
    int Measure(HDC dc, int* width);
    void Paint(HDC dc);

private:
    HFONT HeadingFont() const { return headingFont_ ? headingFont_.Get() : baseFont_; }
    int BandHeight(HDC dc);
    LRESULT OnCreate(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM);
    void Reveal();

    FontHandle headingFont_;
    HFONT baseFont_;
    char heading_[256] = {};
    std::unique_ptr<char[]> body_;
};

// Makes, places and starts showing a popup over owner: anchor (the link's rectangle) and
// point (the pointer) are in owner's client coordinates. Returns the popup's window, which
// the caller destroys when the pointer leaves the link, or null when it could not be made.
HWND ShowPopupText(HWND owner, const RECT* anchor, POINT point, const char* heading, const char* body);

// Where a popup of size goes on a desktop: below the anchor when it fits, else above it,
// else on the side with more room (a tie goes above), its height cut to that room; from
// the point's x, moved left to end at the desktop's right edge but not past its left edge.
// All in screen coordinates.
RECT PlacePopup(const RECT& desktop, const RECT& anchor, POINT point, SIZE size);
