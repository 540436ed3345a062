// IBibleStat, IBibleStatBuilder and IBibleHandles: a bible's numbering (books, chapters,
// verses and the two GUIDs of identity and versification), its builder, and the making and
// splitting of BibleRefHandle values over it.
//
// A BibleRefHandle is 32 bits: bits 0-14 a position (1 the whole bible, 2 + b book b,
// n + 2 + c linear chapter c, n + 2 + C + v linear verse v); bit 15 marks a range; the high
// word is 0xFFFF for a single position, else bits 16-27 hold the range length in positions
// of the start's kind (0: an open range, the verse and all that follow).
#pragma once
#include <windows.h>
#include <objidl.h>

// {4B5BFF00-13AB-11D0-9680-444553540000}
inline const IID IID_IBibleStat = {0x4B5BFF00, 0x13AB, 0x11D0, {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {4B5BFF01-13AB-11D0-9680-444553540000}
inline const IID IID_IBibleStatBuilder = {0x4B5BFF01, 0x13AB, 0x11D0,
                                          {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {4B5BFF02-13AB-11D0-9680-444553540000}
inline const IID IID_IBibleHandles = {0x4B5BFF02, 0x13AB, 0x11D0, {0x96, 0x80, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Kinds of a handle, as GetRefKind answers them.
constexpr HRESULT kRefKindBible = 0x40000;
constexpr HRESULT kRefKindBook = 0x40001;
constexpr HRESULT kRefKindChapter = 0x40002;
constexpr HRESULT kRefKindVerse = 0x40003;
// Answers of CompareRefs.
constexpr HRESULT kRefInside = 0x40004;       // a lies inside b
constexpr HRESULT kRefEqual = 0x40005;
constexpr HRESULT kRefContains = 0x40006;     // b lies inside a
constexpr HRESULT kRefOverlaps = 0x40007;
constexpr HRESULT kRefAfter = 0x40008;        // disjoint, b starts at or after a
constexpr HRESULT kRefBefore = 0x40009;       // disjoint, b starts before a
constexpr HRESULT kRefOtherKind = 1;          // disjoint, different kinds

constexpr int kRefRangeFlag = 0x8000;
constexpr int kRefMaxRangeLength = 4095;
constexpr int kMaxRefPositions = 32768;

struct IBibleStat : public IUnknown {
    virtual int STDMETHODCALLTYPE GetBookCount() = 0;
    virtual int STDMETHODCALLTYPE GetChapterCount() = 0;
    virtual int STDMETHODCALLTYPE GetVerseCount() = 0;
    virtual int STDMETHODCALLTYPE GetBookId(int book) = 0;
    // FALSE: the identity of this numbering; TRUE: its versification.
    virtual HRESULT STDMETHODCALLTYPE GetGuid(GUID* out, BOOL versification) = 0;
    virtual int STDMETHODCALLTYPE GetChaptersInBook(int book) = 0;
    virtual int STDMETHODCALLTYPE GetVersesInBook(int book) = 0;
    // Book -1: chapter is a linear chapter index.
    virtual int STDMETHODCALLTYPE GetVersesInChapter(int book, int chapter) = 0;
    // 1, or 0 when the index is outside 0..V-1 (then nothing is written).
    virtual int STDMETHODCALLTYPE VerseIndexToRef(int verseIndex, int* book, int* chapter, int* verse) = 0;
    // Always 0; nothing is written for an index outside 0..C-1.
    virtual int STDMETHODCALLTYPE ChapterIndexToRef(int chapterIndex, int* book, int* chapter) = 0;
    // The linear index, or -1.
    virtual int STDMETHODCALLTYPE RefToVerseIndex(int book, int chapter, int verse) = 0;
    virtual int STDMETHODCALLTYPE RefToChapterIndex(int book, int chapter) = 0;
    // Writes the statistics block; STG_E_MEDIUMFULL when the stream takes fewer bytes.
    virtual HRESULT STDMETHODCALLTYPE Save(IStream* stream) = 0;
};

struct IBibleStatBuilder : public IUnknown {
    // Appends one book; the last of the announced books completes the statistics.
    virtual HRESULT STDMETHODCALLTYPE AddBook(int bookId, int chapterCount, const int* versesPerChapter) = 0;
};

struct IBibleHandles : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE MakeRef(int* out, int book, int chapter, int verse) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExtendRef(int* handle, int book, int chapter, int verse) = 0;
    virtual HRESULT STDMETHODCALLTYPE MakeFollowingRef(int* handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRefKind(int handle) = 0;
    // kind 0 bible, 1 book, 2 chapter, 3 verse.
    virtual HRESULT STDMETHODCALLTYPE SetRefLevel(int* handle, int kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE RefToIndices(int handle, int* book, int* chapter, int* verse) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsSingleRef(int handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeEndToIndices(int handle, int* book, int* chapter, int* verse) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasRangeLength(int handle) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRefs(int a, int b) = 0;
    // The packed form: the low word high byte first, then (ranges only) the high word in
    // 7-bit groups, least significant first, bit 7 on every group but the last.
    virtual HRESULT STDMETHODCALLTYPE WriteRef(int handle, char** cursor, unsigned* remaining) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadRef(int* out, char** cursor, unsigned* remaining) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadRefFromStream(int* out, IStream* stream) = 0;
};
