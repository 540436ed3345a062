// The viewer's options dialog.
#include "OptionsDlg.h"
#include "DataDirectories.h"
#include "MessageText.h"
#include "ShellRoutines.h"
#include "ViewerApp.h"
#include "ViewerIds.h"
#include "ViewerPaths.h"
#include "ViewerPrompts.h"

const VoIntervalRow kIntervalTable[19] = {
    {0, 9},     {1, 10},    {5, 11},    {10, 12},   {15, 13},   {20, 14},   {30, 16},
    {40, 17},   {50, 18},   {60, 19},   {90, 20},   {120, 21},  {180, 22},  {240, 23},
    {300, 24},  {360, 25},  {480, 26},  {720, 27},  {1440, 28},
};

namespace {

constexpr int kMaxListedFiles = 256;
constexpr int kBrowseBufferSize = 256;

bool InTable(int minutes) {
    for (const VoIntervalRow& row : kIntervalTable)
        if (row.minutes == minutes) return true;
    return false;
}

}  // namespace

VoViewerOptionsDlg::VoViewerOptionsDlg(VoViewerApp& app, AViewerPrompts& prompts)
    : RyDialog(IDD_OPTIONS), app_(app), prompts_(prompts), work_(app.GetSettings()) {}

bool VoViewerOptionsDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT& result) {
    using Self = VoViewerOptionsDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        RyCommandCode<Self>(IDC_AUTO_START, BN_CLICKED, RyOnCommand<&Self::OnAutoStart>),
        RyCommandCode<Self>(IDC_REF_LIST, CBN_SELENDOK, RyOnCommand<&Self::OnListChosen>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOk>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

int VoViewerOptionsDlg::Selection(int id) const {
    return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
}

std::string VoViewerOptionsDlg::EntryText(int id, int index) const {
    const LRESULT length = SendMessageA(Item(id), CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Item(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

bool VoViewerOptionsDlg::OnInitDialog(HWND, LPARAM) {
    FillBibles();
    FillLists();
    FillIntervals(IDC_FIRST_INTERVAL, 0, work_.firstInterval);
    FillIntervals(IDC_INTERVAL, kFirstIntervalRowBetweenVerses, work_.interval);
    CheckDlgButton(hwnd_, IDC_HIDDEN_BUTTONS, work_.hiddenButtons ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_AUTO_START, work_.autoStart ? BST_CHECKED : BST_UNCHECKED);
    if (!work_.autoStart) {
        firstSelection_ = Selection(IDC_FIRST_INTERVAL);
        SendMessageA(Item(IDC_FIRST_INTERVAL), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        EnableWindow(Item(IDC_FIRST_INTERVAL), FALSE);
    }
    return true;
}

void VoViewerOptionsDlg::FillBibles() {
    const HWND box = Item(IDC_BIBLE);
    char names[kMaxListedFiles][kListedNameSize];
    const int count = ScanDirectory(app_.GetBiblesDirectory(), "vrsb", names, kMaxListedFiles);
    for (int i = 0; i < count; ++i) {
        char stem[kListedNameSize];
        CopyFileStem(stem, sizeof(stem), names[i]);
        const LRESULT index = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(stem));
        if (index < 0) continue;
        SendMessageA(box, CB_SETITEMDATA, index, static_cast<LPARAM>(bibleIds_.size()));
        if (lstrcmpiA(stem, work_.bible) == 0) SendMessageA(box, CB_SETCURSEL, index, 0);
        bibleIds_.push_back(stem);
    }
}

void VoViewerOptionsDlg::FillLists() {
    const HWND box = Item(IDC_REF_LIST);
    char names[kMaxListedFiles][kListedNameSize];
    const int count = ScanDirectory(app_.GetBiblesDirectory(), "vrsm", names, kMaxListedFiles);
    for (int i = 0; i < count; ++i) {
        char stem[kListedNameSize];
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CopyFileStem(stem, sizeof(stem), names[i])));
    }
    char browse[kTextCapacity];
    SendMessageA(box, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(LoadResString(browse, kIdsBrowseList)));
    if (lstrcmpA(GetFileNamePart(work_.refList), work_.refList) != 0 && IsExistingFile(work_.refList)) {
        lstrcpynA(browsed_, work_.refList, sizeof(browsed_));
        InsertBrowsed();
        return;
    }
    const int entries = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 1; i < entries; ++i) {
        if (lstrcmpiA(EntryText(IDC_REF_LIST, i).c_str(), work_.refList) == 0) {
            SendMessageA(box, CB_SETCURSEL, i, 0);
            listSelection_ = i;
            break;
        }
    }
}

void VoViewerOptionsDlg::InsertBrowsed() {
    char name[MAX_PATH], shown[MAX_PATH + 4];
    wsprintfA(shown, "...\\%s", CopyListName(name, sizeof(name), browsed_));
    SendMessageA(Item(IDC_REF_LIST), CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(shown));
    SendMessageA(Item(IDC_REF_LIST), CB_SETCURSEL, 1, 0);
    listSelection_ = 1;
}

void VoViewerOptionsDlg::FillIntervals(int id, int first, int value) {
    const HWND box = Item(id);
    for (int row = first; row < static_cast<int>(std::size(kIntervalTable)); ++row) {
        char text[kTextCapacity];
        const LRESULT index =
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResString(text, kIntervalTable[row].textId)));
        SendMessageA(box, CB_SETITEMDATA, index, kIntervalTable[row].minutes);
    }
    // A value the table lacks gets its own entry, first ("3 minutter"); a table row the box
    // does not offer (0 or 1 minutes between verses) and a negative value show the box's
    // first row instead, so that confirming keeps a valid interval.
    if (!InTable(value) && value >= 0) {
        char format[kTextCapacity], text[kTextCapacity + 16];
        wsprintfA(text, LoadResString(format, kIdsMinutes), value);
        SendMessageA(box, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(box, CB_SETITEMDATA, 0, value);
    }
    const int entries = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    int selection = -1;
    for (int i = 0; i < entries && selection < 0; ++i)
        if (static_cast<int>(SendMessageA(box, CB_GETITEMDATA, i, 0)) == value) selection = i;
    SendMessageA(box, CB_SETCURSEL, selection < 0 ? 0 : selection, 0);
}

void VoViewerOptionsDlg::OnAutoStart(UINT, UINT, HWND) {
    const HWND box = Item(IDC_FIRST_INTERVAL);
    if (IsDlgButtonChecked(hwnd_, IDC_AUTO_START) == BST_CHECKED) {
        SendMessageA(box, CB_SETCURSEL, firstSelection_, 0);
        EnableWindow(box, TRUE);
    } else {
        firstSelection_ = Selection(IDC_FIRST_INTERVAL);
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        EnableWindow(box, FALSE);
    }
}

void VoViewerOptionsDlg::OnListChosen(UINT, UINT, HWND) {
    const int selection = Selection(IDC_REF_LIST);
    if (selection != 0) {
        listSelection_ = selection;
        return;
    }
    char path[kBrowseBufferSize] = {};
    if (!prompts_.ChooseListFile(hwnd_, path, sizeof(path)) || !path[0]) {
        SendMessageA(Item(IDC_REF_LIST), CB_SETCURSEL, listSelection_, 0);
        return;
    }
    if (browsed_[0]) SendMessageA(Item(IDC_REF_LIST), CB_DELETESTRING, 1, 0);
    lstrcpynA(browsed_, path, sizeof(browsed_));
    InsertBrowsed();
}

int VoViewerOptionsDlg::SelectedMinutes(int id, int selection, int fallback) const {
    if (selection < 0) return fallback;
    const LRESULT minutes = SendMessageA(Item(id), CB_GETITEMDATA, selection, 0);
    return minutes == CB_ERR ? fallback : static_cast<int>(minutes);
}

void VoViewerOptionsDlg::Tell(UINT id, const char* arg1, const char* arg2) {
    ShowViewerMessage(prompts_, hwnd_, MB_OK | MB_ICONINFORMATION, id, arg1, arg2);
}

void VoViewerOptionsDlg::OnOk(UINT, UINT, HWND) {
    const int bibleEntry = Selection(IDC_BIBLE);
    if (bibleEntry < 0) return Tell(kIdsNoBibleChosen);
    const std::string bibleText = EntryText(IDC_BIBLE, bibleEntry);
    const std::string& bibleId = bibleIds_[static_cast<size_t>(SendMessageA(Item(IDC_BIBLE), CB_GETITEMDATA, bibleEntry, 0))];
    ComPtr<INewBible> newBible;
    if (lstrcmpiA(bibleId.c_str(), work_.bible) != 0) {
        newBible = app_.OpenBible(bibleId.c_str());
        if (!newBible) return Tell(kIdsBibleOpenFailed, bibleText.c_str());
    }

    const int listEntry = Selection(IDC_REF_LIST);
    if (listEntry < 1) return Tell(kIdsNoListChosen);
    const std::string listText = listEntry == 1 && browsed_[0] ? std::string(browsed_) : EntryText(IDC_REF_LIST, listEntry);
    ComPtr<IRefList> newList;
    if (lstrcmpiA(listText.c_str(), work_.refList) != 0) {
        char path[MAX_PATH];
        if (!app_.GetListPath(listText.c_str(), path) || FAILED(OpenRefListFile(path, newList.Put())))
            return Tell(kIdsListOpenFailed, listText.c_str());
    }

    if (newBible || newList) {
        ComPtr<IBibleStat> listStat, bibleStat;
        if (newList) newList->GetBibleStat(listStat.Put());
        else listStat = ComPtr<IBibleStat>(app_.GetRefList().GetStat());
        if (newBible) newBible->GetBibleStat(bibleStat.Put());
        else if (app_.GetLangStat()) app_.GetLangStat()->GetBibleStat(bibleStat.Put());
        if (!listStat || !bibleStat || CanConvert(listStat.Get(), bibleStat.Get()) != S_OK)
            return Tell(kIdsIncompatible, bibleText.c_str(), listText.c_str());
    }

    VoViewerSettings changed = work_;
    lstrcpynA(changed.bible, bibleId.c_str(), sizeof(changed.bible));
    lstrcpynA(changed.refList, listText.c_str(), sizeof(changed.refList));
    changed.interval = SelectedMinutes(IDC_INTERVAL, Selection(IDC_INTERVAL), work_.interval);
    changed.hiddenButtons = IsDlgButtonChecked(hwnd_, IDC_HIDDEN_BUTTONS) == BST_CHECKED;
    changed.autoStart = IsDlgButtonChecked(hwnd_, IDC_AUTO_START) == BST_CHECKED;
    changed.firstInterval = SelectedMinutes(
        IDC_FIRST_INTERVAL, changed.autoStart ? Selection(IDC_FIRST_INTERVAL) : firstSelection_, work_.firstInterval);
    const bool change = newBible || newList || !changed.SameChoices(work_);
    if (change) app_.ApplySettings(changed, newBible.Get(), newList.Get());
    // What the viewer holds may differ from what is stored without a change here: a list
    // handed over by a second start is taken in memory and saved when the options are
    // next confirmed.
    if (change || app_.GetSettings().DiffersFromStored()) app_.GetSettings().Save(false);
    EndDialog(change ? 1 : 2);
}

void VoViewerOptionsDlg::OnCancel(UINT, UINT, HWND) {
    EndDialog(2);
}
