// CVoBibleItemServer: a bible pane's side of the text window. It turns the pane's level
// (the books, the chapters of a book, or every verse of a book) into the window's items:
// their count, heights, drawing, hit tests and copy data; and it answers what the window
// tells its sink (links, hover, typed letters, right clicks) and what is dropped on it.
//
// The pane derives from it and brings the rest: reference counting, its navigation, its
// status text and what it asks of its owner (the hooks below).
#pragma once
#include <windows.h>
#include <ole2.h>
#include "BibleObjects.h"
#include "IBibleRefLib.h"
#include "LexiconInterfaces.h"
#include "PaneContext.h"
#include "VoView.h"

class AVoTextPainter;
class AVoTextReceiver;
class AVoLexiconBase2;
struct VoTextBlock;

// Item kinds of GetItemKind.
constexpr int kItemsNone = 0;
constexpr int kItemsBooks = 1;
constexpr int kItemsChapters = 2;
constexpr int kItemsVerses = 3;

// Part numbers of a verse item.
constexpr int kPartMaxRun = 1023;
constexpr int kPartCommentaryMarker = 9999;
constexpr int kPartFirstReference = 10000;
constexpr int kPartUnreachable = 20000;  // added while the commentary index is locked

// Room for the text of the run or reference under a hit point.
constexpr int kHitTextSize = 264;

// Room for the title and the text of a note's popup.
constexpr int kNoteTitleSize = 128;
constexpr int kNoteTextSize = 1024;

// The most articles one article menu lists.
constexpr int kMaxMenuArticles = 30;
// Commands of the article menu: article i is i + 1.
constexpr UINT kArticleMenuCancel = 500;
constexpr UINT kArticleMenuCopy = 1000;

class CVoBibleItemServer : public IVoItemServer, public IVoBibleTextWindowSink, public IDropTarget {
public:
    // IVoItemServer
    int STDMETHODCALLTYPE GetColumnWidth() override;
    int STDMETHODCALLTYPE GetItemCount() override;
    int STDMETHODCALLTYPE GetScrollUnitsPerItem() override { return 1; }
    int STDMETHODCALLTYPE GetFixedItemHeight() override { return 0; }
    void STDMETHODCALLTYPE MeasureItem(HDC dc, int item, int width, int* units, int* height) override;
    void STDMETHODCALLTYPE GetUnitOffsets(HDC dc, int item, int width, int unitCount, int* offsets) override;
    void STDMETHODCALLTYPE DrawItem(HDC dc, int item, int x, int y, int width, int height, const int* state) override;
    BOOL STDMETHODCALLTYPE HitTest(HDC dc, int item, POINT* pointInItem, int width, int* part,
                                   HCURSOR* cursor) override;
    int STDMETHODCALLTYPE CanDragPart(int item, int part) override;
    BOOL STDMETHODCALLTYPE FillSelectionData(ISimpleDataSource* source) override;
    BOOL STDMETHODCALLTYPE FillPartData(ISimpleDataSource* source, int item, int part) override;

    // IVoBibleTextWindowSink
    void STDMETHODCALLTYPE OnCaretChanged(int item) override { OnCaretMoved(item); }
    void STDMETHODCALLTYPE OnItemDoubleClick(int item) override;
    void STDMETHODCALLTYPE OnLinkPress(int phase, LinkPressInfo* info) override;
    void STDMETHODCALLTYPE OnHoverEnter(int item, int part) override;
    void STDMETHODCALLTYPE OnHoverLeave(int item, int part) override;
    BOOL STDMETHODCALLTYPE OnChar(UINT character, UINT repeatCount, UINT keyFlags) override;
    void STDMETHODCALLTYPE OnRightClick(int item) override;
    void STDMETHODCALLTYPE OnSelectionChanged() override { OnSelectionMoved(); }

    // IDropTarget: only "VersiloReference" data that converts into this bible is taken.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    int GetItemKind() const;
    // The item's text (with number null: "N " before it in kinds 2 and 3) into buffer of
    // size bytes, or a private buffer when buffer is null; returns its length.
    int GetItemText(int item, char* buffer, int size, int* number);
    void GetItemIndices(int item, int* book, int* chapter, int* verse) const;
    // References of items; 0 for an item outside the list or without a bible.
    int MakeRangeRef(int first, int end) const;
    int MakeItemRef(int item) const;
    int GetSelectionRef() const;
    int GetItemRefIn(int item, IBibleStat* target) const;
    // The reference of the index-th cross-reference shown after a verse item; 0 for none.
    int GetLinkRef(int item, int index);
    // Up to max articles of the verse reference (every commentary) into list; *last (when
    // given) gets the last article asked for. 0 without the commentary pane.
    int CollectVerseArticles(int reference, ArticleHandle* list, int max, ArticleHandle* last);
    // The text of coloured run number run of a verse item, numbered as the hit test numbers
    // them, cut to size; false when the item or run does not exist.
    bool GetRunText(int item, int run, char* buffer, int size);
    // The note behind the '*' marker of run number run: its title (kNoteTitleSize) and
    // segment (kNoteTextSize); false when the verse has no such note.
    bool GetNotePopup(int item, int run, char* title, char* text);
    // A menu of the articles (key articles first, a separator before the verse articles)
    // at the cursor; with copy, a copy entry too, and *copy tells whether it was chosen.
    // The article chosen, or kNoArticle.
    ArticleHandle ShowArticleMenu(const ArticleHandle* list, int keyCount, int verseCount, bool* copy);
    // The popup shown for the link under the pointer, or null.
    HWND GetPopup() const { return popup_; }
    bool OpenCaretItem();
    bool GoUpOneLevel();
    void WriteItemsText(int first, int end, AVoTextReceiver* receiver);
    void WriteSelectedText(int first, int end, AVoTextReceiver* receiver);

