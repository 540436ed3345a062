// The change flags of a pane's move and of another pane becoming active.
#include <gtest/gtest.h>
#include "BibleWindow.h"

namespace {

VoBiblePosition At(int bible, int book, int chapter, int verse) {
    VoBiblePosition p;
    p.bibleIndex = bible;
    p.book = book;
    p.chapter = chapter;
    p.verse = verse;
    return p;
}

TEST(BibleWindowFlags, EachLevelThatDiffersHasItsFlag) {
    struct Case {
        const char* what;
        VoBiblePosition before, now;
        unsigned moved, activated;
    };
    const Case cases[] = {
        {"nothing differs", At(0, 1, 2, 3), At(0, 1, 2, 3), 0, 16},
        {"the verse", At(0, 1, 2, 3), At(0, 1, 2, 4), 1, 16 + 1},
        {"the chapter, same verse number", At(0, 1, 2, 3), At(0, 1, 5, 3), 2, 16 + 2 + 1},
        {"the book", At(0, 1, 2, 3), At(0, 4, 2, 3), 4, 16 + 4 + 2 + 1},
        {"the bible only", At(0, 1, 2, 3), At(1, 1, 2, 3), 8, 16 + 8 + 4 + 2 + 1},
        {"book list to chapter list", At(0, -1, -1, -1), At(0, 1, -1, -1), 4, 16 + 4 + 2 + 1},
        {"chapter and verse", At(2, 1, 2, 3), At(2, 1, 0, 0), 3, 16 + 2 + 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.moved, PositionChangeFlags(c.before, c.now)) << c.what;
        EXPECT_EQ(c.activated, ActivationChangeFlags(c.before, c.now)) << c.what;
    }
    // The selection items and the scroll position are not levels.
    VoBiblePosition scrolled = At(0, 1, 2, 3);
    scrolled.topItem = 40;
    scrolled.selectionEnd = 9;
    EXPECT_EQ(0u, PositionChangeFlags(At(0, 1, 2, 3), scrolled));
}

}  // namespace
