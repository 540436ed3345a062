// VoSearchDlg: the controls of dialog 144 and what each of them starts.
#include "SearchDialog.h"
#include <algorithm>
#include "MessageText.h"
#include "RyMessageMap.h"

namespace {

// Controls of dialog 144.
constexpr int kWordList = 1028;
constexpr int kCopyButton = 1030;
constexpr int kQueryCombo = 1032;
constexpr int kFromCombo = 1033;
constexpr int kToCombo = 1034;
constexpr int kWholeBible = 1035;
constexpr int kOldTestament = 1036;
constexpr int kNewTestament = 1037;
constexpr int kHitText = 1038;
constexpr int kHitCount = 1040;
constexpr int kWordLabel = 1041;
constexpr int kHitList = 1042;
constexpr int kHitLabel = 1043;
constexpr int kRangeGroup = 1044;

constexpr UINT kIdsOk = 131;      // "&Ok"
constexpr UINT kIdsSearch = 132;  // "&Søk"
constexpr UINT kIdsLookUp = 133;  // "&Slå opp"

constexpr UINT_PTR kRestartTimer = 100;
constexpr UINT kRestartDelay = 300;

// The book range of the last search, kept from one opening of the dialog to the next
// while the translations have the same number of books.
struct RememberedRange {
    int bookCount = -1;
    int first = 0;
    int last = 0;
};
RememberedRange& Remembered() {
    static RememberedRange range;
    return range;
}

// A control's text of any length.
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, WPARAM index) {
    const LRESULT length = ::SendMessageA(control, lengthMessage, index, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = ::SendMessageA(control, textMessage, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>((std::min)(got, length)) : 0);
    return text;
}

}  // namespace

VoSearchDlg::VoSearchDlg(IBible* bible, HFONT font) : RyDialog(kSearchDialogId), search_(bible), font_(font) {
    if (!search_.GetLanguageName(&language_)) language_.clear();
}

VoSearchDlg::~VoSearchDlg() = default;

int VoSearchDlg::GetChosenHit() const { return chosenHit_ >= 0 && chosenHit_ < GetHitCount() ? chosenHit_ : -1; }

