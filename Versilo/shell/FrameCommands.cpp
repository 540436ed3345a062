// VoMainWnd's commands: menus, toolbar, accelerators and the selector boxes, the spinners,
// the focus cycle, the side panes' splitter notifications, and the routing of every other
// command to the bible panes' host.
#include "MainFrame.h"
#include <shellapi.h>
#include "DataDirectories.h"
#include "DialogCommands.h"
#include "DockedWnd.h"
#include "FrameIds.h"
#include "MarkCommands.h"
#include "ViewOptions.h"

using namespace frame_id;

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}

}  // namespace

void VoMainWnd::OnFrameCommand(UINT id, UINT, HWND) {
    switch (id) {
    case kExit:
        Destroy();
        break;
    case kOptions:
        OnOptions();
        break;
    case kAbout:
        RunAboutCommand(hwnd_);
        break;
    case kBibleInfo:
        if (host_->GetBibleIndex() >= 0) RunBibleInfoCommand(hwnd_, GetActiveBible());
        break;
    case kManual: {
        char path[MAX_PATH] = "";
        const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        if (length <= 3 || length >= MAX_PATH) break;
        lstrcpyA(path + length - 3, "pdf");
        if (IsExistingFile(path)) ::ShellExecuteA(hwnd_, "open", path, nullptr, nullptr, SW_SHOW);
        break;
    }
    case kSearch:
        OnSearch();
        break;
    case kShowReferences:
        OnShowReferences();
        break;
    case kCloseLevel:
        OnCloseLevel();
        break;
    case kBack:
    case kForward:
        if (host_->CanNavigate(id == kBack)) host_->Navigate(id == kBack);
        break;
    case kMarkSelection:
        OnMarkSelection();
        break;
    case kMultiPaneToggle:
    case kLexiconPaneToggle:
        TogglePane(id);
        break;
    case kCopy:
        if (const HWND text = host_->GetTextWindow()) ry::Send(text, WM_COPY, 0, 0);
        break;
    case kNextFocus:
    case kPreviousFocus:
        MoveFocus(id == kNextFocus);
        break;
    case kBeep:
        ::MessageBeep(0xFFFFFFFF);
        break;
    default:
        OnMarkingCommand(id);
        break;
    }
}

bool VoMainWnd::RouteCommand(WPARAM wParam, LPARAM lParam) {
    // The host knows the pane commands; the open commentary pane takes the rest (its titles
    // dialog among them).
    if (host_->HandleCommand(LOWORD(wParam))) return true;
    if (!lexicon_.open || !lexWnd_.IsWindow()) return false;
    LRESULT result = 0;
    return lexWnd_.ProcessWindowMessage(lexWnd_.Handle(), WM_COMMAND, wParam, lParam, result);
}

void VoMainWnd::OnTranslation(UINT id, UINT, HWND) {
    const int i = static_cast<int>(id - kFirstTranslation);
    if (i >= bibles_.GetCount()) return;
    if (i != host_->GetBibleIndex()) host_->SetBible(i);
    RadioCheckTranslation(i);
}

void VoMainWnd::OnSelectorChosen(UINT id, UINT, HWND control) {
    const LRESULT selection = ry::Send(control, CB_GETCURSEL, 0, 0);
    if (selection < 0) return;
    switch (id) {
    case kTranslationCombo: {
        const int index = static_cast<int>(ry::Send(control, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0));
        if (index < 0 || index >= bibles_.GetCount()) return;
        host_->SetBible(index);
        RadioCheckTranslation(index);
        break;
    }
    case kBookCombo:
        host_->SetBook(static_cast<int>(selection));
        break;
    case kChapterCombo:
        host_->SetChapter(static_cast<int>(selection));
        break;
    case kHitsCombo:
        host_->GoToVerse(static_cast<int>(ry::Send(control, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0)));
        break;
    }
}

void VoMainWnd::OnLibrary(UINT id, UINT, HWND) {
    const int k = static_cast<int>(id - kNoLibrary);
    if (k > refLibs_.GetCount()) return;
    SetLibrary(k);
}

void VoMainWnd::SetLibrary(int k) {
    ComPtr<IBibleRefLib> library;
    if (k > 0) OpenRefLibFile(refLibs_.GetAt(k - 1).fileName, library.Put());
    if (library.Get() != refLib_.Get() || !library) {
        const bool changed = static_cast<bool>(library) || static_cast<bool>(refLib_);
        refLib_ = library;
        if (changed) host_->Relayout();
    }
    RadioCheckLibrary(k);
    RebuildReferencesMenu();
}

