// The pane's commentaries and entries: choosing, showing, editing, saving, the title
// buttons and the history.
#include "LexWnd.h"
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>
#include "ArticleHtml.h"
#include "LexItemProvider.h"
#include "MessageText.h"
#include "PasswordDlg.h"

namespace {

// The edit box's text in the ANSI code page; false when a character has no form there.
// The text is asked of the edit class's own Unicode procedure: through the pane's ANSI
// subclass it would arrive converted already, with the characters the code page lacks
// silently replaced (an edit box that keeps Unicode holds what the reader pasted).
bool ReadEditText(HWND edit, std::string* text) {
    WNDCLASSW editClass = {};
    const WNDPROC own = GetClassInfoW(nullptr, L"EDIT", &editClass) ? editClass.lpfnWndProc : nullptr;
    const auto ask = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return own ? CallWindowProcW(own, edit, message, wParam, lParam) : SendMessageW(edit, message, wParam, lParam);
    };
    const int length = static_cast<int>(ask(WM_GETTEXTLENGTH, 0, 0));
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 0) + 1);
    ask(WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    // Without best fit: a character the code page lacks becomes '?', as the warning says.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), -1, nullptr, 0, nullptr, &lossy);
    text->assign(bytes > 0 ? static_cast<size_t>(bytes) : 1, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, flags, wide.data(), -1, &(*text)[0], bytes, nullptr, &lossy);
    text->resize(lstrlenA(text->c_str()));
    return !lossy;
}

}  // namespace

IVoLexicon* VoLexWnd::Current() const {
    const int i = list_.GetCurrent();
    return list_.IsValidIndex(i) ? list_.GetAt(i).PeekLexicon() : nullptr;
}

VoLexiconItem* VoLexWnd::CurrentItem() {
    const int i = list_.GetCurrent();
    return list_.IsValidIndex(i) ? &list_.GetAt(i) : nullptr;
}

// Read-only counts as locked: a commentary opened read-only is never edited.
bool VoLexWnd::CurrentReadOnly() const {
    IVoLexicon* lex = Current();
    if (!lex || list_.GetAt(list_.GetCurrent()).ReadOnly()) return true;
    VARIANT_BOOL readOnly = VARIANT_FALSE;
    return SUCCEEDED(lex->IsOpenReadOnly(&readOnly)) && readOnly != VARIANT_FALSE;
}

bool VoLexWnd::CanChangeCurrent() const { return !CurrentReadOnly(); }

bool VoLexWnd::IsEditing() const {
    return Current() && !list_.GetAt(list_.GetCurrent()).Locked() && !CurrentReadOnly();
}

