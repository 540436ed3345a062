// VoSimpleBibleWindow: the pane's position, levels, history and translation.
#include "SimpleBibleWindow.h"
#include "BibleInfoList.h"
#include "Handles.h"
#include "MarkedVerses.h"
#include "MessageText.h"
#include "ViewSettings.h"
#include "VoUtil.h"

namespace {

// VoCreateBibleTextWindow of VoView.dll, bound by its ordinal on first use. The library
// stays loaded for the program's life: every text window runs on its code.
HWND CreateBibleTextWindow(HWND parent, IVoItemServer* server, IVoBibleTextWindowSink* sink, const RECT* rect,
                           UINT id) {
    static const VoCreateBibleTextWindowFn create = [] {
        HMODULE dll = LoadLibraryA("VoView.dll");
        return dll ? GetProc<VoCreateBibleTextWindowFn>(dll, MAKEINTRESOURCEA(VO_CREATE_BIBLE_TEXT_WINDOW_ORDINAL))
                   : nullptr;
    }();
    return create ? create(parent, server, sink, rect, id) : nullptr;
}

}  // namespace

ComPtr<AVoBibleWindow> VoSimpleBibleWindow::Create(ABibleWindowClient* client) {
    ComPtr<AVoBibleWindow> pane;
    if (FAILED(CreateComInstanceAs<VoSimpleBibleWindow>(IID_AVoBibleWindow, pane.Put()))) return {};
    pane->Initialize(client);
    return pane;
}

VoSimpleBibleWindow::~VoSimpleBibleWindow() = default;

void* VoSimpleBibleWindow::QueryPart(REFIID iid) {
    if (IsEqualIID(iid, IID_AVoBibleWindow)) return static_cast<AVoBibleWindow*>(this);
    if (IsEqualIID(iid, IID_IVoItemServer)) return static_cast<IVoItemServer*>(this);
    if (IsEqualIID(iid, IID_IVoBibleTextWindowSink)) return static_cast<IVoBibleTextWindowSink*>(this);
    // The text window registers what answers here as its drop target.
    if (IsEqualIID(iid, IID_IDropTarget)) return static_cast<IDropTarget*>(this);
    return nullptr;
}

bool VoSimpleBibleWindow::OpenBible(int index, VoBibleObjects* objects) const {
    VoBibleInfoList* list = BibleList();
    if (!list || index < 0 || index >= list->GetCount()) return false;
    ComPtr<IBible> bible = ComPtr<IBible>::Attach(list->GetAt(index).GetBible());
    return bible && objects->Attach(bible.Get());
}

void VoSimpleBibleWindow::TakeBible(int index, VoBibleObjects& objects) {
    objects_ = objects;
    bibleIndex_ = index;
    context_.SetBibleRecord(&BibleList()->GetAt(index));
    markCache_.Reset();
}

void VoSimpleBibleWindow::ForgetBible() {
    objects_.Clear();
    markCache_.Reset();
    context_.SetBibleRecord(nullptr);
    bibleIndex_ = -1;
    book_ = chapter_ = verse_ = -1;
    firstVerse_ = firstChapter_ = -1;
}

void VoSimpleBibleWindow::Initialize(ABibleWindowClient* client) {
    if (client_ && client) {
        client_ = client;
        return;
    }
    // Without a client the pane lets go of everything the client's records own: the mark
    // cache unregisters from its record, which may go before the pane does.
    ForgetBible();
    client_ = client;
    context_.SetViewSettings(client ? client->GetViewSettings() : nullptr);
    VoBibleObjects objects;
    if (OpenBible(0, &objects)) TakeBible(0, objects);
}

bool VoSimpleBibleWindow::CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) {
    if (textWindow_) return false;
    if (!start) {
        VoBibleInfoList* list = BibleList();
        const int index = list ? list->FindDefaultBible() : -1;
        VoBibleObjects objects;
        if (list && index != list->End() && OpenBible(index, &objects)) TakeBible(index, objects);
    }
    textWindow_ = CreateBibleTextWindow(parent, this, this, rect, id);
    if (!textWindow_) return false;
    UpdateFont();
    if (start) {
        // A stored position is only shown when it fits its bible; otherwise that bible's
        // (or the current one's) book list.
        if (FitsBible(*start)) {
            ShowPosition(*start);
        } else {
            VoBiblePosition top;
            VoBibleObjects objects;
            top.bibleIndex = OpenBible(start->bibleIndex, &objects) ? start->bibleIndex : bibleIndex_;
            ShowPosition(top);
        }
    }
    return true;
}

