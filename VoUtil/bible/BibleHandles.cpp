#include "BibleHandles.h"
#include "PackedRef.h"
#include "PackedIO.h"
#include <cstring>
#include <new>

namespace {
// Library-wide list of the statistics objects opened from streams, newest first.
CBibleHandles* g_loadedStats = nullptr;

constexpr int kPositionMask = 0x7FFF;

int RangeLength(int handle) { return (static_cast<unsigned>(handle) >> 16) & 0xFFF; }
bool IsRange(int handle) { return (handle & kRefRangeFlag) != 0; }
bool IsCountedRange(int handle) { return IsRange(handle) && RangeLength(handle) != 0; }
int Single(int p) { return static_cast<int>(0xFFFF0000u | static_cast<unsigned>(p)); }
int Counted(int p, int length) { return p | kRefRangeFlag | (length << 16); }
}  // namespace

CBibleHandles::CBibleHandles(IUnknown* outer, HRESULT* result, IStream* stream)
    : CUnknown(outer, result), stat_(Outer()) {
    if (FAILED(*result)) return;
    *result = stat_.Read(stream);
}

CBibleHandles::CBibleHandles(IUnknown* outer, HRESULT* result, const GUID* identity, const GUID* versification,
                             int bookCount)
    : CUnknown(outer, result), stat_(Outer()) {
    if (FAILED(*result)) return;
    if (!identity || !versification) {
        *result = E_INVALIDARG;
        return;
    }
    *result = stat_.StartBuilding(*identity, *versification, bookCount);
}

CBibleHandles::~CBibleHandles() {
    if (!loaded_) return;
    for (CBibleHandles** p = &g_loadedStats; *p; p = &(*p)->nextLoaded_) {
        if (*p == this) {
            *p = nextLoaded_;
            break;
        }
    }
}

IBibleStat* CBibleHandles::FindLoaded(const GUID& identity) {
    for (CBibleHandles* p = g_loadedStats; p; p = p->nextLoaded_) {
        if (IsEqualGUID(p->stat_.Identity(), identity)) {
            p->stat_.AddRef();
            return &p->stat_;
        }
    }
    return nullptr;
}

HRESULT CBibleHandles::OpenShared(IStream* stream, IBibleStat** out) {
    *out = nullptr;
    HRESULT hr = S_OK;
    CBibleHandles* fresh = new (std::nothrow) CBibleHandles(nullptr, &hr, stream);
    if (!fresh) return E_OUTOFMEMORY;
    if (SUCCEEDED(hr)) hr = fresh->NonDelegatingQueryInterface(IID_IBibleStat, reinterpret_cast<void**>(out));
    if (FAILED(hr)) {
        delete fresh;
        return hr;
    }
    if (IBibleStat* loaded = FindLoaded(fresh->stat_.Identity())) {
        (*out)->Release();
        *out = loaded;
        return S_OK;
    }
    fresh->nextLoaded_ = g_loadedStats;
    g_loadedStats = fresh;
    fresh->loaded_ = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IBibleStatBuilder)) return GetInterface(static_cast<IBibleStatBuilder*>(&stat_), out);
    const bool stat = IsEqualIID(iid, IID_IBibleStat), handles = IsEqualIID(iid, IID_IBibleHandles);
    if (stat || handles) {
        // Until its last book is added the object is only a builder.
        if (!stat_.IsComplete()) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        if (!firstChapterPos_) {
            firstChapterPos_ = stat_.GetBookCount() + 2;
            firstVersePos_ = firstChapterPos_ + stat_.GetChapterCount();
            positionEnd_ = firstVersePos_ + stat_.GetVerseCount();
        }
        return stat ? GetInterface(static_cast<IBibleStat*>(&stat_), out) : GetInterface(static_cast<IBibleHandles*>(this), out);
    }
    return CUnknown::NonDelegatingQueryInterface(iid, out);
}

int CBibleHandles::KindOf(int p) const {
    if (p == 1) return 0;
    if (p < firstChapterPos_) return 1;
    if (p < firstVersePos_) return 2;
    return 3;
}

