// Small modal mouse loops of the bible view: dragging a splitter between panes and pressing
// a caption's close button. Both capture the mouse, run a nested message loop on the GUI
// thread (dispatching what they don't handle themselves) and end on the button's release,
// a lost capture or a quit message, which they post again for the outer loop.
#pragma once
#include <windows.h>

// Draws a button in one of its states into a window's DC.
class AButtonPainter {
public:
    virtual void Paint(HWND window, const RECT& rect, bool pressed, bool hot) = 0;

protected:
    ~AButtonPainter() = default;
};

// Drags a vertical splitter of window: pressX is the pointer's x at the press, splitterX
// the splitter's left edge, [minX, maxX] where it may go; the feedback bar covers
// [top, top + height). Returns the splitter's new x, or splitterX when a key was pressed,
// the capture was lost or the program is quitting.
int TrackSplitter(HWND window, int pressX, int splitterX, int minX, int maxX, int top, int height);

// Tracks a press on a button in rect of window, painting it pressed while the pointer is
// inside; true when the button was released inside.
bool TrackButton(HWND window, const RECT& rect, AButtonPainter* painter);
