// Packing and splitting of ArticleHandle values.
#include "ArticleHandle.h"

ArticleHandle MakeArticleHandle(int commentaryIndex, int position) {
    if (commentaryIndex < 0 || position < 0) return kNoArticle;
    if (commentaryIndex > kMaxArticleIndex || position > kMaxArticlePosition) return kNoArticle;
    UINT32 value = (static_cast<UINT32>(commentaryIndex) << kArticlePositionBits) + static_cast<UINT32>(position) + 1;
    return static_cast<ArticleHandle>(value);
}

int ArticleCommentaryIndex(ArticleHandle article) {
    return article >> kArticlePositionBits;
}

int ArticlePosition(ArticleHandle article) {
    return (article & kArticlePositionMask) - 1;
}
