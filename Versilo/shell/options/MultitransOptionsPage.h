// VoMultitransOptionsDlg: the "Oversettelser" page of the options sheet: the order of the
// translations in the multi-translation window, and whether that window leaves out the
// active pane's translation.
#pragma once
#include <vector>
#include "BibleInfoList.h"
#include "OptionsPage.h"
#include "UserHandles.h"

class VoMultitransOptionsDlg : public VoOptionsPage {
public:
    // The list is borrowed for its names; the order is copied.
    explicit VoMultitransOptionsDlg(const VoBibleInfoList& bibles);

    // The order being edited: storage indices of the list.
    const std::vector<int>& Order() const { return order_; }
    // The selected position, -1 for none.
    int GetSelected() const { return selected_; }
    bool showActiveBibleInMultiWindow = false;

    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnMove(UINT id, UINT, HWND);
    void OnHideActive(UINT, UINT, HWND);
    LRESULT OnItemChanged(NMHDR& hdr);

    // Inserts the item of order position `position`, selected and focused when asked.
    void InsertItem(int position, bool select);
    void UpdateButtons();

    const VoBibleInfoList& bibles_;
    std::vector<int> order_;
    int selected_ = -1;
    ImageListHandle images_;
    bool filling_ = false;  // the page is rebuilding its own items
};
