// VoLexProxy: how the code that lays out and marks verses asks the commentary pane for the
// first article of a word or a verse, with the choice of one or all commentaries made
// once. The bible view builds one on its stack around the pane's AVoLexicon.
#pragma once
#include "LexiconInterfaces.h"

class AVoLexiconBase {
public:
    virtual ArticleHandle FindArticleForKey(const char* key) = 0;

protected:
    ~AVoLexiconBase() = default;
};

class AVoLexiconBase2 : public AVoLexiconBase {
public:
    virtual ArticleHandle FindArticleForVerse(IBibleStat* source, int verse, bool exactOnly) = 0;

protected:
    ~AVoLexiconBase2() = default;
};

class VoLexProxy : public AVoLexiconBase2 {
public:
    // target is borrowed and must outlive the proxy; a non-zero allCommentaries asks every
    // commentary.
    VoLexProxy(AVoLexicon* target, int allCommentaries)
        : target_(target), allCommentaries_(allCommentaries != 0 ? 1 : 0) {}
    virtual ~VoLexProxy() = default;

    // The target's first article (never one after another).
    ArticleHandle FindArticleForKey(const char* key) override;
    ArticleHandle FindArticleForVerse(IBibleStat* source, int verse, bool exactOnly) override;

    int GetAllCommentaries() const { return allCommentaries_; }

private:
    AVoLexicon* target_;
    INT32 allCommentaries_;
};
