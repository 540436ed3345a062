// VoMainWnd's selectors and command states: the translation, book and chapter boxes that
// follow the active pane, the states of the selection and marking commands, the radio
// checks of the numbered menus and the references menu of the shown verse.
#include "MainFrame.h"
#include "BibleObjects.h"
#include "FrameIds.h"
#include "MessageText.h"

using namespace frame_id;

namespace {

constexpr int kMaxVerseRefs = 128;

// The item of a combo box whose data is value, or -1.
int FindItemByData(HWND combo, LPARAM value) {
    const int count = static_cast<int>(ry::Send(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (ry::Send(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value) return i;
    return -1;
}

}  // namespace

HMENU VoMainWnd::FindPopupOf(UINT id) const {
    // The popup, at any depth of the menu bar, that holds the command directly.
    HMENU stack[8] = {::GetMenu(hwnd_)};
    int depth = stack[0] ? 1 : 0;
    while (depth > 0) {
        const HMENU menu = stack[--depth];
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            const HMENU sub = ::GetSubMenu(menu, i);
            if (sub && depth < 8) stack[depth++] = sub;
            else if (!sub && ::GetMenuItemID(menu, i) == id) return menu;
        }
    }
    return nullptr;
}

void VoMainWnd::RadioCheckTranslation(int index) {
    const int count = bibles_.GetCount() < kMaxTranslationItems ? bibles_.GetCount() : kMaxTranslationItems;
    if (index >= 0 && index < count)
        ::CheckMenuRadioItem(::GetMenu(hwnd_), kFirstTranslation, kFirstTranslation + count - 1,
                             kFirstTranslation + static_cast<UINT>(index), MF_BYCOMMAND);
}

void VoMainWnd::RadioCheckLibrary(int k) {
    const int count = refLibs_.GetCount() < kMaxLibraryItems ? refLibs_.GetCount() : kMaxLibraryItems;
    if (k >= 0 && k <= count)
        ::CheckMenuRadioItem(::GetMenu(hwnd_), kNoLibrary, kNoLibrary + count, kNoLibrary + static_cast<UINT>(k),
                             MF_BYCOMMAND);
}

void VoMainWnd::FillTranslationBox() {
    // The user's order, each entry's data its storage index in the list; the active pane's
    // translation stays selected.
    const HWND box = Selector(kTranslationCombo);
    ry::Send(box, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < bibles_.GetCount(); ++i) {
        const int index = bibles_.GetOrderAt(i);
        const LRESULT item = ry::Send(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bibles_.GetAt(index).GetShortName()));
        if (item >= 0) ry::Send(box, CB_SETITEMDATA, static_cast<WPARAM>(item), index);
    }
    ry::Send(box, CB_SETCURSEL, static_cast<WPARAM>(FindItemByData(box, host_->GetBibleIndex())), 0);
}

void VoMainWnd::UpdateSelectors(unsigned flags) {
    const HWND books = Selector(kBookCombo), chapters = Selector(kChapterCombo);
    const int index = host_->GetBibleIndex();
    const bool known = index >= 0 && index < bibles_.GetCount();

    if (flags & kBibleChanged) {
        char name[32] = "";
        ComPtr<IBible> bible;
        if (known) bible = ComPtr<IBible>::Attach(bibles_.GetAt(index).GetBible());
        if (bible && FAILED(bible->GetBibleName(FALSE, name, sizeof name))) name[0] = '\0';
        if (lstrcmpA(name, selectorBible_) != 0) {
            RadioCheckTranslation(index);
            const HWND translations = Selector(kTranslationCombo);
            ry::Send(translations, CB_SETCURSEL, static_cast<WPARAM>(FindItemByData(translations, index)), 0);
            ry::Send(books, CB_RESETCONTENT, 0, 0);
            if (!*name || !*selectorBible_) {
                ::EnableWindow(books, *name != '\0');
                ::EnableWindow(Selector(kBookSpin), *name != '\0');
            }
            lstrcpynA(selectorBible_, name, sizeof selectorBible_);
            VoBibleObjects objects;
            if (*name && objects.Attach(bible.Get())) {
                const int count = objects.GetStat()->GetBookCount();
                for (int b = 0; b < count; ++b) {
                    char book[kMaxBookNameLength + 1] = "";
                    objects.GetLangStat()->GetBookName(book, b);
                    ry::Send(books, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(book));
                }
                if (host_->GetBook() >= 0) ry::Send(books, CB_SETCURSEL, static_cast<WPARAM>(host_->GetBook()), 0);
            }
            // The book list was refilled: the chapter list follows.
            flags |= kBookChanged;
        }
        CheckCommand(kShowReferences, kCommandInMenu, known && bibles_.GetAt(index).TestFlagBit1());
    }

    if (flags & kBookChanged) {
        const int book = host_->GetBook();
        if (static_cast<int>(ry::Send(books, CB_GETCURSEL, 0, 0)) != book)
            ry::Send(books, CB_SETCURSEL, static_cast<WPARAM>(book), 0);
        ry::Send(chapters, CB_RESETCONTENT, 0, 0);
        ::EnableWindow(chapters, book >= 0);
        ::EnableWindow(Selector(kChapterSpin), book >= 0);
        EnableCommand(kCloseLevel, kCommandInToolbar | kCommandInMenu, book >= 0);
        VoBibleObjects* objects = host_->GetBibleObjects();
        if (book >= 0 && objects && objects->GetStat()) {
            const int count = objects->GetStat()->GetChaptersInBook(book);
            for (int c = 1; c <= count; ++c) {
                char number[16];
                wsprintfA(number, "%i", c);
                ry::Send(chapters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(number));
            }
            if (host_->GetChapter() >= 0)
                ry::Send(chapters, CB_SETCURSEL, static_cast<WPARAM>(host_->GetChapter()), 0);
        }
    }
    EnableCommand(kOpenItem, kCommandInMenu, host_->GetChapter() < 0);
    if ((flags & kChapterChanged) &&
        static_cast<int>(ry::Send(chapters, CB_GETCURSEL, 0, 0)) != host_->GetChapter())
        ry::Send(chapters, CB_SETCURSEL, static_cast<WPARAM>(host_->GetChapter()), 0);

    EnableCommand(kBack, kCommandInToolbar | kCommandInMenu, host_->CanNavigate(true));
    EnableCommand(kForward, kCommandInToolbar | kCommandInMenu, host_->CanNavigate(false));
    RebuildReferencesMenu();
}

void VoMainWnd::UpdateSelectionCommands() {
    const int kind = host_->GetSelectionKind();
    if (toolbar_) ry::Send(toolbar_, TB_ENABLEBUTTON, kCopy, MAKELPARAM(kind != kSelectionNone, 0));
    const bool verses = kind == kSelectionVerses;
    const bool marked = verses && host_->IsSelectionMarked();
    EnableCommand(kMarkSelection, kCommandInToolbar | kCommandInMenu, verses && MarkingsShown());
    CheckCommand(kMarkSelection, kCommandInMenu, marked);
    CheckCommand(kMarkSelection, kCommandInToolbar, marked && MarkingsShown());
    const bool chapterShown = host_->GetChapter() >= 0;
    EnableCommand(kNextMarked, kCommandInMenu, chapterShown);
    EnableCommand(kPreviousMarked, kCommandInMenu, chapterShown);
}

void VoMainWnd::UpdateMarkFileCommands() {
    const bool any = MarkingsShown() && !marks_.IsEmpty();
    EnableCommand(kExportMarks, kCommandInMenu, any);
    EnableCommand(kClearMarks, kCommandInMenu, any);
}

void VoMainWnd::RebuildReferencesMenu() {
    const HMENU popup = FindPopupOf(kFirstReference);
    if (!popup) return;
    // Every item from the first numbered reference on goes.
    for (int i = ::GetMenuItemCount(popup) - 1; i >= 0; --i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id >= kFirstReference && id <= kLastReference) ::DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }

    int reason = 1;  // no library
    int inserted = 0;
    VoBibleObjects* objects = host_->GetBibleObjects();
    if (refLib_) {
        reason = 2;  // no verse shown
        const int verse = host_->GetVerse();
        if (verse >= 0 && objects && objects->GetLangStat()) {
            reason = 3;  // no references
            int refs[kMaxVerseRefs] = {};
            unsigned count = 0;
            if (SUCCEEDED(refLib_->GetVerseRefs(objects->GetStat(), host_->GetBook(), host_->GetChapter(), verse, refs,
                                                kMaxVerseRefs, &count))) {
                // The command range holds 90 references; a verse with more lists the first 90.
                if (count > static_cast<unsigned>(kMaxReferenceItems)) count = kMaxReferenceItems;
                for (unsigned i = 0; i < count; ++i) {
                    char label[16 + kFormatRefBufferSize];
                    wsprintfA(label, i + 1 < 9 ? "&%u: " : "%u: ", i + 1);
                    char text[kFormatRefBufferSize] = "";
                    if (FAILED(objects->GetLangStat()->FormatRef(text, refs[i], 0, 0, 0, FALSE))) continue;
                    lstrcatA(label, text);
                    MENUITEMINFOA item = {};
                    item.cbSize = sizeof item;
                    item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
                    item.wID = kFirstReference + static_cast<UINT>(inserted);
                    item.dwTypeData = label;
                    item.dwItemData = static_cast<ULONG_PTR>(static_cast<unsigned>(refs[i]));
                    if (::InsertMenuItemA(popup, static_cast<UINT>(::GetMenuItemCount(popup)), TRUE, &item)) ++inserted;
                }
            }
        }
    }
    if (inserted) return;
    char text[kTextCapacity];
    LoadResString(text, kIdsNoLibrary + static_cast<UINT>(reason) - 1);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE;
    item.wID = kFirstReference;
    item.fState = MFS_GRAYED;
    item.dwTypeData = text;
    item.dwItemData = static_cast<ULONG_PTR>(reason);
    ::InsertMenuItemA(popup, static_cast<UINT>(::GetMenuItemCount(popup)), TRUE, &item);
}