bool VoLexWnd::SelectChooserItemFor(int index) {
    const int count = static_cast<int>(::SendMessageA(chooser_, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(::SendMessageA(chooser_, CB_GETITEMDATA, i, 0)) == index) {
            ::SendMessageA(chooser_, CB_SETCURSEL, i, 0);
            return true;
        }
    }
    ::SendMessageA(chooser_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return false;
}

void VoLexWnd::FillChooser() {
    ::SendMessageA(chooser_, CB_RESETCONTENT, 0, 0);
    std::vector<int> stillOpen(static_cast<size_t>(list_.GetCount()), -1);
    for (int i = 0; i < list_.GetCount(); ++i) {
        VoLexiconItem& item = list_.GetAt(i);
        if (!item.IsOpen()) continue;
        stillOpen[static_cast<size_t>(i)] = i;
        const int count = static_cast<int>(::SendMessageA(chooser_, CB_GETCOUNT, 0, 0));
        int at = 0;
        char text[kLexNameSize];
        for (; at < count; ++at) {
            text[0] = '\0';
            ::SendMessageA(chooser_, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
            if (lstrcmpiA(text, item.GetName()) > 0) break;
        }
        COMBOBOXEXITEMA row = {};
        row.mask = CBEIF_TEXT | CBEIF_LPARAM | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        row.iItem = at;
        row.pszText = const_cast<char*>(item.GetName());
        row.lParam = i;
        row.iImage = row.iSelectedImage = VoLexiconList::IsPackagedLexicon(item.GetPath()) ? 1 : 0;
        ::SendMessageA(chooser_, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    }
    history_.RenumberCommentaries(stillOpen);
    EnableButton(kLexBackId, !history_.Empty());
    if (list_.GetCurrent() < 0) return;
    SelectChooserItemFor(list_.GetCurrent());
    SelectMostRecent();
}

void VoLexWnd::SelectMostRecent() {
    std::vector<int> order(static_cast<size_t>(list_.GetCount()) + 1);
    SelectChooserItemFor(list_.GetOpenInOrder(order.data()) > 0 ? order[0] : -1);
    SelectChooserCommentary(-1);
}

bool VoLexWnd::SelectChooserCommentary(int position) {
    const int previous = list_.GetCurrent();
    if (!SaveAll()) return false;
    if (IVoLexicon* lex = Current()) lex->CloseText();

    const int sel = static_cast<int>(::SendMessageA(chooser_, CB_GETCURSEL, 0, 0));
    const int index = sel < 0 ? -1 : static_cast<int>(::SendMessageA(chooser_, CB_GETITEMDATA, sel, 0));
    list_.SetCurrent(list_.IsValidIndex(index) && list_.GetAt(index).IsOpen() ? index : -1);
    IVoLexicon* lex = Current();
    bool selected = true;
    if (lex && FAILED(lex->OpenText())) {
        // The previous commentary stays; when it cannot be opened again either, the pane
        // shows none rather than the controls of a closed one.
        list_.SetCurrent(previous);
        IVoLexicon* back = Current();
        if (back && SUCCEEDED(back->OpenText())) {
            SelectChooserItemFor(previous);
            return false;
        }
        list_.SetCurrent(-1);
        SelectChooserItemFor(-1);
        lex = nullptr;
        selected = false;
    }
    // Without a commentary the title box gets an empty provider: it holds no closed object.
    ComPtr<IVirtualListItemProvider> provider;
    VoLexItemProvider::Create(lex, provider.Put());
    if (provider) provider_ = provider;
    int count = 0;
    if (lex) lex->GetEntryCount(&count);
    titles_.SetProvider(provider_.Get(), lex ? count : 0);
    UpdateHomeEntry();
    if (lex) {
        VoLexiconItem& item = list_.GetAt(list_.GetCurrent());
        if (position < 0) position = item.ActiveItem();
        if (position < 0) {
            int id = 0;
            if (SUCCEEDED(lex->FindEntryByKey(item.GetName(), &id)) && id > 0) lex->GetEntryPosition(id, &position);
        }
        titles_.SetCurSel(position);
    } else {
        pendingVerse_ = 0;
        hasPendingView_ = false;
        ::SetWindowTextA(edit_.Handle(), "");
    }
    // The controls follow the new commentary from what they show now, not from the previous
    // commentary's state, which may have been closed under the pane.
    const bool readOnly = CurrentReadOnly();
    if (readOnly != readOnly_) {
        readOnly_ = readOnly;
        EnableButton(kLexEditModeId, !readOnly);
        SetButtonImage(kLexEditModeId, IsEditing() ? 16 : 14);
    }
    if (IsEditing() != editing_)
        ApplyEditingMode();
    else
        ShowSelectedEntry();
    host_->RedrawBibleWindow();
    if (lex) list_.MarkMostRecent(list_.GetCurrent());
    ShowEditRow(!lex || !readOnly);
    if (!lex) ::InvalidateRect(Handle(), nullptr, TRUE);
    return selected;
}

void VoLexWnd::UpdateHomeEntry() {
    IVoLexicon* lex = Current();
    int id = 0;
    EnableButton(kLexHomeId, lex && SUCCEEDED(lex->FindEntryByKey(CurrentItem()->GetName(), &id)) && id > 0);
}

void VoLexWnd::ShowSelectedEntry() {
    IVoLexicon* lex = Current();
    const int p = titles_.GetCurSel();
    const bool editing = IsEditing();
    int id = 0;
    bool shown = false;
    if (lex && p >= 0 && SUCCEEDED(lex->GetEntryId(p, &id))) {
        list_.GetAt(list_.GetCurrent()).SetActiveItem(p);
        shown_ = p;
        int length = 0;
        lex->GetEntryTextLength(id, &length);
        std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(length > 0 ? length : 0) + 1]);
        if (text) {
            text[0] = '\0';
            lex->GetEntryText(id, text.get(), length + 1);
            if (!editing) {
                ComPtr<IBibleLangStat> langStat;
                lex->GetLangStat(langStat.Put());
                int kind = 0, context = 0;
                if (SUCCEEDED(lex->GetEntryKind(p, &kind)) && kind == 2) lex->GetEntryReference(p, &context);
                std::string head, body;
                RenderArticle(text.get(), langStat.Get(), context, &head, &body);
                view_.ShowArticle(head.c_str(), body.c_str());
            } else {
                ::EnableWindow(edit_.Handle(), TRUE);
                ::SetWindowTextA(edit_.Handle(), text.get());
                if (hasPendingView_) ApplyViewState(pendingView_);
                hasPendingView_ = false;
                pendingVerse_ = 0;
            }
            shown = true;
        }
    }
    if (!shown) {
        shown_ = -1;
        if (!editing) {
            view_.ShowArticle("", "");
        } else {
            ::SetWindowTextA(edit_.Handle(), "");
            ::EnableWindow(edit_.Handle(), FALSE);
        }
    }
    UpdateTitleButtons();
    textChanged_ = false;
}

bool VoLexWnd::SaveEditedText() {
    if (!textChanged_) return true;
    IVoLexicon* lex = Current();
    int id = 0, access = 0;
    if (!lex || shown_ < 0 || FAILED(lex->GetEntryId(shown_, &id)) || FAILED(lex->GetAccess(&access)) ||
        (access & kLexNoChanges))
        return ReportFailedTextSave();
    std::string text;
    if (!ReadEditText(edit_.Handle(), &text)) {
        // The notes file keeps ANSI text only: the reader decides before anything is lost,
        // and a refusal is the reader's own answer, not a failure to tell about.
        char message[kTextCapacity];
        FormatResString(message, kIdsTextNotInCodePage);
        if (VoMessageBox(Handle(), message, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return false;
    }
    if (FAILED(lex->SetEntryText(id, text.c_str()))) return ReportFailedTextSave();
    textChanged_ = false;
    return true;
}

bool VoLexWnd::SaveCommentary() {
    VoLexiconItem* item = CurrentItem();
    if (!item || !item->HasUnsavedChanges() || item->Save()) return true;
    char message[kTextCapacity];
    FormatResString(message, kIdsCannotSave, item->GetName());
    VoMessageBox(Handle(), message, MB_OK | MB_ICONERROR);
    SelectChooserItemFor(list_.GetCurrent());
    return false;
}

bool VoLexWnd::ReportFailedTextSave() {
    const VoLexiconItem* item = CurrentItem();
    char message[kTextCapacity];
    FormatResString(message, kIdsCannotSave, item ? item->GetName() : "");
    VoMessageBox(Handle(), message, MB_OK | MB_ICONERROR);
    return false;
}

// The typed text and the commentary's changes; a failure is told and stops the caller.
bool VoLexWnd::SaveAll() { return SaveEditedText() && SaveCommentary(); }

void VoLexWnd::SetEditing(bool on) {
    VoLexiconItem* item = CurrentItem();
    if (!item || !CanChangeCurrent() || on == IsEditing()) return;
    item->SetLocked(!on);
    ApplyEditingMode();
}

void VoLexWnd::ApplyEditingMode() {
    const bool editing = IsEditing();
    editing_ = editing;
    ShowSelectedEntry();
    HWND shown = editing ? edit_.Handle() : view_.Handle();
    HWND hidden = editing ? view_.Handle() : edit_.Handle();
    ::ShowWindow(hidden, SW_HIDE);
    ::EnableWindow(hidden, FALSE);
    ::EnableWindow(shown, editing ? shown_ >= 0 : TRUE);
    ::ShowWindow(shown, SW_SHOWNA);
    SetButtonImage(kLexEditModeId, editing ? 16 : 14);
    UpdateTitleButtons();
    ::InvalidateRect(titles_.Handle(), nullptr, TRUE);
}

void VoLexWnd::OnEditButton() {
    VoLexiconItem* item = CurrentItem();
    if (!item || !CanChangeCurrent() || !SaveAll()) return;
    if (!IsEditing() && (item->GetAccess() & kLexNoChanges)) {
        VoProvidePasswordDlg dialog(*item);
        if (dialog.DoModal(Handle()) == 1) SetEditing(true);
        return;
    }
    SetEditing(!IsEditing());
}

void VoLexWnd::EnableButton(UINT id, bool enable) {
    HWND button = Button(id);
    if (!button || (::IsWindowEnabled(button) != FALSE) == enable) return;
    ::EnableWindow(button, enable);
    ::InvalidateRect(button, nullptr, FALSE);
}

void VoLexWnd::UpdateTitleButtons() {
    const bool editing = IsEditing();
    const bool exact = titles_.IsExactMatch();
    const bool empty = titles_.GetTextLength() == 0;
    EnableButton(kLexNewId, editing && !exact && !empty);
    EnableButton(kLexDeleteId, editing && shown_ >= 0 && titles_.GetCurSel() == shown_ && exact);
    EnableButton(kLexRenameId, editing && shown_ >= 0 && !exact && !empty);
}

void VoLexWnd::OnNewEntry() {
    IVoLexicon* lex = Current();
    if (!lex || !::IsWindowEnabled(Button(kLexNewId))) return;
    char title[256] = {};
    titles_.GetText(title, sizeof title);
    const int before = history_.Count();
    if (!PushHistory()) return;
    int id = 0, position = -1;
    if (FAILED(lex->AddEntry(title, &id)) || FAILED(lex->GetEntryPosition(id, &position))) {
        VoLexHistoryEntry dropped;
        if (history_.Count() > before) history_.Pop(&dropped);
        EnableButton(kLexBackId, !history_.Empty());
        return;
    }
    history_.AdjustPositions(list_.GetCurrent(), -1, position);
    AfterEntriesChanged(position);
}

void VoLexWnd::OnDeleteEntry() {
    IVoLexicon* lex = Current();
    if (!lex || !::IsWindowEnabled(Button(kLexDeleteId)) || shown_ < 0) return;
    // Saved first: a delete that fails keeps what was typed.
    if (!SaveAll()) return;
    const int position = shown_;
    int id = 0, count = 0;
    if (FAILED(lex->GetEntryId(position, &id)) || FAILED(lex->DeleteEntry(id))) return;
    textChanged_ = false;
    lex->GetEntryCount(&count);
    history_.AdjustPositions(list_.GetCurrent(), position, -1);
    AfterEntriesChanged(position < count - 1 ? position : count - 1);
}

void VoLexWnd::OnRenameEntry() {
    IVoLexicon* lex = Current();
    if (!lex || !::IsWindowEnabled(Button(kLexRenameId)) || shown_ < 0) return;
    // Saved before: afterwards the shown position names another entry.
    if (!SaveAll()) return;
    char title[256] = {};
    titles_.GetText(title, sizeof title);
    const int old = shown_;
    int id = 0, position = -1;
    if (FAILED(lex->GetEntryId(old, &id)) || FAILED(lex->RenameEntry(&id, title)) ||
        FAILED(lex->GetEntryPosition(id, &position)))
        return;
    history_.AdjustPositions(list_.GetCurrent(), old, position);
    AfterEntriesChanged(position);
}

void VoLexWnd::AfterEntriesChanged(int position) {
    IVoLexicon* lex = Current();
    int count = 0;
    lex->GetEntryCount(&count);
    finder_.ForgetArticles();
    titles_.SetItemCount(count);
    titles_.SetCurSel(position);
    EnableButton(kLexBackId, !history_.Empty());
    ShowSelectedEntry();
    UpdateTitleButtons();
    UpdateHomeEntry();
    host_->RedrawBibleWindow();
}

bool VoLexWnd::PushHistory() {
    if (!SaveEditedText()) return false;
    if (!Current() || shown_ < 0) return true;
    VoLexHistoryEntry entry;
    entry.commentary = list_.GetCurrent();
    entry.position = shown_;
    entry.view = CurrentViewState();
    history_.Push(entry);
    EnableButton(kLexBackId, true);
    return true;
}

void VoLexWnd::OnBack() {
    if (history_.Empty() || !SaveAll()) return;
    VoLexHistoryEntry entry;
    history_.Pop(&entry);
    EnableButton(kLexBackId, !history_.Empty());
    ShowAt(entry.commentary, entry.position, 0, &entry.view);
}

void VoLexWnd::ShowAt(int index, int position, int verse, const VoLexViewState* view) {
    pendingVerse_ = verse;
    hasPendingView_ = view != nullptr;
    if (view) pendingView_ = *view;
    if (index == list_.GetCurrent()) {
        titles_.SetCurSel(position);
        ShowSelectedEntry();
    } else if (SelectChooserItemFor(index)) {
        SelectChooserCommentary(position);
    }
}

VoLexViewState VoLexWnd::CurrentViewState() {
    VoLexViewState state;
    if (!IsEditing()) view_.GetScrollState(&state.top, &state.height, &state.client);
    return state;
}

void VoLexWnd::ApplyViewState(const VoLexViewState& view) {
    const bool editing = IsEditing();
    long top = 0, height = 0, client = 0;
    if (editing) {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        ::GetScrollInfo(edit_.Handle(), SB_VERT, &info);
        top = info.nPos;
        height = info.nMax - info.nMin + 1;
    } else {
        view_.GetScrollState(&top, &height, &client);
    }
    long target;
    if (view.top != 0 && view.height != 0)
        target = static_cast<long>(static_cast<double>(height) * view.top / view.height);
    else if (top != 0)
        target = 0;
    else
        return;
    if (editing) {
        // The edit box scrolls by lines: its range is counted in lines.
        ::SendMessageA(edit_.Handle(), EM_LINESCROLL, 0, target - top);
    } else {
        view_.SetScrollTop(target);
    }
}