void VoMainWnd::OnReference(UINT id, UINT, HWND) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA | MIIM_STATE;
    if (!::GetMenuItemInfoA(::GetMenu(hwnd_), id, FALSE, &item) || (item.fState & MFS_GRAYED)) return;
    host_->GoToVerse(static_cast<int>(item.dwItemData));
}

void VoMainWnd::OnSearch() {
    const int index = host_->GetBibleIndex();
    if (index < 0 || index >= bibles_.GetCount()) return;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(bibles_.GetAt(index).GetBible());
    if (!bible) return;
    VoSearchOutcome outcome;
    const HWND owner = ::GetActiveWindow() ? ::GetActiveWindow() : hwnd_;
    if (RunSearchCommand(owner, bible.Get(), settings_.GetFont(), &outcome) != IDOK) return;
    if (outcome.chosenRef) host_->GoToVerse(outcome.chosenRef);
    const HWND hits = Selector(kHitsCombo);
    ry::Send(hits, CB_RESETCONTENT, 0, 0);
    for (const VoSearchOutcome::Hit& hit : outcome.hits) {
        const LRESULT item = ry::Send(hits, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(hit.text.c_str()));
        if (item >= 0) ry::Send(hits, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(hit.ref));
    }
    if (outcome.chosenHit >= 0 && outcome.chosenHit < static_cast<int>(outcome.hits.size()))
        ry::Send(hits, CB_SETCURSEL, static_cast<WPARAM>(outcome.chosenHit), 0);
}

void VoMainWnd::OnOptions() {
    const VoViewOptionsResult result = RunViewOptions(hwnd_, settings_, bibles_, host_->GetBibleIndex());
    if (!result.accepted) return;
    if (result.activeSettingsChanged) CheckCommand(kShowReferences, kCommandInMenu, result.activeShowsReferences);
    if (result.showActiveChanged) multiWnd_.SetShowActiveBible(settings_.GetShowActiveBibleInMultiWindow());
    if (result.orderChanged) FillTranslationBox();
    host_->UpdateFont();
    const WPARAM font = reinterpret_cast<WPARAM>(settings_.GetFont());
    if (multiWnd_.IsWindow()) {
        // A new order or a change of the active translation's place makes new text.
        const bool rebuild = result.orderChanged || result.showActiveChanged;
        ry::Send(multiWnd_.Handle(), WM_SETFONT, font, rebuild ? FALSE : TRUE);
        if (rebuild)
            multiWnd_.SetVerse(host_->GetBibleIndex(), host_->GetBook(), host_->GetChapter(), host_->GetVerse());
    }
    if (lexWnd_.IsWindow()) ry::Send(lexWnd_.Handle(), WM_SETFONT, font, TRUE);
}

void VoMainWnd::OnShowReferences() {
    const int index = host_->GetBibleIndex();
    if (index < 0 || index >= bibles_.GetCount()) return;
    VoBibleInfo& record = bibles_.GetAt(index);
    record.SetFlagBit1(!record.TestFlagBit1());
    CheckCommand(kShowReferences, kCommandInMenu, record.TestFlagBit1());
    record.SaveSettings();
    host_->UpdateFont();
}

void VoMainWnd::OnCloseLevel() {
    if (host_->GetChapter() >= 0) host_->SetChapter(-1);
    else if (host_->GetBook() >= 0) host_->SetBook(-1);
}

void VoMainWnd::OnMarkSelection() {
    if (host_->GetSelectionKind() == kSelectionVerses) host_->MarkSelection(!host_->IsSelectionMarked());
    // A click flips the toolbar's check button whatever was marked (nothing is, without the
    // reference numbering): the button and the menu show the selection's state again.
    UpdateSelectionCommands();
}

void VoMainWnd::OnMarkingCommand(UINT id) {
    VoMarkingPrompts prompts(hwnd_);
    switch (id) {
    case kShowMarks:
        marks_.SetVisible(!marks_.IsVisible());
        CheckCommand(kShowMarks, kCommandInMenu, marks_.IsVisible());
        UpdateSelectionCommands();
        break;
    case kNextMarked:
    case kPreviousMarked:
        GoToMarkedVerse(*host_, bibles_, marks_, id == kNextMarked, prompts);
        break;
    case kImportMarks:
        ImportMarkings(marks_, prompts);
        break;
    case kExportMarks:
        ExportMarkings(marks_, prompts);
        break;
    case kClearMarks:
        ClearMarkings(marks_, prompts);
        break;
    }
}

