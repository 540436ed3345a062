// The interfaces between the bible panes and their owner:
//   VoBiblePosition     - a pane's position, copied by value;
//   AVoBibleWindow      - one bible pane, or the host of several, as the main frame and the
//                         commentary view hold it (reference counted);
//   ABibleWindowClient  - what a pane asks of its owner (the frame, or the host's
//                         delegating client in between);
// and the change flags a pane reports through ABibleWindowClient::OnActiveWindowChanged.
// Pointers handed out by the client are borrowed; the order of the operations is fixed.
#pragma once
#include <windows.h>
#include <unknwn.h>

struct IBibleRefLib;
class AVoLexicon;
class VoBibleInfoList;
class VoBibleObjects;
class VoKv61MarkedVerses;
class VoViewSettings;

// A pane's position. Items are the rows of its text window: books at the book level,
// chapters of the current book at the chapter level, and every verse of the current book
// at the verse level (item = linear verse - the book's first linear verse).
struct VoBiblePosition {
    int bibleIndex = -1;      // index in the installed-bible list; -1 none
    int book = -1;            // zero-based; -1: the pane lists the books
    int chapter = -1;         // zero-based; -1: the pane lists the chapters of the book
    int verse = -1;           // zero-based in the chapter; -1 above the verse level
    int topItem = 0;          // the text window's top item
    int caretItem = 0;        // the text window's caret item
    int selectionBegin = 0;   // first item of the selected run holding the caret
    int selectionEnd = 0;     // one past its last item; 0 and 0 when the caret is not selected
};

// Change flags of ABibleWindowClient::OnActiveWindowChanged.
constexpr unsigned kVerseChanged = 1;
constexpr unsigned kChapterChanged = 2;
constexpr unsigned kBookChanged = 4;
constexpr unsigned kBibleChanged = 8;
// The selection changed, or another pane became the active one. Alone it means only the
// selection changed: the frame updates its command states and leaves its selectors.
constexpr unsigned kSelectionChanged = 16;

// The flags of a pane that shows now after before: each of bible, book, chapter and verse
// that differs sets its own flag (0 when none differs).
unsigned PositionChangeFlags(const VoBiblePosition& before, const VoBiblePosition& now);
// The flags of the host when the pane at now becomes active instead of the pane at
// before: the selection flag, and every level at and below the highest that differs.
unsigned ActivationChangeFlags(const VoBiblePosition& before, const VoBiblePosition& now);

// Where a menu or toolbar state changes (ABibleWindowClient::EnableCommand, CheckCommand).
constexpr unsigned kCommandInToolbar = 1;
constexpr unsigned kCommandInMenu = 2;

// What AVoBibleWindow::GetSelectionKind answers.
constexpr int kSelectionNone = 0;
constexpr int kSelectionVerses = 1;
constexpr int kSelectionChapters = 2;
constexpr int kSelectionBooks = 4;

class ABibleWindowClient;

// {8C0B5E31-6A2F-4D7B-9E41-3B7C2D5A9F10}
inline const IID IID_AVoBibleWindow = {0x8C0B5E31, 0x6A2F, 0x4D7B, {0x9E, 0x41, 0x3B, 0x7C, 0x2D, 0x5A, 0x9F, 0x10}};

class AVoBibleWindow : public IUnknown {
public:
    // Stores the client (null detaches: no notifications, bible index -1).
    virtual void Initialize(ABibleWindowClient* client) = 0;
    // Creates the text window (the host: its own window) under parent and goes to start
    // when given; false when the window could not be made.
    virtual bool CreateTextWindow(HWND parent, const RECT* rect, UINT id, const VoBiblePosition* start) = 0;
    virtual void MoveWindow(const RECT* rect) = 0;
    // Switches translation, keeping the place.
    virtual void SetBible(int bibleIndex) = 0;
    virtual int GetBibleIndex() = 0;
    virtual VoBibleObjects* GetBibleObjects() = 0;
    // -1: the book list; else the chapter list of the book.
    virtual void SetBook(int book) = 0;
    virtual int GetBook() = 0;
    // -1: the chapter list; else the verse list scrolled to the chapter.
    virtual void SetChapter(int chapter) = 0;
    virtual int GetChapter() = 0;
    // Stores the verse; the view does not move.
    virtual void SetVerse(int verse) = 0;
    virtual int GetVerse() = 0;
    // Pushes the history, then shows the position.
    virtual void GoToPosition(const VoBiblePosition* position) = 0;
    // Pushes the history, then shows the verse position of a reference in the pane's bible.
    virtual void GoToVerse(int reference) = 0;
    // Lays the text out again when the bible shows cross-references.
    virtual void Relayout() = 0;
    virtual void UpdateFont() = 0;
    virtual void InvalidateIf(bool repaint) = 0;
    virtual void Invalidate() = 0;
    virtual HWND GetTextWindow() = 0;
    virtual bool CanNavigate(bool back) = 0;
    virtual void Navigate(bool back) = 0;
    // The text of the history entry one step away, in buffer; null (nothing written) when
    // there is none.
    virtual char* GetNavigationText(bool back, char* buffer, int size) = 0;
    // Fills out and returns it.
    virtual VoBiblePosition* GetPosition(VoBiblePosition* out) = 0;
    // False for a command it does not know; the frame passes such commands on.
    virtual bool HandleCommand(UINT command) = 0;
    // kSelectionNone, kSelectionBooks, kSelectionChapters or kSelectionVerses.
    virtual int GetSelectionKind() = 0;
    // True when verses are selected and every one is colour-marked.
    virtual bool IsSelectionMarked() = 0;
    virtual void MarkSelection(bool on) = 0;
};

class ABibleWindowClient {
public:
    // flags: the change flags above.
    virtual void OnActiveWindowChanged(unsigned flags) = 0;
    // The current reference library, or null.
    virtual IBibleRefLib* GetRefLib() = 0;
    virtual VoViewSettings* GetViewSettings() = 0;
    // Shown in the first part of the status bar.
    virtual void SetStatusText(const char* text) = 0;
    // The installed bibles; a pane's bible index indexes it.
    virtual VoBibleInfoList* GetBibleList() = 0;
    // The colour-marking store.
    virtual VoKv61MarkedVerses* GetMarkedVerses() = 0;
    // The commentary pane while it is open, else null.
    virtual AVoLexicon* GetLexiconWindow() = 0;
    // The registered clipboard format "VersiloReference".
    virtual UINT GetReferenceFormat() = 0;
    // where: kCommandInToolbar, kCommandInMenu or both.
    virtual void EnableCommand(UINT id, unsigned where, bool enable) = 0;
    virtual void CheckCommand(UINT id, unsigned where, bool check) = 0;

protected:
    ~ABibleWindowClient() = default;
};