CBibleHandles::Indices CBibleHandles::Split(int p) {
    if (p == cachedPos_) return cached_;
    Indices ix;
    switch (KindOf(p)) {
    case 0: break;
    case 1: ix.book = p - 2; break;
    case 2: stat_.ChapterIndexToRef(p - firstChapterPos_, &ix.book, &ix.chapter); break;
    default: stat_.VerseIndexToRef(p - firstVersePos_, &ix.book, &ix.chapter, &ix.verse); break;
    }
    cachedPos_ = p;
    cached_ = ix;
    return ix;
}

// (-1,-1,-1) the whole bible; (b,-1,-1) a book; (b,c,-1) a chapter; (b,c,v) a verse; a
// missing book with a chapter means a linear chapter, a missing chapter with a verse a
// linear verse.
int CBibleHandles::Position(int book, int chapter, int verse) {
    const int n = stat_.GetBookCount(), chapters = stat_.GetChapterCount(), verses = stat_.GetVerseCount();
    if (verse >= 0 && chapter == -1) return verse < verses ? firstVersePos_ + verse : 0;
    if (book == -1) {
        if (chapter == -1) return verse == -1 ? 1 : 0;
        if (chapter < 0 || chapter >= chapters) return 0;
        if (verse == -1) return firstChapterPos_ + chapter;
        if (verse < 0 || verse >= stat_.GetVersesInChapter(-1, chapter)) return 0;
        return firstVersePos_ + stat_.ChapterFirstVerse(chapter) + verse;
    }
    if (book < 0 || book >= n) return 0;
    if (chapter == -1) return verse == -1 ? 2 + book : 0;
    int linearChapter = stat_.RefToChapterIndex(book, chapter);
    if (linearChapter < 0) return 0;
    if (verse == -1) return firstChapterPos_ + linearChapter;
    int linearVerse = stat_.RefToVerseIndex(book, chapter, verse);
    return linearVerse < 0 ? 0 : firstVersePos_ + linearVerse;
}

int CBibleHandles::ChangeKind(int p, int kind, bool last) {
    const int from = KindOf(p);
    if (from == kind) return p;
    Indices ix = Split(p);
    if (kind < from) {
        if (kind < 3) ix.verse = -1;
        if (kind < 2) ix.chapter = -1;
        if (kind < 1) ix.book = -1;
    } else {
        if (from < 1) ix.book = last ? stat_.GetBookCount() - 1 : 0;
        if (from < 2 && kind >= 2) ix.chapter = last ? stat_.GetChaptersInBook(ix.book) - 1 : 0;
        if (kind >= 3) ix.verse = last ? stat_.GetVersesInChapter(ix.book, ix.chapter) - 1 : 0;
    }
    return Position(ix.book, ix.chapter, ix.verse);
}

int CBibleHandles::SpanEnd(int handle) const {
    const int p = handle & kPositionMask;
    return IsCountedRange(handle) ? p + RangeLength(handle) - 1 : p;
}

