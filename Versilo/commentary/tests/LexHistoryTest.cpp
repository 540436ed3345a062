// The pane's history of shown articles: its bound, and how positions follow entries that are
// added, removed or renamed and commentaries that move or close.
#include <gtest/gtest.h>
#include <vector>
#include "LexHistory.h"

namespace {

VoLexHistoryEntry At(int commentary, int position, long top = 0) {
    VoLexHistoryEntry e;
    e.commentary = commentary;
    e.position = position;
    e.view.top = top;
    return e;
}

std::vector<std::pair<int, int>> Places(const VoLexHistory& h) {
    std::vector<std::pair<int, int>> places;
    for (int i = 0; i < h.Count(); ++i) places.emplace_back(h.At(i).commentary, h.At(i).position);
    return places;
}

}  // namespace

TEST(LexHistoryTest, TheFiftyFirstPushDropsTheOldestAndPopEmptiesIt) {
    VoLexHistory h;
    for (int i = 0; i <= kLexHistorySize; ++i) h.Push(At(0, i));
    ASSERT_EQ(kLexHistorySize, h.Count());
    EXPECT_EQ(1, h.At(0).position);
    VoLexHistoryEntry e;
    for (int i = kLexHistorySize; i >= 1; --i) {
        ASSERT_TRUE(h.Pop(&e));
        EXPECT_EQ(i, e.position);
    }
    EXPECT_FALSE(h.Pop(&e));  // nothing to go back to: no entry -1
    EXPECT_TRUE(h.Empty());
}

TEST(LexHistoryTest, PositionsFollowInsertRemoveAndRename) {
    struct Case {
        const char* what;
        int removed, inserted;
        std::vector<std::pair<int, int>> expected;
    };
    // History: commentary 0 at 1, 3, 5; commentary 1 at 3.
    const Case cases[] = {
        {"insert at 3", -1, 3, {{0, 1}, {0, 4}, {1, 3}, {0, 6}}},
        {"insert at 0", -1, 0, {{0, 2}, {0, 4}, {1, 3}, {0, 6}}},
        {"remove 3", 3, -1, {{0, 1}, {1, 3}, {0, 4}}},
        {"remove 0", 0, -1, {{0, 0}, {0, 2}, {1, 3}, {0, 4}}},
        {"rename 3 to 0", 3, 0, {{0, 2}, {0, 0}, {1, 3}, {0, 5}}},
        {"rename 1 to 4", 1, 4, {{0, 4}, {0, 2}, {1, 3}, {0, 5}}},
    };
    for (const Case& c : cases) {
        VoLexHistory h;
        for (const auto& e : {At(0, 1), At(0, 3), At(1, 3), At(0, 5)}) h.Push(e);
        h.AdjustPositions(0, c.removed, c.inserted);
        EXPECT_EQ(c.expected, Places(h)) << c.what;
    }
}

TEST(LexHistoryTest, RenumberingDropsClosedCommentariesAndKeepsViewStates) {
    VoLexHistory h;
    for (const auto& e : {At(0, 1, 40), At(1, 2), At(2, 3, 70), At(5, 0)}) h.Push(e);
    h.RenumberCommentaries({2, -1, 0});  // 0 -> 2, 1 closed, 2 -> 0, 5 beyond the table
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 1}, {0, 3}}), Places(h));
    EXPECT_EQ(40, h.At(0).view.top);
    EXPECT_EQ(70, h.At(1).view.top);
}
