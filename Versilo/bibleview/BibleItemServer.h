// CVoBibleItemServer: a bible pane's side of the text window. It turns the pane's level
// (the books, the chapters of a book, or every verse of a book) into the window's items:
// their count, heights, drawing, hit tests and copy data.
//
// The pane derives from it and brings the rest: reference counting, the sink and drop
// target faces, its navigation, and what it asks of its owner (the hooks below).
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
    virtual ~CVoBibleItemServer() = default;

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

    char textBuffer_[8192] = {};
};