void VoMainWnd::TogglePane(UINT id) {
    // A pane whose window could not be made has a grey command; it does nothing.
    const HWND pane = Item(id == kLexiconPaneToggle ? kLexiconPane : kMultiPane);
    VoDockedPaneState& state = id == kLexiconPaneToggle ? lexicon_ : multi_;
    // What was typed in the commentary pane is saved before it goes; a failed save (told to
    // the reader) keeps it open with the text. The toolbar flipped its check button before
    // the command came: a refused toggle puts it back.
    if (!pane || (id == kLexiconPaneToggle && state.open && !lexWnd_.SaveBeforeClosing())) {
        CheckCommand(id, kCommandInToolbar | kCommandInMenu, state.open);
        return;
    }
    state.open = !state.open;
    CheckCommand(id, kCommandInToolbar | kCommandInMenu, state.open);
    if (id == kLexiconPaneToggle) host_->InvalidateIf(false);
    // A pane goes before the others take its room and comes only once they have made room:
    // shown at its old place it would lie over a neighbour, and the neighbour, moved from
    // there, would take the pane's pixels as its own (its copied bits count as painted).
    if (!state.open) ::ShowWindow(pane, SW_HIDE);
    Layout();
    if (state.open) ::ShowWindow(pane, SW_SHOWNA);
}

void VoMainWnd::MoveFocus(bool forward) {
    HWND windows[32];
    int count = 0;
    for (UINT id : {kTranslationCombo, kBookCombo, kChapterCombo, kHitsCombo}) {
        const HWND combo = Selector(id);
        if (combo && ::IsWindowEnabled(combo)) windows[count++] = combo;
    }
    const HWND text = host_->GetTextWindow();
    if (text && ::IsWindowEnabled(text)) windows[count++] = text;
    if (lexWnd_.IsWindow() && ::IsWindowVisible(lexWnd_.Handle()))
        count += lexWnd_.GetFocusWindows(windows + count, static_cast<int>(sizeof windows / sizeof *windows) - count);

    const HWND focus = ::GetFocus();
    int current = -1;
    for (int i = 0; i < count && current < 0; ++i)
        if (windows[i] == focus) current = i;
    for (int i = 0; i < count && current < 0; ++i)
        if (focus && ::IsChild(windows[i], focus)) current = i;
    const int next = NextFocusIndex(current, count, forward);
    if (next >= 0) ::SetFocus(windows[next]);
}

LRESULT VoMainWnd::OnSpin(NMHDR& header) {
    auto& change = reinterpret_cast<NMUPDOWN&>(header);
    const bool books = header.idFrom == kBookSpin;
    const HWND combo = Selector(books ? kBookCombo : kChapterCombo);
    const int count = static_cast<int>(ry::Send(combo, CB_GETCOUNT, 0, 0));
    const int next = WrapSelectorIndex(books ? host_->GetBook() : host_->GetChapter(), change.iDelta, count);
    change.iDelta = 0;
    if (next < 0) return 0;
    if (books) host_->SetBook(next);
    else host_->SetChapter(next);
    return 0;
}

LRESULT VoMainWnd::OnPaneNotify(NMHDR& header) {
    const bool fromLexicon = header.idFrom == kLexiconPane;
    const HWND multiPane = Item(kMultiPane), lexiconPane = Item(kLexiconPane);
    RECT client, pane, other;
    ::GetClientRect(hwnd_, &client);
    const int W = Width(client);
    if (W <= 0 || !header.hwndFrom) return 0;
    ::GetWindowRect(header.hwndFrom, &pane);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&pane), 2);

    if (header.code == kDockedAskMaxWidth) {
        if (fromLexicon && multi_.open && multiPane) {
            ::GetWindowRect(multiPane, &other);
            return Width(pane) + Width(other) - multi_.minWidth;
        }
        if (!fromLexicon && lexicon_.open && lexiconPane) {
            ::GetWindowRect(lexiconPane, &other);
            return W / 2 - Width(other);
        }
        return W / 2;
    }
    if (header.code != kDockedWidthChanged) return 0;

    const double fraction = static_cast<double>(Width(pane)) / W;
    if (fromLexicon) {
        const double change = fraction - lexicon_.fraction;
        lexicon_.fraction = fraction;
        if (multi_.open && multiPane) {
            // The translations pane gives or takes the difference; the bible panes stay.
            multi_.fraction -= change;
            ::GetWindowRect(multiPane, &other);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&other), 2);
            ::MoveWindow(multiPane, other.left, other.top, pane.left - other.left, other.bottom - other.top, TRUE);
            return 0;
        }
    } else {
        multi_.fraction = fraction;
    }
    Layout();
    return 0;
}
