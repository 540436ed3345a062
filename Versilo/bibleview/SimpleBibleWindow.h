// VoSimpleBibleWindow: one bible pane. It shows one installed translation in one text
// window of VoView.dll at one of three levels (the books, the chapters of a book, every
// verse of a book), keeps its position and a history of 40 earlier ones, goes to a typed
// or given reference, switches translation while keeping the place, and marks the
// selected verses. It is the item server and the sink of its own text window and an
// AVoBibleWindow of its owner; all its faces share one reference count.
#pragma once
#include <windows.h>
#include "BibleItemServer.h"
#include "BibleWindow.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "PositionHistory.h"
#include "WindowMarkCache.h"

// Command ids the pane handles.
constexpr UINT kCmdOpenItem = 2002;
constexpr UINT kCmdGoTo = 2006;
// String resource of a translation that cannot be opened ("Klarte ikke åpne %1.").
constexpr UINT kIdsCannotOpenBible = 211;

class VoSimpleBibleWindow : public ComObjectRoot, public CVoBibleItemServer, public AVoBibleWindow {
public:
    // A new pane initialised with client (null: not yet bound), held by its AVoBibleWindow
    // face; an empty holder when no pane could be made.
    static ComPtr<AVoBibleWindow> Create(ABibleWindowClient* client);

    void* QueryPart(REFIID iid);

    // AVoBibleWindow
    void Initialize(ABibleWindowClient* client) override;
    bool CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) override;
    void MoveWindow(const RECT* rect) override;
    void SetBible(int bibleIndex) override;
    int GetBibleIndex() override { return bibleIndex_; }
    VoBibleObjects* GetBibleObjects() override { return &objects_; }
    void SetBook(int book) override;
    int GetBook() override { return book_; }
    void SetChapter(int chapter) override;
    int GetChapter() override { return chapter_; }
    void SetVerse(int verse) override;
    int GetVerse() override { return verse_; }
    void GoToPosition(const VoBiblePosition* position) override;
    void GoToVerse(int reference) override;
    void Relayout() override;
    void UpdateFont() override;
    void InvalidateIf(bool repaint) override;
    void Invalidate() override { InvalidateIf(true); }
    HWND GetTextWindow() override { return textWindow_; }
    bool CanNavigate(bool back) override { return history_.CanGo(back); }
    void Navigate(bool back) override;
    char* GetNavigationText(bool back, char* buffer, int size) override;
    VoBiblePosition* GetPosition(VoBiblePosition* out) override;
    bool HandleCommand(UINT command) override;
    int GetSelectionKind() override;
    bool IsSelectionMarked() override;
    void MarkSelection(bool on) override;

    // The text window's reports (links, hover, typed characters, right clicks) and drops
    // are the item server's; the pane answers them through the hooks below.

    // The one routine that moves the pane (no history push).
    void ShowPosition(const VoBiblePosition& position);
    void OnCaretMoved(int item) override;
    void OnSelectionMoved() override { Notify(kSelectionChanged); }
    void SetStatusText(const char* text) override;
    // The colour markings in this bible's numbering, made on first use; null without a
    // client or a bible.
    VoWindowMarkCache* GetMarkCache();
    // Opens the go-to dialog over the text window with character typed into it (0 for
    // none) and goes to the reference chosen.
    void RunGoToDialog(char character) override;

protected:
    VoSimpleBibleWindow() = default;
    ~VoSimpleBibleWindow() override;

    // The item server's hooks.
    IBibleRefLib* GetRefLib() override { return client_ ? client_->GetRefLib() : nullptr; }
    AVoLexicon* GetLexiconWindow() override { return client_ ? client_->GetLexiconWindow() : nullptr; }
    UINT GetReferenceFormat() override { return client_ ? client_->GetReferenceFormat() : 0; }
    bool IsVerseMarked(int linearVerse) override;
    HWND ShowLinkPopup(const RECT& anchor, POINT cursor, const char* title, const char* text) override;

private:
    VoBibleInfoList* BibleList() const { return client_ ? client_->GetBibleList() : nullptr; }
    // Opens record index of the list into objects; false (nothing changed) when it does not.
    bool OpenBible(int index, VoBibleObjects* objects) const;
    // Whether a position in bible index can be shown: the pane's own, none, or one that opens.
    bool CanShowBible(int index) const;
    // Tells the reader that bible index does not open (string 211, with its name).
    void TellCannotOpen(int index);
    // Takes a bible that opened as the pane's: its objects, index, record; the mark cache goes.
    void TakeBible(int index, VoBibleObjects& objects);
    void ForgetBible();
    void UpdateBookStart();
    void Notify(unsigned flags) { if (client_) client_->OnActiveWindowChanged(flags); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return textWindow_ ? SendMessageA(textWindow_, message, wParam, lParam) : 0;
    }
    bool IsItemSelected(int item) const { return Send(TWM_ISSELECTED, static_cast<WPARAM>(item)) == 1; }
    // The selection bounds [*first, *end) of the text window, first at least 0.
    void SelectionBounds(int* first, int* end) const;
    // A start position that fits the bible it names: the counts of its levels and items.
    bool FitsBible(const VoBiblePosition& p);

    ABibleWindowClient* client_ = nullptr;
    ComPtr<VoWindowMarkCache> markCache_;
    int bibleIndex_ = -1;
    int verse_ = -1;
    int firstChapter_ = -1;  // linear chapter of chapter 0 of the book
    VoPositionHistory history_;
};

// Positions of a reference in a bible (the pane's rule): the level the reference names
// and the items its start and end cover. Whole bible: the book list; a book: its chapter
// list; a chapter: its verses; a range selects all its items.
VoBiblePosition ResolveVersePosition(const VoBibleObjects& objects, int bibleIndex, int reference);
// A verse item of book in the old numbering as an item of the same verse in the new one;
// 0 when it has no counterpart.
int ConvertBookItem(IBibleStat* from, IBibleStat* to, int book, int item);
// Items [*begin, *end) of book in the old numbering as the items of the same verses in the
// new one (the end cut to the first's book); 0, 1 when they have no counterpart.
void ConvertBookItemRange(const VoBibleObjects& from, const VoBibleObjects& to, int book, int* begin, int* end);
