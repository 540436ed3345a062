// CBibleHandles: one statistics object. It embeds the statistics (CBibleStat) and makes,
// splits, compares and packs BibleRefHandle values over them. Objects read from streams
// stand in a library-wide list by identity, so that two opens of one numbering share one
// object; the list holds no references and an object leaves it when it is destroyed.
#pragma once
#include "Unknown.h"
#include "BibleStat.h"

class CBibleHandles : public CUnknown, public IBibleHandles {
public:
    // Reads a block from the stream.
    CBibleHandles(IUnknown* outer, HRESULT* result, IStream* stream);
    // An empty builder for bookCount books.
    CBibleHandles(IUnknown* outer, HRESULT* result, const GUID* identity, const GUID* versification, int bookCount);
    ~CBibleHandles() override;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    VO_DELEGATING_UNKNOWN

    // Reads a block from the stream; when a loaded object has the same identity, that one
    // is handed out instead, else the new one joins the list of loaded statistics.
    static HRESULT OpenShared(IStream* stream, IBibleStat** out);
    // The loaded statistics object with this identity, with one added reference, or null.
    static IBibleStat* FindLoaded(const GUID& identity);

    HRESULT STDMETHODCALLTYPE MakeRef(int* out, int book, int chapter, int verse) override;
    HRESULT STDMETHODCALLTYPE ExtendRef(int* handle, int book, int chapter, int verse) override;
    HRESULT STDMETHODCALLTYPE MakeFollowingRef(int* handle) override;
    HRESULT STDMETHODCALLTYPE GetRefKind(int handle) override;
    HRESULT STDMETHODCALLTYPE SetRefLevel(int* handle, int kind) override;
    HRESULT STDMETHODCALLTYPE RefToIndices(int handle, int* book, int* chapter, int* verse) override;
    HRESULT STDMETHODCALLTYPE IsSingleRef(int handle) override;
    HRESULT STDMETHODCALLTYPE RangeEndToIndices(int handle, int* book, int* chapter, int* verse) override;
    HRESULT STDMETHODCALLTYPE HasRangeLength(int handle) override;
    HRESULT STDMETHODCALLTYPE CompareRefs(int a, int b) override;
    HRESULT STDMETHODCALLTYPE WriteRef(int handle, char** cursor, unsigned* remaining) override;
    HRESULT STDMETHODCALLTYPE ReadRef(int* out, char** cursor, unsigned* remaining) override;
    HRESULT STDMETHODCALLTYPE ReadRefFromStream(int* out, IStream* stream) override;

private:
    struct Indices {
        int book = -1, chapter = -1, verse = -1;
    };

    int PositionEnd() const { return positionEnd_; }
    bool ValidPosition(int p) const { return p > 0 && p < PositionEnd(); }
    bool ValidHandle(int handle) const { return ValidPosition(handle & 0x7FFF); }
    int KindOf(int p) const;                 // 0 bible .. 3 verse
    Indices Split(int p);                    // through the one-entry cache
    int Position(int book, int chapter, int verse);  // 0 when not valid
    // The position of p's kind turned into another kind: to a finer kind its first or last
    // position, to a coarser one the position containing it.
    int ChangeKind(int p, int kind, bool last);
    // The last position a handle covers (its start for single and open handles).
    int SpanEnd(int handle) const;
    static void Store(const Indices& ix, int* book, int* chapter, int* verse);

    CBibleStat stat_;
    int firstChapterPos_ = 0;  // n + 2
    int firstVersePos_ = 0;    // n + 2 + C
    int positionEnd_ = 0;      // n + 2 + C + V, the first position past the last verse
    int cachedPos_ = 0;        // the last position split, 0 for none
    Indices cached_;
    CBibleHandles* nextLoaded_ = nullptr;
    bool loaded_ = false;
};
