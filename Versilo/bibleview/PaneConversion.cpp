// The positions of references in a pane, and a pane's items carried into another numbering.
#include "SimpleBibleWindow.h"
#include "VoUtil.h"

namespace {

constexpr int kLevelBible = 0, kLevelBook = 1, kLevelChapter = 2, kLevelVerse = 3;

// The item of (book, chapter, verse) in a list of the level; a missing part is the first
// or the last of its kind.
int ItemAt(IBibleStat* stat, int level, int book, int chapter, int verse, bool last) {
    switch (level) {
    case kLevelChapter:
        if (chapter >= 0) return chapter;
        return last ? stat->GetChaptersInBook(book) - 1 : 0;
    case kLevelVerse:
        if (verse < 0) verse = last ? stat->GetVersesInChapter(book, chapter) - 1 : 0;
        return stat->RefToVerseIndex(book, chapter, verse) - stat->RefToVerseIndex(book, 0, 0);
    default:
        if (book >= 0) return book;
        return last ? stat->GetBookCount() - 1 : 0;
    }
}

// The item of a verse in its book: its linear index less the book's first.
int BookItem(IBibleStat* stat, int book, int chapter, int verse) {
    const int at = stat->RefToVerseIndex(book, chapter, verse);
    const int start = stat->RefToVerseIndex(book, 0, 0);
    return at < 0 || start < 0 ? -1 : at - start;
}

}  // namespace

VoBiblePosition ResolveVersePosition(const VoBibleObjects& objects, int bibleIndex, int reference) {
    VoBiblePosition p;
    p.bibleIndex = bibleIndex;
    IBibleHandles* handles = objects.GetIndexer();
    IBibleStat* stat = objects.GetStat();
    int b = -1, c = -1, v = -1;
    int eb = -1, ec = -1, ev = -1;
    if (!handles || !objects.SplitIndex(reference, &b, &c, &v) || !objects.SplitRangeEnd(reference, &eb, &ec, &ev))
        return p;  // the book list
    const HRESULT kind = handles->GetRefKind(reference);
    const HRESULT single = handles->IsSingleRef(reference);
    int level = kLevelBible;
    if (SUCCEEDED(kind) && SUCCEEDED(single)) {
        level = kind & 0xFFFF;
        if (single == 1 && level < kLevelVerse) ++level;
    }
    p.book = level > kLevelBook ? b : -1;
    p.chapter = level > kLevelChapter ? c : -1;
    p.verse = p.chapter >= 0 ? (v < 0 ? 0 : v) : -1;
    p.selectionBegin = ItemAt(stat, level, b, c, v, false);
    p.selectionEnd = ItemAt(stat, level, eb, ec, ev, true) + 1;
    if (p.selectionBegin < 0) p.selectionBegin = 0;
    if (p.selectionEnd < p.selectionBegin + 1) p.selectionEnd = p.selectionBegin + 1;
    p.topItem = p.caretItem = p.selectionBegin;
    return p;
}

int ConvertBookItem(IBibleStat* from, IBibleStat* to, int book, int item) {
    int b, c, v;
    if (from->VerseIndexToRef(from->RefToVerseIndex(book, 0, 0) + item, &b, &c, &v) != 1) return 0;
    if (FAILED(ConvertBibleIndices(from, to, &b, &c, &v))) return 0;
    const int converted = BookItem(to, b, c, v);
    return converted < 0 ? 0 : converted;
}

void ConvertBookItemRange(const VoBibleObjects& from, const VoBibleObjects& to, int book, int* begin, int* end) {
    IBibleStat* fromStat = from.GetStat();
    IBibleStat* toStat = to.GetStat();
    int first = *begin;
    int last = *end - 1;
    *begin = 0;
    *end = 1;
    if (first >= last) {
        *begin = ConvertBookItem(fromStat, toStat, book, first);
        *end = *begin + 1;
        return;
    }
    const int start = fromStat->RefToVerseIndex(book, 0, 0);
    int b, c, v, lb, lc, lv;
    if (fromStat->VerseIndexToRef(start + first, &b, &c, &v) != 1 ||
        fromStat->VerseIndexToRef(start + last, &lb, &lc, &lv) != 1)
        return;
    int ref = 0, moved = 0;
    IBibleHandles* handles = from.GetIndexer();
    if (FAILED(handles->MakeRef(&ref, b, c, v)) || FAILED(handles->ExtendRef(&ref, lb, lc, lv)) ||
        FAILED(ConvertRef(fromStat, toStat, ref, &moved)))
        return;
    int nb, nc, nv, eb, ec, ev;
    if (!to.SplitIndex(moved, &nb, &nc, &nv)) return;
    const int newFirst = BookItem(toStat, nb, nc, nv < 0 ? 0 : nv);
    if (newFirst < 0) return;
    int newLast = newFirst;
    if (to.SplitRangeEnd(moved, &eb, &ec, &ev) && eb == nb) {
        const int item = BookItem(toStat, eb, ec, ev < 0 ? 0 : ev);
        if (item >= newFirst) newLast = item;
    }
    *begin = newFirst;
    *end = newLast + 1;
}
