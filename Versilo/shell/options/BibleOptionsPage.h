// VoBibleOptionsDlg: the "Bibel" page of the options sheet: layout of the text (justified,
// margins, columns), verse numbers in copies, and the display bits of the installed
// translations, edited on a private copy of the bible list.
#pragma once
#include "BibleInfoList.h"
#include "OptionsPage.h"

class VoBibleOptionsDlg : public VoOptionsPage {
public:
    explicit VoBibleOptionsDlg(const VoBibleInfoList& bibles);

    // The copy whose Settings the page edits.
    VoBibleInfoList& Bibles() { return bibles_; }
    // The translation selected when the page opens; -1 (or an index outside the list): all.
    int preselect = -1;
    DWORD marginWidth = 12;
    DWORD columnWidth = 200;
    bool justified = true;
    bool multiColumn = true;
    bool copyVerseNum = true;
    bool verseNumBeforeText = false;

    bool Apply() override;
    bool ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnInitDialog(HWND, LPARAM);
    void OnMultiColumn(UINT, UINT, HWND);
    void OnCopyVerseNumber(UINT, UINT, HWND);
    void OnSelectionChange(UINT, UINT, HWND);
    void OnDisplayBit(UINT id, UINT, HWND);

    void EnableColumnWidth();
    void EnableVerseNumberPlace();
    // The three boxes from the selected translations: a bit shared by all, or indeterminate.
    void RefreshBoxes();
    // The storage indices of the selected lines.
    int Selected(int* indices, int capacity) const;

    VoBibleInfoList bibles_;
};