void CBibleHandles::Store(const Indices& ix, int* book, int* chapter, int* verse) {
    if (book) *book = ix.book;
    if (chapter) *chapter = ix.chapter;
    if (verse) *verse = ix.verse;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::MakeRef(int* out, int book, int chapter, int verse) {
    if (!out) return E_POINTER;
    int p = Position(book, chapter, verse);
    *out = Single(p);
    return p ? S_OK : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::ExtendRef(int* handle, int book, int chapter, int verse) {
    if (!handle) return E_POINTER;
    if (!ValidHandle(*handle) || IsRange(*handle)) return E_INVALIDARG;
    int start = *handle & kPositionMask;
    int end = Position(book, chapter, verse);
    if (!end) return E_INVALIDARG;
    const int startKind = KindOf(start), endKind = KindOf(end);
    if (startKind < endKind) start = ChangeKind(start, endKind, false);
    else if (endKind < startKind) end = ChangeKind(end, startKind, true);
    if (end < start) return S_OK;
    // A length that does not fit 12 bits would wrap into another range: refused.
    if (end - start + 1 > kRefMaxRangeLength) return E_INVALIDARG;
    *handle = Counted(start, end - start + 1);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::MakeFollowingRef(int* handle) {
    if (!handle) return E_POINTER;
    if (!ValidHandle(*handle) || IsRange(*handle) || KindOf(*handle & kPositionMask) != 3) return E_INVALIDARG;
    *handle = (*handle & kPositionMask) | kRefRangeFlag;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::GetRefKind(int handle) {
    if (!ValidHandle(handle)) return E_INVALIDARG;
    return kRefKindBible + KindOf(handle & kPositionMask);
}

HRESULT STDMETHODCALLTYPE CBibleHandles::SetRefLevel(int* handle, int kind) {
    if (!handle) return E_POINTER;
    if (!ValidHandle(*handle) || kind < 0 || kind > 3) return E_INVALIDARG;
    const int p = *handle & kPositionMask, from = KindOf(p);
    if (kind == from) return S_OK;
    if (kind < from) {
        *handle = Single(ChangeKind(p, kind, false));
        return S_OK;
    }
    const int end = SpanEnd(*handle);
    if (!ValidPosition(end) || KindOf(end) != from) return E_INVALIDARG;
    const int first = ChangeKind(p, kind, false), last = ChangeKind(end, kind, true);
    if (last - first + 1 > kRefMaxRangeLength) return E_INVALIDARG;
    *handle = Counted(first, last - first + 1);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::RefToIndices(int handle, int* book, int* chapter, int* verse) {
    if (!ValidHandle(handle)) return E_INVALIDARG;
    Store(Split(handle & kPositionMask), book, chapter, verse);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::IsSingleRef(int handle) {
    if (!ValidHandle(handle)) return E_INVALIDARG;
    return IsRange(handle) ? 0 : 1;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::RangeEndToIndices(int handle, int* book, int* chapter, int* verse) {
    if (!ValidHandle(handle) || !IsCountedRange(handle)) return E_INVALIDARG;
    const int end = SpanEnd(handle);
    if (!ValidPosition(end) || KindOf(end) != KindOf(handle & kPositionMask)) return E_INVALIDARG;
    Store(Split(end), book, chapter, verse);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::HasRangeLength(int handle) {
    if (!ValidHandle(handle) || !IsRange(handle)) return E_INVALIDARG;
    return RangeLength(handle) ? 1 : 0;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::CompareRefs(int a, int b) {
    if (!ValidHandle(a) || !ValidHandle(b)) return E_INVALIDARG;
    const int a0 = a & kPositionMask, a1 = SpanEnd(a), b0 = b & kPositionMask, b1 = SpanEnd(b);
    if (a0 <= b1 && b0 <= a1) {
        if (a0 == b0 && a1 == b1) return kRefEqual;
        if (b0 <= a0 && a1 <= b1) return kRefInside;
        if (a0 <= b0 && b1 <= a1) return kRefContains;
        return kRefOverlaps;
    }
    if (KindOf(a0) != KindOf(b0)) return kRefOtherKind;
    return b0 >= a0 ? kRefAfter : kRefBefore;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::WriteRef(int handle, char** cursor, unsigned* remaining) {
    if (!cursor || !remaining) return E_POINTER;
    if (!ValidHandle(handle)) return E_INVALIDARG;
    BYTE packed[kMaxPackedRefBytes];
    const unsigned n = PackRef(handle, packed);
    if (n > *remaining) return E_INVALIDARG;
    if (*cursor) {
        memcpy(*cursor, packed, n);
        *cursor += n;
    }
    *remaining -= n;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::ReadRef(int* out, char** cursor, unsigned* remaining) {
    if (!out) return E_POINTER;
    *out = 0;
    if (!cursor || !*cursor || !remaining) return E_POINTER;
    const unsigned n = UnpackRef(reinterpret_cast<const BYTE*>(*cursor), *remaining, out);
    if (!n) {
        *out = 0;
        return E_INVALIDARG;
    }
    *cursor += n;
    *remaining -= n;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBibleHandles::ReadRefFromStream(int* out, IStream* stream) {
    if (!out) return E_POINTER;
    *out = 0;
    if (!stream) return E_INVALIDARG;
    BYTE packed[kMaxPackedRefBytes];
    if (FAILED(ReadAll(stream, packed, 2))) return E_INVALIDARG;
    unsigned n = 2;
    if (packed[0] & 0x80) {
        // The high word's groups, one byte at a time, until one without bit 7.
        do {
            if (n == kMaxPackedRefBytes || FAILED(ReadAll(stream, packed + n, 1))) return E_INVALIDARG;
        } while (packed[n++] & 0x80);
    }
    return UnpackRef(packed, n, out) ? S_OK : E_INVALIDARG;
}
