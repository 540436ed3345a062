// The "Bibel" page of the options sheet.
#include "BibleOptionsPage.h"
#include <string>
#include <vector>
#include "FieldMessages.h"
#include "OptionsResource.h"
#include "RyMessageMap.h"

namespace {

constexpr UINT kIdsMarginField = 503;       // "Marger"
constexpr UINT kIdsColumnWidthField = 504;  // "Kolonnebredde"
constexpr int kMinMargin = 2, kMaxMargin = 20;
constexpr int kMinColumnWidth = 120, kMaxColumnWidth = 500;

// The display bit that each box shows, by the box's id.
DWORD BitOfBox(UINT id) {
    switch (id) {
    case IDC_SHOW_HEADINGS: return kBibleShowHeadings;
    case IDC_SHOW_REFERENCES: return kBibleShowReferences;
    default: return kBibleHideBrackets;
    }
}

void SetBit(VoBibleInfo& bible, DWORD bit, bool on) {
    if (bit == kBibleShowHeadings) bible.SetFlagBit0(on);
    else if (bit == kBibleShowReferences) bible.SetFlagBit1(on);
    else bible.SetFlagBit2(on);
}

}  // namespace

VoBibleOptionsDlg::VoBibleOptionsDlg(const VoBibleInfoList& bibles)
    : VoOptionsPage(IDD_BIBLE_OPTIONS, IDS_BIBLE_OPTIONS), bibles_(bibles) {}

