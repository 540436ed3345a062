// The "Oversettelser" page of the options sheet.
#include "MultitransOptionsPage.h"
#include <commctrl.h>
#include <utility>
#include "OptionsResource.h"
#include "RyMessageMap.h"

namespace {

constexpr COLORREF kImageMask = 0x00FF00FF;
constexpr int kImageWidth = 16;

}  // namespace

VoMultitransOptionsDlg::VoMultitransOptionsDlg(const VoBibleInfoList& bibles)
    : VoOptionsPage(IDD_MULTITRANS_OPTIONS, IDS_MULTITRANS_OPTIONS), bibles_(bibles) {
    for (int i = 0; i < bibles.GetCount(); ++i) order_.push_back(bibles.GetOrderAt(i));
}

bool VoMultitransOptionsDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT& result) {
    using Self = VoMultitransOptionsDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommandCode<Self>(IDC_MOVE_UP, BN_CLICKED, RyOnCommand<&Self::OnMove>),
        RyCommandCode<Self>(IDC_MOVE_DOWN, BN_CLICKED, RyOnCommand<&Self::OnMove>),
        RyCommandCode<Self>(IDC_HIDE_ACTIVE, BN_CLICKED, RyOnCommand<&Self::OnHideActive>),
        RyNotify<Self>(IDC_MULTITRANS_ORDER, LVN_ITEMCHANGED, RyOnNotify<&Self::OnItemChanged>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoMultitransOptionsDlg::OnInitDialog(HWND, LPARAM) {
    StartPage();
    const HWND list = Item(IDC_MULTITRANS_ORDER);
    if (!images_)
        images_.Reset(ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(IDB_BIBLE_ITEM), kImageWidth, 0, kImageMask,
                                           IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ry::Send(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.Get()));
    RECT client = {};
    ::GetClientRect(list, &client);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
    ry::Send(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    filling_ = true;
    for (int position = 0; position < static_cast<int>(order_.size()); ++position)
        InsertItem(position, position == selected_);
    filling_ = false;
    if (selected_ >= static_cast<int>(order_.size())) selected_ = -1;
    SetCheck(IDC_HIDE_ACTIVE, showActiveBibleInMultiWindow ? BST_UNCHECKED : BST_CHECKED);
    const HINSTANCE module = Module();
    ry::Send(Item(IDC_MOVE_UP), BM_SETIMAGE, IMAGE_ICON,
             reinterpret_cast<LPARAM>(::LoadImageA(module, MAKEINTRESOURCEA(IDI_MOVE_UP), IMAGE_ICON, 16, 16, LR_SHARED)));
    ry::Send(Item(IDC_MOVE_DOWN), BM_SETIMAGE, IMAGE_ICON,
             reinterpret_cast<LPARAM>(::LoadImageA(module, MAKEINTRESOURCEA(IDI_MOVE_DOWN), IMAGE_ICON, 16, 16, LR_SHARED)));
    UpdateButtons();
    return true;
}

void VoMultitransOptionsDlg::InsertItem(int position, bool select) {
    const int record = order_[static_cast<size_t>(position)];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = position;
    item.pszText = const_cast<char*>(bibles_.GetAt(record).GetName());
    item.iImage = 0;
    item.lParam = record;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = select ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    ry::Send(Item(IDC_MULTITRANS_ORDER), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void VoMultitransOptionsDlg::UpdateButtons() {
    const int last = static_cast<int>(order_.size()) - 1;
    Enable(IDC_MOVE_UP, selected_ >= 1);
    Enable(IDC_MOVE_DOWN, selected_ >= 0 && selected_ < last);
}

LRESULT VoMultitransOptionsDlg::OnItemChanged(NMHDR& hdr) {
    if (filling_) return 0;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(hdr);
    if (change.uChanged & LVIF_STATE) {
        selected_ = static_cast<int>(ry::Send(Item(IDC_MULTITRANS_ORDER), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                              LVNI_SELECTED));
        UpdateButtons();
    }
    return 0;
}

void VoMultitransOptionsDlg::OnMove(UINT id, UINT, HWND) {
    const int last = static_cast<int>(order_.size()) - 1;
    const int from = selected_;
    const int to = id == IDC_MOVE_UP ? from - 1 : from + 1;
    if (from < 0 || from > last || to < 0 || to > last) return;
    std::swap(order_[static_cast<size_t>(from)], order_[static_cast<size_t>(to)]);
    const HWND list = Item(IDC_MULTITRANS_ORDER);
    filling_ = true;
    ry::Send(list, LVM_DELETEITEM, static_cast<WPARAM>(from), 0);
    InsertItem(to, true);
    filling_ = false;
    selected_ = to;
    ry::Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(to), FALSE);
    UpdateButtons();
}

void VoMultitransOptionsDlg::OnHideActive(UINT, UINT, HWND) {
    showActiveBibleInMultiWindow = !IsChecked(IDC_HIDE_ACTIVE);
}
