// VoLexTitlesDlg: the list of known commentaries, each with a check box that switches it on
// or off, and the buttons that add an existing notes file, create a new one and remove one
// from the list. Adding and removing change the commentary list at once; the check boxes
// take effect on "Lukk" (IDOK), which leaves the dialog open while any commentary could not
// be switched as asked.
#pragma once
#include "RyDialog.h"
#include "UserHandles.h"

class VoBibleInfoList;
class VoLexiconList;

class VoLexTitlesDlg : public RyDialog {
public:
    // Everything is borrowed; current is the pane's current index, kept pointing at the same
    // commentary when one before it is removed.
    VoLexTitlesDlg(VoLexiconList& list, int* current, VoBibleInfoList& bibles, int activeBible);
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND focus, LPARAM);
    void OnOpen(UINT, UINT, HWND);
    void OnNew(UINT, UINT, HWND);
    void OnRemove(UINT, UINT, HWND);
    void OnClose(UINT, UINT, HWND);
    void OnCancel(UINT, UINT, HWND);
    LRESULT OnItemChanged(NMHDR&);

    HWND List() const;
    // Appends the row of commentary index; false when the list view refused it.
    bool InsertRow(int index);
    // Adds a notes file to the list and its row; failureId is told when that fails.
    void AddCommentary(const char* path, UINT failureId);
    int SelectedRow() const;
    LPARAM RowIndex(int row) const;
    void UpdateRemoveButton();
    void ShowMessage(UINT id, const char* argument = nullptr);

    VoLexiconList& list_;
    int* current_;
    VoBibleInfoList& bibles_;
    int activeBible_;
    ImageListHandle images_;
};
