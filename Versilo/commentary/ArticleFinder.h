// VoArticleFinder: how the commentary pane answers the bible view's questions for the
// articles of a word or a verse across the open commentaries (most recently used first),
// names them by ArticleHandle, gives their titles and checks handles given back to it.
//
// A handle counts only while it names an open commentary of the list and an entry inside
// that commentary, and only when this finder handed it out since the list last changed
// (VoLexiconList::Revision): after a commentary is added, removed or switched on or off,
// an earlier handle's index may name another commentary, so it names nothing any more.
#pragma once
#include <windows.h>
#include <unordered_set>
#include "ArticleHandle.h"
#include "LexiconList.h"

struct IBibleStat;

class VoArticleFinder {
public:
    // list is borrowed and must outlive the finder.
    explicit VoArticleFinder(VoLexiconList& list) : list_(list) {}
    VoArticleFinder(const VoArticleFinder&) = delete;
    VoArticleFinder& operator=(const VoArticleFinder&) = delete;

    // The first article after `after` whose title is exactly key: in the current
    // commentary, or with all in every open commentary in most-recent order, starting
    // behind the commentary of `after`. kNoArticle when there is none.
    ArticleHandle FindArticleForKey(bool all, const char* key, ArticleHandle after);
    // The same walk for the articles of verse, a reference in source's numbering, converted
    // into each commentary's numbering; without exactOnly a commentary widens the verse to
    // its chapter and book.
    ArticleHandle FindArticleForVerse(bool all, IBibleStat* source, int verse, bool exactOnly, ArticleHandle after);

    // The article's title into buffer (size bytes with the NUL), after the commentary's name
    // and ": " when withCommentaryName is set or the commentary is not the current one; an
    // empty text for a handle that names nothing. The name alone when the title has no room.
    void GetArticleTitle(ArticleHandle article, bool withCommentaryName, char* buffer, int size);

    // Splits a handle this finder handed out since the list's last change; false for 0, a
    // negative value, a stale handle, a commentary that is not open and an entry past the
    // commentary's end.
    bool ResolveArticle(ArticleHandle article, int* index, int* position);
    // The handle of an entry the pane itself shows (its title box, its history), counted as
    // handed out; kNoArticle when it names nothing.
    ArticleHandle MakeArticle(int index, int position);
    // Forgets every handle handed out: the pane changed a commentary's entries.
    void ForgetArticles() { issued_.clear(); }

    // verse (in source's numbering) in the numbering of commentary index; 0 when either is
    // missing or the verse has no counterpart there.
    int ConvertVerse(int index, IBibleStat* source, int verse);

private:
    template <class Find>
    ArticleHandle Walk(bool all, ArticleHandle after, Find find);
    void Sync();

    VoLexiconList& list_;
    std::unordered_set<ArticleHandle> issued_;
    DWORD revision_ = 0;
};
