// Small modal mouse loops that several windows share: dragging a splitter.
#pragma once
#include <windows.h>

// Drags a vertical splitter on window (whose client coordinates every value is in) while the
// left button is held: pointerX is the pointer's x at the press, splitterX the splitter's
// left edge, minX and maxX the edge's allowed range; the feedback bar covers top to
// top + height. Answers the new edge: where the button was released, or splitterX when a
// key was pressed, the capture was lost or the quit message came (which is posted again
// for the outer loop). With minX above maxX nothing is dragged.
int TrackSplitter(HWND window, int pointerX, int splitterX, int minX, int maxX, int top, int height);
