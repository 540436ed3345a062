// VoLexTitlesDlg: the rows of the commentary list and the buttons that change it.
#include "LexTitlesDlg.h"
#include <commctrl.h>
#include <cstring>
#include "BibleInfoList.h"
#include "CommentaryDialogIds.h"
#include "LexCreateDlg.h"
#include "LexiconList.h"
#include "MessageText.h"
#include "NotesFileDialog.h"
#include "RyMessageMap.h"
#include "ShellRoutines.h"

namespace {
constexpr COLORREF kTransparent = RGB(255, 0, 255);
}

VoLexTitlesDlg::VoLexTitlesDlg(VoLexiconList& list, int* current, VoBibleInfoList& bibles, int activeBible)
    : RyDialog(kIddLexTitles), list_(list), current_(current), bibles_(bibles), activeBible_(activeBible) {}

bool VoLexTitlesDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoLexTitlesDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommand<Self>(kIdcOpenTitle, RyOnCommand<&Self::OnOpen>),
        RyCommand<Self>(kIdcNewTitle, RyOnCommand<&Self::OnNew>),
        RyCommand<Self>(kIdcRemoveTitle, RyOnCommand<&Self::OnRemove>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnClose>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
        RyNotify<Self>(kIdcTitlesList, LVN_ITEMCHANGED, RyOnNotify<&Self::OnItemChanged>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

HWND VoLexTitlesDlg::List() const { return Item(kIdcTitlesList); }

bool VoLexTitlesDlg::OnInitDialog(HWND, LPARAM) {
    images_.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 3));
    if (images_) {
        BitmapHandle strip(static_cast<HBITMAP>(
            LoadImageA(GetResourceModule(), MAKEINTRESOURCEA(kIdbLexiconImages), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (strip) ImageList_AddMasked(images_.Get(), strip.Get(), kTransparent);
    }
    const HWND list = List();
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    ListView_SetImageList(list, images_.Get(), LVSIL_SMALL);
    RECT client = {};
    GetClientRect(list, &client);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = client.right;
    column.pszText = const_cast<char*>("Navn");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < list_.GetCount(); ++i) InsertRow(i);
    UpdateRemoveButton();
    return true;
}

bool VoLexTitlesDlg::InsertRow(int index) {
    const VoLexiconItem& item = list_.GetAt(index);
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    row.iItem = ListView_GetItemCount(List());
    row.pszText = const_cast<char*>(item.GetName());
    row.lParam = index;
    row.iImage = VoLexiconList::IsPackagedLexicon(item.GetPath()) ? 1 : 0;
    const int at = static_cast<int>(SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (at < 0) return false;
    ListView_SetCheckState(List(), at, item.Active() ? TRUE : FALSE);
    return true;
}

int VoLexTitlesDlg::SelectedRow() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

LPARAM VoLexTitlesDlg::RowIndex(int row) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : -1;
}

void VoLexTitlesDlg::UpdateRemoveButton() {
    const int row = SelectedRow();
    const int index = row >= 0 ? static_cast<int>(RowIndex(row)) : -1;
    const bool removable = list_.IsValidIndex(index) && index != *current_ && !list_.IsInDefaultFolder(list_.GetAt(index));
    EnableWindow(Item(kIdcRemoveTitle), removable ? TRUE : FALSE);
}

LRESULT VoLexTitlesDlg::OnItemChanged(NMHDR&) {
    UpdateRemoveButton();
    return 0;
}

void VoLexTitlesDlg::ShowMessage(UINT id, const char* argument) {
    char text[kTextCapacity];
    VoMessageBox(Handle(), FormatResString(text, id, argument), MB_OK | MB_ICONINFORMATION);
}

void VoLexTitlesDlg::AddCommentary(const char* path, UINT failureId) {
    if (!list_.IsNotListed(path)) {
        ShowMessage(kIdsAlreadyRegistered);
        return;
    }
    UINT reason = 0;
    const int index = list_.AddFile(path, &reason);
    if (index < 0) {
        if (reason == kIdsFileNameTooLong) ShowMessage(reason, GetFileNamePart(path));
        else ShowMessage(failureId);
        return;
    }
    if (!InsertRow(index)) {
        list_.RemoveAt(index);
        ShowMessage(failureId);
    }
}

void VoLexTitlesDlg::OnOpen(UINT, UINT, HWND) {
    NotesFileRequest request;
    request.owner = Handle();
    request.titleId = kIdsNotesFileTitle;
    request.list = &list_;
    char path[MAX_PATH];
    if (ChooseNotesFile(request, path)) AddCommentary(path, kIdsCannotAddCommentary);
}

void VoLexTitlesDlg::OnNew(UINT, UINT, HWND) {
    VoLexCreateDlg create(list_, bibles_, activeBible_);
    if (create.DoModal(Handle()) == IDOK) AddCommentary(create.GetPath(), kIdsCreatedNotAdded);
}

void VoLexTitlesDlg::OnRemove(UINT, UINT, HWND) {
    const int row = SelectedRow();
    const int index = row >= 0 ? static_cast<int>(RowIndex(row)) : -1;
    // The button's own conditions, also for a command that reaches a disabled button.
    if (!list_.IsValidIndex(index) || index == *current_ || list_.IsInDefaultFolder(list_.GetAt(index))) return;
    ListView_DeleteItem(List(), row);
    list_.RemoveAt(index);
    if (index < *current_) --*current_;
    for (int r = 0, n = ListView_GetItemCount(List()); r < n; ++r) {
        const LPARAM at = RowIndex(r);
        if (at > index) {
            LVITEMA item = {};
            item.mask = LVIF_PARAM;
            item.iItem = r;
            item.lParam = at - 1;
            SendMessageA(List(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    UpdateRemoveButton();
}

void VoLexTitlesDlg::OnClose(UINT, UINT, HWND) {
    bool failed = false;
    for (int r = 0, n = ListView_GetItemCount(List()); r < n; ++r) {
        const int index = static_cast<int>(RowIndex(r));
        if (!list_.IsValidIndex(index)) continue;
        VoLexiconItem& item = list_.GetAt(index);
        const bool on = ListView_GetCheckState(List(), r) != FALSE;
        UINT reason = 0;
        if (list_.SetActive(item, on, &reason)) continue;
        // Switching on failed (the file does not open), or switching off could not save the
        // changes (the commentary stays open): the box shows what the commentary is now.
        failed = true;
        ShowMessage(reason, item.GetName());
        ListView_SetCheckState(List(), r, item.IsOpen() ? TRUE : FALSE);
    }
    if (!failed) EndDialog(IDOK);
}

void VoLexTitlesDlg::OnCancel(UINT, UINT, HWND) { EndDialog(IDCANCEL); }
