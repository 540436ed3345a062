// VoLexProxy: forwards to the commentary pane, from the first article.
#include "LexProxy.h"

ArticleHandle VoLexProxy::FindArticleForKey(const char* key) {
    if (!target_) return kNoArticle;
    return target_->FindArticleForKey(allCommentaries_ != 0, key, kNoArticle);
}

ArticleHandle VoLexProxy::FindArticleForVerse(IBibleStat* source, int verse, bool exactOnly) {
    if (!target_) return kNoArticle;
    return target_->FindArticleForVerse(allCommentaries_ != 0, source, verse, exactOnly, kNoArticle);
}