bool VoSimpleBibleWindow::FitsBible(const VoBiblePosition& p) {
    VoBibleObjects objects;
    if (!OpenBible(p.bibleIndex, &objects)) return false;
    IBibleStat* stat = objects.GetStat();
    int items;
    if (p.book < 0) {
        if (p.book != -1 || p.chapter != -1 || p.verse != -1) return false;
        items = stat->GetBookCount();
    } else {
        if (p.book >= stat->GetBookCount()) return false;
        const int chapters = stat->GetChaptersInBook(p.book);
        if (p.chapter < -1 || p.chapter >= chapters) return false;
        if (p.chapter < 0) {
            if (p.verse != -1) return false;
            items = chapters;
        } else {
            if (p.verse < 0 || p.verse >= stat->GetVersesInChapter(p.book, p.chapter)) return false;
            items = stat->GetVersesInBook(p.book);
        }
    }
    auto isItem = [items](int i) { return i >= 0 && i < (items > 0 ? items : 1); };
    return isItem(p.topItem) && isItem(p.caretItem) && p.selectionBegin >= 0 && p.selectionBegin <= p.selectionEnd &&
           p.selectionEnd <= items;
}

void VoSimpleBibleWindow::MoveWindow(const RECT* rect) {
    if (textWindow_ && rect)
        ::MoveWindow(textWindow_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
}

void VoSimpleBibleWindow::UpdateBookStart() {
    IBibleStat* stat = objects_.GetStat();
    if (book_ >= 0 && stat) {
        firstVerse_ = stat->RefToVerseIndex(book_, 0, 0);
        firstChapter_ = stat->RefToChapterIndex(book_, 0);
    } else {
        firstVerse_ = firstChapter_ = -1;
    }
}

void VoSimpleBibleWindow::SetBook(int book) {
    if (book == book_) return;
    VoBiblePosition here;
    history_.Push(*GetPosition(&here));
    book_ = book;
    chapter_ = verse_ = -1;
    UpdateBookStart();
    Send(TWM_RELOADITEMS);
    Send(TWM_SHOWRANGE, 0, 0);
    Notify(kVerseChanged | kChapterChanged | kBookChanged);
}

void VoSimpleBibleWindow::SetChapter(int chapter) {
    if (chapter == chapter_) return;
    VoBiblePosition here;
    GetPosition(&here);
    if ((chapter_ < 0) != (chapter < 0)) history_.Push(here);
    chapter_ = chapter;
    verse_ = chapter >= 0 ? 0 : -1;
    Send(TWM_RELOADITEMS);
    int first = 0;
    if (chapter >= 0 && objects_.GetStat()) first = objects_.GetStat()->RefToVerseIndex(book_, chapter, 0) - firstVerse_;
    Send(TWM_SHOWRANGE, static_cast<WPARAM>(first), static_cast<LPARAM>(-1));
    Notify(kVerseChanged | kChapterChanged);
}

void VoSimpleBibleWindow::SetVerse(int verse) {
    if (verse == verse_) return;
    verse_ = verse;
    Notify(kVerseChanged);
}

VoBiblePosition* VoSimpleBibleWindow::GetPosition(VoBiblePosition* out) {
    out->bibleIndex = bibleIndex_;
    out->book = book_;
    out->chapter = chapter_;
    out->verse = verse_;
    out->topItem = static_cast<int>(Send(TWM_GETTOPINDEX));
    out->caretItem = static_cast<int>(Send(TWM_GETCARET));
    out->selectionBegin = out->selectionEnd = 0;
    const int caret = out->caretItem;
    if (caret >= 0 && IsItemSelected(caret)) {
        // The run of selected items around the caret; the walk down stops at item 0.
        int begin = caret;
        while (begin > 0 && IsItemSelected(begin - 1)) --begin;
        const int count = GetItemCount();
        int end = caret + 1;
        while (end < count && IsItemSelected(end)) ++end;
        out->selectionBegin = begin;
        out->selectionEnd = end;
    }
    return out;
}

void VoSimpleBibleWindow::ShowPosition(const VoBiblePosition& p) {
    const bool wasVerses = chapter_ >= 0;
    const bool bibleDiffers = p.bibleIndex != bibleIndex_;
    const bool bookDiffers = p.book != book_;
    const bool chapterDiffers = p.chapter != chapter_;
    const int verse = p.chapter >= 0 ? p.verse : -1;
    const bool verseDiffers = verse != verse_;

    bool bibleChanged = false;
    if (bibleDiffers) {
        VoBibleObjects objects;
        if (OpenBible(p.bibleIndex, &objects)) {
            TakeBible(p.bibleIndex, objects);
            bibleChanged = true;
        } else if (p.bibleIndex < 0) {
            ForgetBible();
            bibleChanged = true;
        } else {
            // A record whose bible does not open is never taken: the objects, the record and
            // the index stay those of one bible.
            return;
        }
    }
    book_ = p.book;
    chapter_ = p.chapter;
    verse_ = verse;
    if (bookDiffers || bibleChanged) UpdateBookStart();
    if (bookDiffers || bibleChanged || wasVerses != (chapter_ >= 0)) Send(TWM_RELOADITEMS);
    Send(TWM_SHOWRANGE, static_cast<WPARAM>(p.topItem), 0);
    Send(TWM_SETCARET, static_cast<WPARAM>(p.caretItem));
    Send(TWM_SELECTRANGE, static_cast<WPARAM>(p.selectionBegin), static_cast<LPARAM>(p.selectionEnd));
    Notify((bibleDiffers ? kBibleChanged : 0) | (bookDiffers ? kBookChanged : 0) |
           (chapterDiffers ? kChapterChanged : 0) | (verseDiffers ? kVerseChanged : 0));
}

bool VoSimpleBibleWindow::CanShowBible(int index) const {
    VoBibleObjects objects;
    return index == bibleIndex_ || index < 0 || OpenBible(index, &objects);
}

void VoSimpleBibleWindow::TellCannotOpen(int index) {
    VoBibleInfoList* list = BibleList();
    const char* name = list && index >= 0 && index < list->GetCount() ? list->GetAt(index).GetName() : "";
    char text[kTextCapacity];
    FormatResString(text, kIdsCannotOpenBible, name);
    VoMessageBox(textWindow_, text, MB_OK | MB_ICONEXCLAMATION);
}

void VoSimpleBibleWindow::GoToPosition(const VoBiblePosition* position) {
    if (!position) return;
    // A position the pane cannot show leaves the history as it was.
    if (!CanShowBible(position->bibleIndex)) {
        TellCannotOpen(position->bibleIndex);
        return;
    }
    VoBiblePosition here;
    history_.Push(*GetPosition(&here));
    ShowPosition(*position);
}

void VoSimpleBibleWindow::GoToVerse(int reference) {
    if (objects_.IsEmpty()) return;
    const VoBiblePosition target = ResolveVersePosition(objects_, bibleIndex_, reference);
    VoBiblePosition here;
    history_.Push(*GetPosition(&here));
    ShowPosition(target);
}

void VoSimpleBibleWindow::Navigate(bool back) {
    const VoBiblePosition* entry = history_.Peek(back);
    if (!entry) return;
    // The history steps only to an entry the pane can show: one whose translation no longer
    // opens stays where it is, and so does the pane.
    if (!CanShowBible(entry->bibleIndex)) {
        TellCannotOpen(entry->bibleIndex);
        return;
    }
    VoBiblePosition here;
    const VoBiblePosition target = history_.Step(back, *GetPosition(&here));
    ShowPosition(target);
}

char* VoSimpleBibleWindow::GetNavigationText(bool back, char* buffer, int size) {
    const VoBiblePosition* entry = history_.Peek(back);
    VoBibleInfoList* list = BibleList();
    if (!entry || !buffer || size <= 0) return nullptr;
    buffer[0] = '\0';
    if (!list) return buffer;
    if (entry->bibleIndex == bibleIndex_) {
        list->FormatPosition(entry->bibleIndex, entry->book, entry->chapter, false, buffer, size);
    } else if (entry->bibleIndex >= 0 && entry->bibleIndex < list->GetCount()) {
        lstrcpynA(buffer, list->GetAt(entry->bibleIndex).GetName(), size);
    }
    return buffer;
}

void VoSimpleBibleWindow::SetBible(int bibleIndex) {
    if (bibleIndex == bibleIndex_) return;
    VoBibleObjects target;
    if (!OpenBible(bibleIndex, &target)) {
        // Nothing changes: the pane stays in the translation it shows.
        TellCannotOpen(bibleIndex);
        return;
    }
    VoBiblePosition p;
    GetPosition(&p);
    history_.Push(p);
    VoBiblePosition q = p;
    q.bibleIndex = bibleIndex;
    IBibleStat* from = objects_.GetStat();
    IBibleStat* to = target.GetStat();
    int book = q.book, chapter = q.chapter, verse = q.verse;
    if (!from || CanConvert(from, to) != S_OK ||
        (q.book >= 0 && FAILED(ConvertBibleIndices(from, to, &book, &chapter, &verse)))) {
        q = VoBiblePosition();
        q.bibleIndex = bibleIndex;
        q.topItem = q.caretItem = 0;
    } else if (p.book < 0) {
        auto convertBook = [&](int item) {
            int b = item, c = -1, v = -1;
            return SUCCEEDED(ConvertBibleIndices(from, to, &b, &c, &v)) ? b : 0;
        };
        q.topItem = convertBook(p.topItem);
        q.caretItem = convertBook(p.caretItem);
        if (p.selectionBegin == p.selectionEnd) {
            q.selectionBegin = q.selectionEnd = q.caretItem;
        } else {
            q.selectionBegin = convertBook(p.selectionBegin);
            q.selectionEnd = convertBook(p.selectionEnd - 1) + 1;
        }
    } else {
        q.book = book;
        q.chapter = chapter;
        q.verse = verse;
        if (p.chapter >= 0) {
            q.topItem = ConvertBookItem(from, to, p.book, p.topItem);
            const int at = to->RefToVerseIndex(q.book, q.chapter, q.verse);
            const int bookStart = to->RefToVerseIndex(q.book, 0, 0);
            q.caretItem = at < 0 || bookStart < 0 ? 0 : at - bookStart;
            if (p.selectionBegin == p.selectionEnd) {
                q.selectionBegin = q.selectionEnd = q.caretItem;
            } else {
                ConvertBookItemRange(objects_, target, p.book, &q.selectionBegin, &q.selectionEnd);
            }
        }
    }
    ShowPosition(q);
}

void VoSimpleBibleWindow::SelectionBounds(int* first, int* end) const {
    int bounds[2] = {0, 0};
    Send(TWM_GETSELECTIONBOUNDS, 0, reinterpret_cast<LPARAM>(bounds));
    *first = bounds[0] < 0 ? 0 : bounds[0];
    *end = bounds[1];
}

int VoSimpleBibleWindow::GetSelectionKind() {
    int first, end;
    SelectionBounds(&first, &end);
    bool any = false;
    for (int i = first; i < end && !any; ++i) any = IsItemSelected(i);
    if (!any) return kSelectionNone;
    switch (GetItemKind()) {
    case kItemsBooks: return kSelectionBooks;
    case kItemsChapters: return kSelectionChapters;
    case kItemsVerses: return kSelectionVerses;
    default: return kSelectionNone;
    }
}

bool VoSimpleBibleWindow::IsSelectionMarked() {
    if (GetItemKind() != kItemsVerses) return false;
    VoWindowMarkCache* cache = GetMarkCache();
    if (!cache) return false;
    int first, end;
    SelectionBounds(&first, &end);
    bool any = false;
    for (int i = first; i < end; ++i) {
        if (!IsItemSelected(i)) continue;
        if (!cache->IsMarked(firstVerse_ + i)) return false;
        any = true;
    }
    return any;
}

void VoSimpleBibleWindow::MarkSelection(bool on) {
    if (GetItemKind() != kItemsVerses) return;
    VoWindowMarkCache* cache = GetMarkCache();
    if (!cache) return;
    int first, end;
    SelectionBounds(&first, &end);
    for (int i = first; i < end; ++i)
        if (IsItemSelected(i)) cache->SetMark(firstVerse_ + i, on);
    if (textWindow_) InvalidateRect(textWindow_, nullptr, TRUE);
}

void VoSimpleBibleWindow::Relayout() {
    if (!textWindow_ || !context_.ShowReferences()) return;
    RECT rc;
    GetClientRect(textWindow_, &rc);
    SendMessageA(textWindow_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
    InvalidateRect(textWindow_, nullptr, TRUE);
}

void VoSimpleBibleWindow::UpdateFont() {
    VoViewSettings* settings = context_.GetViewSettings();
    if (textWindow_ && settings) Send(WM_SETFONT, reinterpret_cast<WPARAM>(settings->GetFont()), TRUE);
}

void VoSimpleBibleWindow::InvalidateIf(bool repaint) {
    if (repaint && textWindow_) InvalidateRect(textWindow_, nullptr, FALSE);
}

void VoSimpleBibleWindow::OnCaretMoved(int item) {
    if (GetItemKind() != kItemsVerses) return;
    int book, chapter, verse;
    if (objects_.GetStat()->VerseIndexToRef(firstVerse_ + item, &book, &chapter, &verse) != 1) return;
    const bool verseChanged = verse != verse_;
    const bool chapterChanged = chapter != chapter_;
    chapter_ = chapter;
    verse_ = verse;
    if (verseChanged || chapterChanged)
        Notify((verseChanged ? kVerseChanged : 0) | (chapterChanged ? kChapterChanged : 0));
}

void VoSimpleBibleWindow::SetStatusText(const char* text) {
    if (client_) client_->SetStatusText(text);
}

VoWindowMarkCache* VoSimpleBibleWindow::GetMarkCache() {
    if (!markCache_ && client_ && context_.GetBibleRecord()) {
        VoKv61MarkedVerses* store = client_->GetMarkedVerses();
        if (store) markCache_ = MakeMarkCache(*context_.GetBibleRecord(), store);
    }
    return markCache_.Get();
}

bool VoSimpleBibleWindow::IsVerseMarked(int linearVerse) {
    VoKv61MarkedVerses* store = client_ ? client_->GetMarkedVerses() : nullptr;
    if (!store || !store->IsVisible()) return false;
    VoWindowMarkCache* cache = GetMarkCache();
    return cache && cache->IsMarked(linearVerse);
}
