// VoLexEditWnd: the edit box in which the reader writes an article (a subclassed system
// edit control). A double-click inside a link of the text follows it through the pane
// (kFollowLinkMessage) instead of selecting a word; dragged references and text are put in
// at the character under the mouse. A box that is disabled or read-only takes no drop.
#pragma once
#include <windows.h>
#include "RySubclassedWindow.h"
#include "TextDropTarget.h"

class VoLexEditWnd : public RySubclassedWindow, public ATextDropTarget {
public:
    // Sent to the parent: wParam 1 for a bible reference, 0 for an article title; lParam
    // the link's text (valid during the call).
    static constexpr UINT kFollowLinkMessage = 2024;

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    bool DragEnter(const char* text, DWORD effects, int x, int y) override;
    bool DragOver(const char* text, DWORD effects, int x, int y) override;
    bool Drop(const char* text, DWORD effects, int x, int y) override;
    void DragLeave() override;

private:
    LRESULT OnDoubleClick(WPARAM, LPARAM);
    void ResetLastPoint() { last_ = {-10000, -10000}; }

    DWORD savedStart_ = 0;
    DWORD savedEnd_ = 0;
    POINT last_ = {-10000, -10000};
    bool accept_ = false;
};
