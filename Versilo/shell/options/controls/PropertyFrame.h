// RyPropertyFrame: a modal dialog with a tab control whose pages (RyPropertyPage) are
// child dialogs made one at a time in the rectangle of a hidden placeholder. A page may
// refuse to be left (its Apply fails), Ctrl+Tab and Ctrl+Shift+Tab switch pages from inside
// any page, and frames opened from inside a frame take those keys while they are open.
//
// The frame's template holds the tab control IDC_FRAME_TABS and the hidden placeholder
// IDC_FRAME_PAGE_AREA; the accelerator table IDA_PROPERTY_FRAME maps the keys.
#pragma once
#include <vector>
#include "RyDialog.h"

class RyPropertyFrame : public RyDialog {
public:
    explicit RyPropertyFrame(UINT templateId, HINSTANCE module = nullptr);
    ~RyPropertyFrame() override;

    // The pages in tab order (borrowed: the derived sheet owns them). False, and no pages,
    // when the list cannot be stored or names a null page.
    bool SetPages(RyPropertyPage* const* pages, int count);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    // The page shown now, -1 before the first is shown.
    int GetCurrentPage() const { return current_; }

    // IDOK or IDCANCEL; -1 when the frame has no pages or could not be made.
    INT_PTR DoModal(HWND owner);

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnDestroy();
    LRESULT OnSelChanging(NMHDR&);
    LRESULT OnSelChange(NMHDR&);
    void OnStep(UINT id, UINT, HWND);
    void OnOK(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);

    // Applies the current page; true when there is none or it may be left.
    bool ApplyCurrent();
    // Makes page index the shown one; false (the old page still shown) when its window
    // cannot be made.
    bool ShowPage(int index);
    void Push();
    void Pop();

    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

    std::vector<RyPropertyPage*> pages_;
    int current_ = -1;
    HACCEL accelerators_ = nullptr;  // loaded from the module: freed with it
    RyPropertyFrame* previous_ = nullptr;
    HHOOK hook_ = nullptr;
    bool pushed_ = false;

    // The innermost open frame of the thread that shows frames.
    static RyPropertyFrame* s_innermost;
};
