// The change flags of a pane's move and of another pane becoming active.
#include "BibleWindow.h"

unsigned PositionChangeFlags(const VoBiblePosition& before, const VoBiblePosition& now) {
    unsigned flags = 0;
    if (before.bibleIndex != now.bibleIndex) flags |= kBibleChanged;
    if (before.book != now.book) flags |= kBookChanged;
    if (before.chapter != now.chapter) flags |= kChapterChanged;
    if (before.verse != now.verse) flags |= kVerseChanged;
    return flags;
}

unsigned ActivationChangeFlags(const VoBiblePosition& before, const VoBiblePosition& now) {
    // A change at one level changes every level below it too: the same verse number in
    // another book is another verse.
    unsigned flags = kSelectionChanged;
    bool differs = before.bibleIndex != now.bibleIndex;
    if (differs) flags |= kBibleChanged;
    differs = differs || before.book != now.book;
    if (differs) flags |= kBookChanged;
    differs = differs || before.chapter != now.chapter;
    if (differs) flags |= kChapterChanged;
    differs = differs || before.verse != now.verse;
    if (differs) flags |= kVerseChanged;
    return flags;
}