    // The verse and chapter layouts in their three modes: drawing with a state, hit testing
    // with a point (part and hitText, kHitTextSize bytes, get what lies under it),
    // measuring with neither. Return the height.
    int LayoutVerseItem(HDC dc, int item, RECT rect, const int* state, const POINT* point, int* part, char* hitText);
    int LayoutChapterRow(HDC dc, int chapter, RECT rect, const int* state);

protected:
    CVoBibleItemServer() = default;
    virtual ~CVoBibleItemServer() { DestroyPopup(); }

    // What the pane brings.
    virtual void SetBook(int book) = 0;
    virtual void SetChapter(int chapter) = 0;
    // The owner's reference library, or null.
    virtual IBibleRefLib* GetRefLib() = 0;
    // The commentary pane while it is open, or null.
    virtual AVoLexicon* GetLexiconWindow() = 0;
    // The registered "VersiloReference" clipboard format.
    virtual UINT GetReferenceFormat() = 0;
    // True when colour markings are shown and the linear verse is marked.
    virtual bool IsVerseMarked(int linearVerse) = 0;
    // The pane's caret and selection handling.
    virtual void OnCaretMoved(int item) = 0;
    virtual void OnSelectionMoved() = 0;
    // The pane's status text (the first part of the owner's status bar).
    virtual void SetStatusText(const char* text) = 0;
    // Pushes the history and shows a reference of the pane's bible.
    virtual void GoToVerse(int reference) = 0;
    // The go-to dialog over the text window with character typed into it; goes to the
    // reference chosen.
    virtual void RunGoToDialog(char character) = 0;
    // Tracks menu at the cursor with the text window as owner: the command chosen, or 0.
    virtual UINT TrackArticleMenu(HMENU menu);
    // Shows the popup text window over the text window near anchor and cursor (client
    // coordinates) with title and text: its window, or null.
    virtual HWND ShowLinkPopup(const RECT& anchor, POINT cursor, const char* title, const char* text) = 0;

    // The pane's state the server reads.
    HWND textWindow_ = nullptr;
    VoBibleObjects objects_;
    VoPaneContext context_;
    int book_ = -1;
    int chapter_ = -1;
    int firstVerse_ = -1;  // linear verse of verse 0 of chapter 0 of the book

private:
    // The verse's title, heading, number and text in rect (narrowed by the margins, its top
    // moved below title and heading): the height, and in endX where the last line ends.
    int LayoutVerseText(HDC dc, AVoTextPainter* painter, int book, int chapter, int verse, RECT* rect,
                        const int* state, const POINT* point, AVoLexiconBase2* finder, int* part, char* hitText,
                        int* endX);
    // The cross-references after a verse text of textHeight: how much taller they make it.
    int LayoutReferences(HDC dc, AVoTextPainter* painter, int book, int chapter, int verse, const RECT& rect,
                         int textHeight, int endX, bool draw, const POINT* point, int* part, char* hitText);
    bool ClosesSection(int book, int chapter, int verse, bool hasTitles) const;
    bool HasSectionTitles() const;
    bool IsSelected(int item) const;
    void SetReferenceData(ISimpleDataSource* source, int ref);
    AVoTextPainter* GetWindowPainter() const;
    void ShowPopup(int item, const char* title, const char* text);
    void DestroyPopup();
    // The status text of string id with text for its "%s", cut to the status bar's room.
    void SetStatusString(UINT id, const char* text);
    // Left and right clicks on words, notes and the verse number.
    void OnArticleLinkClick(int item, int part, bool left);
    // The reference of a "VersiloReference" drop, converted into this bible; 0 for none.
    int ReadDroppedReference(IDataObject* data);

    char textBuffer_[8192] = {};
    HWND popup_ = nullptr;
    DWORD dropEffect_ = DROPEFFECT_NONE;
};