bool VoBibleOptionsDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result) {
    using Self = VoBibleOptionsDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommandCode<Self>(IDC_MULTICOLUMN, BN_CLICKED, RyOnCommand<&Self::OnMultiColumn>),
        RyCommandCode<Self>(IDC_COPY_VERSE_NUMBER, BN_CLICKED, RyOnCommand<&Self::OnCopyVerseNumber>),
        RyCommandCode<Self>(IDC_BIBLES, LBN_SELCHANGE, RyOnCommand<&Self::OnSelectionChange>),
        RyCommandCode<Self>(IDC_SHOW_HEADINGS, BN_CLICKED, RyOnCommand<&Self::OnDisplayBit>),
        RyCommandCode<Self>(IDC_SHOW_REFERENCES, BN_CLICKED, RyOnCommand<&Self::OnDisplayBit>),
        RyCommandCode<Self>(IDC_HIDE_BRACKETS, BN_CLICKED, RyOnCommand<&Self::OnDisplayBit>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoBibleOptionsDlg::OnInitDialog(HWND, LPARAM) {
    StartPage();
    char number[16];
    wsprintfA(number, "%i", static_cast<int>(marginWidth));
    SetNumberField(IDC_MARGIN, IDC_MARGIN_SPIN, kMinMargin, kMaxMargin, static_cast<int>(marginWidth), number);
    wsprintfA(number, "%i", static_cast<int>(columnWidth));
    SetNumberField(IDC_COLUMN_WIDTH, IDC_COLUMN_WIDTH_SPIN, kMinColumnWidth, kMaxColumnWidth,
                   static_cast<int>(columnWidth), number);
    SetCheck(IDC_JUSTIFIED, justified ? BST_CHECKED : BST_UNCHECKED);
    SetCheck(IDC_MULTICOLUMN, multiColumn ? BST_CHECKED : BST_UNCHECKED);
    SetCheck(IDC_COPY_VERSE_NUMBER, copyVerseNum ? BST_CHECKED : BST_UNCHECKED);
    SetCheck(verseNumBeforeText ? IDC_NUMBER_BEFORE : IDC_NUMBER_AFTER, BST_CHECKED);
    EnableColumnWidth();
    EnableVerseNumberPlace();

    const HWND list = Item(IDC_BIBLES);
    for (int i = 0; i < bibles_.GetCount(); ++i) {
        const VoBibleInfo& bible = bibles_.GetAt(i);
        const std::string line = std::string(bible.GetName()) + " (" + bible.GetShortName() + ")";
        ry::Send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (preselect >= 0 && preselect < bibles_.GetCount()) ry::Send(list, LB_SETSEL, TRUE, preselect);
    else ry::Send(list, LB_SETSEL, TRUE, -1);
    RefreshBoxes();
    return true;
}

void VoBibleOptionsDlg::EnableColumnWidth() {
    const bool on = IsChecked(IDC_MULTICOLUMN);
    for (int id : {IDC_COLUMN_WIDTH_LABEL, IDC_COLUMN_WIDTH, IDC_COLUMN_WIDTH_SPIN}) Enable(id, on);
}

void VoBibleOptionsDlg::EnableVerseNumberPlace() {
    const bool on = IsChecked(IDC_COPY_VERSE_NUMBER);
    for (int id : {IDC_NUMBER_BEFORE, IDC_NUMBER_AFTER}) Enable(id, on);
}

void VoBibleOptionsDlg::OnMultiColumn(UINT, UINT, HWND) {
    EnableColumnWidth();
}

void VoBibleOptionsDlg::OnCopyVerseNumber(UINT, UINT, HWND) {
    EnableVerseNumberPlace();
}

void VoBibleOptionsDlg::OnSelectionChange(UINT, UINT, HWND) {
    RefreshBoxes();
}

int VoBibleOptionsDlg::Selected(int* indices, int capacity) const {
    const int found = static_cast<int>(ry::Send(Item(IDC_BIBLES), LB_GETSELITEMS, capacity,
                                                reinterpret_cast<LPARAM>(indices)));
    int count = 0;
    for (int i = 0; i < found; ++i)  // only lines that name a record of the copy
        if (indices[i] >= 0 && indices[i] < bibles_.GetCount()) indices[count++] = indices[i];
    return count;
}

void VoBibleOptionsDlg::RefreshBoxes() {
    std::vector<int> selected(static_cast<size_t>(bibles_.GetCount()) + 1);
    const int count = Selected(selected.data(), static_cast<int>(selected.size()));
    const UINT boxes[] = {IDC_SHOW_HEADINGS, IDC_SHOW_REFERENCES, IDC_HIDE_BRACKETS};
    if (count == 0) {
        for (UINT id : boxes) {
            SetCheck(static_cast<int>(id), BST_INDETERMINATE);
            Enable(static_cast<int>(id), false);
        }
        return;
    }
    const VoBibleInfo& first = bibles_.GetAt(selected[0]);
    for (UINT id : boxes) {
        const DWORD bit = BitOfBox(id);
        const bool on = (first.GetSettings() & bit) != 0;
        UINT state = on ? BST_CHECKED : BST_UNCHECKED;
        for (int i = 1; i < count; ++i)
            if (((bibles_.GetAt(selected[static_cast<size_t>(i)]).GetSettings() & bit) != 0) != on)
                state = BST_INDETERMINATE;
        SetCheck(static_cast<int>(id), state);
    }
    Enable(IDC_SHOW_HEADINGS, first.HasHeaders());
    Enable(IDC_SHOW_REFERENCES, true);
    Enable(IDC_HIDE_BRACKETS, true);
}

void VoBibleOptionsDlg::OnDisplayBit(UINT id, UINT, HWND) {
    // Unchecked or indeterminate turn on; checked turns off.
    const bool on = ::IsDlgButtonChecked(hwnd_, static_cast<int>(id)) != BST_CHECKED;
    SetCheck(static_cast<int>(id), on ? BST_CHECKED : BST_UNCHECKED);
    std::vector<int> selected(static_cast<size_t>(bibles_.GetCount()) + 1);
    const int count = Selected(selected.data(), static_cast<int>(selected.size()));
    for (int i = 0; i < count; ++i) SetBit(bibles_.GetAt(selected[static_cast<size_t>(i)]), BitOfBox(id), on);
}

bool VoBibleOptionsDlg::Apply() {
    const bool newJustified = IsChecked(IDC_JUSTIFIED);
    UINT margin = 0, width = columnWidth;
    if (!GetFieldUnsignedInRange(Item(IDC_MARGIN), kIdsMarginField, kMinMargin, kMaxMargin, &margin)) return false;
    const bool newMultiColumn = IsChecked(IDC_MULTICOLUMN);
    if (newMultiColumn &&
        !GetFieldUnsignedInRange(Item(IDC_COLUMN_WIDTH), kIdsColumnWidthField, kMinColumnWidth, kMaxColumnWidth,
                                 &width))
        return false;
    // Nothing is taken until every field is right.
    justified = newJustified;
    marginWidth = margin;
    multiColumn = newMultiColumn;
    columnWidth = width;
    copyVerseNum = IsChecked(IDC_COPY_VERSE_NUMBER);
    verseNumBeforeText = IsChecked(IDC_NUMBER_BEFORE);
    return true;
}
