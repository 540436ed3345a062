// Packing and splitting article handles, at the edges of both fields.
#include <gtest/gtest.h>
#include "ArticleHandle.h"

TEST(ArticleHandleTest, PacksAndSplitsBothFields) {
    struct Case {
        int index, position;
        ArticleHandle value;
    };
    const Case cases[] = {
        {0, 0, 1},
        {1, 0, (1 << 22) + 1},
        {3, 41, 3 * (1 << 22) + 42},
        {0, 0x3FFFFE, 0x3FFFFF},
        {511, 0x3FFFFE, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        ArticleHandle h = MakeArticleHandle(c.index, c.position);
        EXPECT_EQ(c.value, h) << c.index << "/" << c.position;
        EXPECT_EQ(c.index, ArticleCommentaryIndex(h));
        EXPECT_EQ(c.position, ArticlePosition(h));
    }
}

TEST(ArticleHandleTest, RefusesWhatWouldNameAnotherArticle) {
    // Negative fields, a position whose + 1 would carry into the commentary index, and an
    // index that would reach the sign bit all pack to "no article".
    const int cases[][2] = {{-1, 0}, {0, -1}, {-5, -5}, {0, 0x3FFFFF}, {2, 0x400000}, {0, 0x7FFFFFFF}, {512, 0}};
    for (const auto& c : cases) EXPECT_EQ(kNoArticle, MakeArticleHandle(c[0], c[1])) << c[0] << "/" << c[1];
    EXPECT_EQ(0, ArticleCommentaryIndex(kNoArticle));
    EXPECT_EQ(-1, ArticlePosition(kNoArticle));
}