bool VoSearchDlg::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoSearchDlg;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        {WM_TIMER, RyOnTimer<&Self::OnTimer>},
        {WM_CTLCOLORSTATIC, RyOnCtlColor<&Self::OnCtlColorStatic>},
        RyCommandCode<Self>(kQueryCombo, CBN_EDITCHANGE, RyOnCommand<&Self::OnQueryEdited>),
        RyCommandCode<Self>(kQueryCombo, CBN_SELENDOK, RyOnCommand<&Self::OnQueryChosen>),
        RyCommandCode<Self>(kQueryCombo, CBN_KILLFOCUS, RyOnCommand<&Self::OnQueryLeft>),
        RyCommandCode<Self>(kWordList, LBN_SELCHANGE, RyOnCommand<&Self::OnWordsSelected>),
        RyCommandCode<Self>(kFromCombo, CBN_SELCHANGE, RyOnCommand<&Self::OnBookChosen>),
        RyCommandCode<Self>(kToCombo, CBN_SELCHANGE, RyOnCommand<&Self::OnBookChosen>),
        RyCommandRange<Self>(kWholeBible, kNewTestament, RyOnCommand<&Self::OnRangeButton>),
        RyCommand<Self>(kCopyButton, RyOnCommand<&Self::OnCopyText>),
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOK>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
        RyNotify<Self>(kHitList, LVN_GETDISPINFOA, RyOnNotify<&Self::OnGetDispInfo>),
        RyNotify<Self>(kHitList, LVN_ITEMCHANGED, RyOnNotify<&Self::OnItemChanged>),
        RyNotify<Self>(kHitList, LVN_ODSTATECHANGED, RyOnNotify<&Self::OnStateChanged>),
        RyNotify<Self>(kHitList, NM_DBLCLK, RyOnNotify<&Self::OnDoubleClick>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoSearchDlg::OnInitDialog(HWND, LPARAM) {
    SetTitle();
    HWND hits = Item(kHitList);
    ::SendMessageA(hits, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    HWND combo = Item(kQueryCombo);
    ::SendMessageA(combo, CB_LIMITTEXT, kSearchQuerySize - 1, 0);

    int row = 0;
    for (const std::string& query : ReadSearchHistory(language_))
        if (::SendMessageA(combo, CB_INSERTSTRING, row, reinterpret_cast<LPARAM>(query.c_str())) >= 0) ++row;
    if (row > 0) {
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
        const std::string first = ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0);
        lstrcpynA(query_, first.c_str(), sizeof query_);
    }

    RECT before = {}, after = {};
    ::GetWindowRect(combo, &before);
    if (font_) ::SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    ::GetWindowRect(combo, &after);
    const int grown = (after.bottom - after.top) - (before.bottom - before.top);
    if (grown > 0) MoveBelowQuery(grown);

    FillBookCombos();
    const bool testaments = search_.FirstNewTestamentBook() >= 0;
    ::EnableWindow(Item(kOldTestament), testaments);
    ::EnableWindow(Item(kNewTestament), testaments);
    CheckRangeButton();

    RECT client = {};
    ::GetClientRect(hits, &client);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = (std::max)(0, static_cast<int>(client.right) - ::GetSystemMetrics(SM_CXVSCROLL));
    column.pszText = const_cast<char*>("");
    ::SendMessageA(hits, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    if (font_) {
        ::SendMessageA(Item(kWordList), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        ::SendMessageA(Item(kHitText), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    ::EnableWindow(Item(kCopyButton), FALSE);

    if (query_[0]) {
        FillWordList();
        Search();
    }
    return true;
}

void VoSearchDlg::SetTitle() {
    // The template's "%s" takes the long name; both are bounded, so the title is too.
    char pattern[64] = "";
    ::GetWindowTextA(Handle(), pattern, sizeof pattern);
    char name[kBibleLongNameSize] = "";
    IBible* bible = search_.Objects().GetBible();
    if (!bible || FAILED(bible->GetBibleName(TRUE, name, sizeof name))) name[0] = '\0';
    name[sizeof name - 1] = '\0';
    std::string title = pattern;
    const size_t at = title.find("%s");
    if (at != std::string::npos) title.replace(at, 2, name);
    ::SetWindowTextA(Handle(), title.c_str());
}

void VoSearchDlg::MoveBelowQuery(int dy) {
    struct Shift {
        int id;
        bool shorten;
    };
    static const Shift shifts[] = {{kWordLabel, false},    {kHitLabel, false},    {kHitCount, false},
                                   {kWholeBible, false},   {kOldTestament, false}, {kNewTestament, false},
                                   {kWordList, true},      {kHitList, true},      {kRangeGroup, true}};
    for (const Shift& s : shifts) {
        HWND control = Item(s.id);
        RECT rc;
        if (!control || !::GetWindowRect(control, &rc)) continue;
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rc), 2);
        const int height = rc.bottom - rc.top - (s.shorten ? dy : 0);
        ::SetWindowPos(control, nullptr, rc.left, rc.top + dy, rc.right - rc.left, (std::max)(height, 0),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void VoSearchDlg::FillBookCombos() {
    const int count = search_.BookCount();
    HWND from = Item(kFromCombo), to = Item(kToCombo);
    IBibleLangStat* lang = search_.Objects().GetLangStat();
    for (int b = 0; b < count && lang; ++b) {
        char name[kMaxBookNameLength + 1] = "";
        if (FAILED(lang->GetBookName(name, b))) name[0] = '\0';
        ::SendMessageA(from, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        ::SendMessageA(to, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    RememberedRange& range = Remembered();
    if (range.bookCount != count || range.first < 0 || range.last >= count) {
        range.bookCount = count;
        range.first = 0;
        range.last = count - 1;
    }
    ::SendMessageA(from, CB_SETCURSEL, range.first, 0);
    ::SendMessageA(to, CB_SETCURSEL, range.last, 0);
}

void VoSearchDlg::FillWordList() {
    HWND list = Item(kWordList);
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    long begin = 0, end = 0;
    if (IsSingleWordQuery(query_) && search_.FindWordsWithPrefix(query_, &begin, &end) && end > begin) {
        ::SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(end - begin), (end - begin) * 12);
        char word[kSearchWordSize];
        for (long i = begin; i < end; ++i)
            if (search_.GetWord(i, word)) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
        // Only a word equal to the query is selected (LB_ERR as an index would select all).
        const LRESULT same = ::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(query_));
        if (same != LB_ERR) ::SendMessageA(list, LB_SETSEL, TRUE, same);
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

std::string VoSearchDlg::SearchText() const {
    if (!IsSingleWordQuery(query_)) return query_;
    HWND list = Item(kWordList);
    const LRESULT count = ::SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return std::string();
    std::vector<int> selected(static_cast<size_t>(count));
    const LRESULT got = ::SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(got > 0 ? static_cast<size_t>(got) : 0);
    std::vector<std::string> words;
    words.reserve(selected.size());
    for (int index : selected) words.push_back(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(index)));
    return JoinAlternatives(words);
}

void VoSearchDlg::Search() {
    chosenHit_ = -1;
    const int first = static_cast<int>(::SendDlgItemMessageA(Handle(), kFromCombo, CB_GETCURSEL, 0, 0));
    const int last = static_cast<int>(::SendDlgItemMessageA(Handle(), kToCombo, CB_GETCURSEL, 0, 0));
    search_.Search(SearchText().c_str(), first, last);
    char count[16];
    wsprintfA(count, "%i", search_.GetHitCount());
    ::SetDlgItemTextA(Handle(), kHitCount, count);
    HWND hits = Item(kHitList);
    ClearHitSelection(hits);
    ::SendMessageA(hits, LVM_SETITEMCOUNT, static_cast<WPARAM>(search_.GetHitCount()), 0);
    ShowSelection();
}

// The previous hits' selection and focus cleared item by item: one state change for every
// item at once walks each item of a long list (24,000 for "the"), a few selected ones do not.
void VoSearchDlg::ClearHitSelection(HWND hits) {
    constexpr LRESULT kFewSelected = 64;
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    LRESULT selected = ::SendMessageA(hits, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected > kFewSelected) {
        ::SendMessageA(hits, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        return;
    }
    for (; selected > 0; --selected) {
        const LRESULT i = ::SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        if (i < 0) break;
        ::SendMessageA(hits, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&none));
    }
    const LRESULT focused = ::SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused >= 0)
        ::SendMessageA(hits, LVM_SETITEMSTATE, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&none));
}

void VoSearchDlg::StopTimer() {
    if (timerPending_) ::KillTimer(Handle(), kRestartTimer);
    timerPending_ = false;
}

void VoSearchDlg::ShowSelection() {
    HWND hits = Item(kHitList);
    const int count = search_.GetHitCount();
    const int focused = static_cast<int>(::SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    const bool focusedSelected =
        focused >= 0 && focused < count && (::SendMessageA(hits, LVM_GETITEMSTATE, focused, LVIS_SELECTED) != 0);
    // The text is as long as its parts: no fixed share per hit.
    std::string text;
    int selected = 0;
    int focusedOffset = -1;
    char ref[kFormatRefBufferSize];
    for (int i = static_cast<int>(::SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         i >= 0 && i < count;
         i = static_cast<int>(::SendMessageA(hits, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) {
        if (selected++) text += "\r\n\r\n";
        if (i == focused) focusedOffset = static_cast<int>(text.size());
        text += search_.GetHitText(i, ref);
        text += ":\r\n";
        text += search_.GetHitVerseText(i);
    }
    HWND field = Item(kHitText);
    ::SetWindowTextA(field, text.c_str());
    if (selected == 1 && focusedSelected) {
        ::SendMessageA(field, EM_LINESCROLL, 0, 1);
    } else if (focusedOffset >= 0) {
        const LRESULT line = ::SendMessageA(field, EM_LINEFROMCHAR, static_cast<WPARAM>(focusedOffset), 0);
        ::SendMessageA(field, EM_LINESCROLL, 0, line);
    }
    chosenHit_ = focusedSelected && !searchButtonMode_ ? focused : -1;
    char label[kTextCapacity];
    ::SetDlgItemTextA(Handle(), IDOK,
                      LoadResString(label, searchButtonMode_ ? kIdsSearch : focusedSelected ? kIdsLookUp : kIdsOk));
    ::EnableWindow(Item(kCopyButton), !text.empty());
}

void VoSearchDlg::OnTimer(UINT_PTR id) {
    if (id != kRestartTimer) return;
    StopTimer();
    Search();
}

HBRUSH VoSearchDlg::OnCtlColorStatic(HDC dc, HWND control) {
    if (control != Item(kHitText)) return nullptr;
    // The read-only text field looks like a page: window background, black text.
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
}

void VoSearchDlg::OnQueryEdited(UINT, UINT, HWND) {
    ::GetDlgItemTextA(Handle(), kQueryCombo, query_, sizeof query_);
    StopTimer();
    FillWordList();
    if (::SetTimer(Handle(), kRestartTimer, kRestartDelay, nullptr)) {
        timerPending_ = true;
    } else {
        // Without a timer the user starts each search with the OK button.
        searchButtonMode_ = true;
        ShowSelection();
    }
}

void VoSearchDlg::OnQueryChosen(UINT, UINT, HWND) {
    HWND combo = Item(kQueryCombo);
    const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return;
    const std::string chosen = ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(index));
    lstrcpynA(query_, chosen.c_str(), sizeof query_);
    StopTimer();
    FillWordList();
    Search();
    AddToHistory();
}

void VoSearchDlg::OnQueryLeft(UINT, UINT, HWND) {
    if (timerPending_) {
        StopTimer();
        Search();
    }
    AddToHistory();
}

void VoSearchDlg::OnWordsSelected(UINT, UINT, HWND) { Search(); }

void VoSearchDlg::OnBookChosen(UINT, UINT, HWND) {
    RememberedRange& range = Remembered();
    range.first = static_cast<int>(::SendDlgItemMessageA(Handle(), kFromCombo, CB_GETCURSEL, 0, 0));
    range.last = static_cast<int>(::SendDlgItemMessageA(Handle(), kToCombo, CB_GETCURSEL, 0, 0));
    Search();
    CheckRangeButton();
}

void VoSearchDlg::OnRangeButton(UINT id, UINT code, HWND) {
    if (code != BN_CLICKED) return;
    const int count = search_.BookCount(), nt = search_.FirstNewTestamentBook();
    if (id == kWholeBible) SetRange(0, count - 1);
    else if (nt >= 0 && id == kOldTestament) SetRange(0, nt - 1);
    else if (nt >= 0 && id == kNewTestament) SetRange(nt, count - 1);
}

void VoSearchDlg::SetRange(int first, int last) {
    ::SendDlgItemMessageA(Handle(), kFromCombo, CB_SETCURSEL, first, 0);
    ::SendDlgItemMessageA(Handle(), kToCombo, CB_SETCURSEL, last, 0);
    RememberedRange& range = Remembered();
    range.first = first;
    range.last = last;
    Search();
    CheckRangeButton();
}

void VoSearchDlg::CheckRangeButton() {
    const RememberedRange& range = Remembered();
    const int count = search_.BookCount(), nt = search_.FirstNewTestamentBook();
    int checked = 0;
    if (range.first == 0 && range.last == count - 1) checked = kWholeBible;
    else if (nt >= 0 && range.first == 0 && range.last == nt - 1) checked = kOldTestament;
    else if (nt >= 0 && range.first == nt && range.last == count - 1) checked = kNewTestament;
    for (int id : {kWholeBible, kOldTestament, kNewTestament})
        ::CheckDlgButton(Handle(), id, id == checked ? BST_CHECKED : BST_UNCHECKED);
}

void VoSearchDlg::OnCopyText(UINT, UINT, HWND) {
    HWND field = Item(kHitText);
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    ::SendMessageA(field, WM_COPY, 0, 0);
}

void VoSearchDlg::AddToHistory() {
    if (search_.GetHitCount() == 0 || !query_[0]) return;
    HWND combo = Item(kQueryCombo);
    const LRESULT at = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(query_));
    if (at != 0) {
        if (at != CB_ERR) ::SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(at), 0);
        ::SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(query_));
    }
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void VoSearchDlg::SaveHistory() {
    HWND combo = Item(kQueryCombo);
    const int count = (std::min)(static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0)), kSearchHistorySize);
    std::vector<std::string> queries;
    for (int i = 0; i < count; ++i) queries.push_back(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(i)));
    WriteSearchHistory(language_, queries);  // a failed write still closes the dialog
}

void VoSearchDlg::OnOK(UINT, UINT, HWND) {
    // A search still waiting for its timer runs first: the hits handed back match the query.
    if (timerPending_) {
        StopTimer();
        Search();
    }
    if (searchButtonMode_) {
        searchButtonMode_ = false;
        Search();
        AddToHistory();
        return;
    }
    AddToHistory();
    SaveHistory();
    EndDialog(IDOK);
}

void VoSearchDlg::OnCancel(UINT, UINT, HWND) {
    StopTimer();
    EndDialog(IDCANCEL);
}

LRESULT VoSearchDlg::OnGetDispInfo(NMHDR& hdr) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(hdr).item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        char ref[kFormatRefBufferSize];
        lstrcpynA(item.pszText, search_.GetHitText(item.iItem, ref), item.cchTextMax);
    }
    if (item.mask & LVIF_PARAM) item.lParam = search_.GetHitRef(item.iItem);
    if (item.mask & LVIF_INDENT) item.iIndent = 0;
    if (item.mask & LVIF_STATE) item.state = 0;
    return 0;
}

LRESULT VoSearchDlg::OnItemChanged(NMHDR& hdr) {
    const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(hdr);
    if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & (LVIS_SELECTED | LVIS_FOCUSED)))
        ShowSelection();
    return 0;
}

LRESULT VoSearchDlg::OnStateChanged(NMHDR&) {
    ShowSelection();
    return 0;
}

LRESULT VoSearchDlg::OnDoubleClick(NMHDR&) {
    if (GetChosenHit() >= 0) EndDialog(IDOK);
    return 0;
}
