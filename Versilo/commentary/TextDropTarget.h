// ATextDropTarget: a window that takes text dragged onto it. The drop target that turns OLE
// data into text calls it; x and y are screen coordinates, effects the drop effects offered.
// Each operation but the last answers whether the text is accepted.
#pragma once
#include <windows.h>

class ATextDropTarget {
public:
    virtual bool DragEnter(const char* text, DWORD effects, int x, int y) = 0;
    virtual bool DragOver(const char* text, DWORD effects, int x, int y) = 0;
    virtual bool Drop(const char* text, DWORD effects, int x, int y) = 0;
    virtual void DragLeave() = 0;

protected:
    ~ATextDropTarget() = default;
};
