// RyComboEdit: the edit field of RyVirtualCombo, a subclassed system edit control. It
// passes the keys that steer the list (Up, Down, Page Up, Page Down, Tab, F4, Enter and
// Escape) to the combo, selects its whole text when it gets the focus, and takes short
// texts dragged onto it.
#pragma once
#include <windows.h>
#include "RyMessageMap.h"
#include "RySubclassedWindow.h"
#include "TextDropTarget.h"

class RyVirtualCombo;

class RyComboEdit : public RySubclassedWindow, public ATextDropTarget {
public:
    static constexpr UINT kControlId = 1000;
    // Dragged texts of this many characters or more are refused.
    static constexpr size_t kMaxDropLength = 40;

    explicit RyComboEdit(RyVirtualCombo& owner) : owner_(owner) {}
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    bool DragEnter(const char* text, DWORD effects, int x, int y) override;
    bool DragOver(const char* text, DWORD effects, int x, int y) override;
    bool Drop(const char* text, DWORD effects, int x, int y) override;
    void DragLeave() override;

private:
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam, bool& handled);

    RyVirtualCombo& owner_;
    bool accept_ = false;
    DWORD savedStart_ = 0;
    DWORD savedEnd_ = 0;
    HWND previousFocus_ = nullptr;
};
