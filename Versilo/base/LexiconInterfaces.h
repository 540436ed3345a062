// The interfaces between the commentary pane and the rest of the program:
//   AVoLexicon         - the pane as the bible view sees it (implemented by the pane);
//   AVoLexWndHost      - what the pane asks of the main frame (implemented by the frame);
//   AVoLexTextWndHost  - what the article view asks of the pane (implemented by the pane);
//   ADropTargetOwner   - what the pane's drop targets ask of it (implemented by the pane).
// Every pointer handed across them is borrowed unless the operation says otherwise. The
// order of the operations is fixed.
#pragma once
#include <windows.h>
#include "ArticleHandle.h"
#include "ComPtr.h"
#include "IBible.h"
#include "IBibleLangStat.h"
#include "IBibleStat.h"

class VoBibleInfoList;

class AVoLexicon {
public:
    // The first article after `after` (kNoArticle: from the start) whose title matches key,
    // in the current commentary or, with allCommentaries, in every commentary.
    virtual ArticleHandle FindArticleForKey(bool allCommentaries, const char* key, ArticleHandle after) = 0;
    // The first article after `after` that belongs to verse, a reference in source's
    // numbering; exactOnly leaves out articles of larger ranges that contain it.
    virtual ArticleHandle FindArticleForVerse(bool allCommentaries, IBibleStat* source, int verse, bool exactOnly,
                                              ArticleHandle after) = 0;
    // Shows an article; verse (or 0) and source (or null) tell which verse asked for it.
    virtual void ShowArticle(ArticleHandle article, int verse, IBibleStat* source) = 0;
    // True while the commentary index is locked: articles of commentaries other than the
    // current one count as not linked.
    virtual bool IsIndexLocked() = 0;
    virtual void GetArticleTitle(ArticleHandle article, bool withCommentaryName, char* buffer, int size) = 0;

protected:
    ~AVoLexicon() = default;
};

class AVoLexWndHost {
public:
    // The active bible window redraws its markers of commentary articles.
    virtual void RedrawBibleWindow() = 0;
    // The active pane's bible (borrowed), or null.
    virtual IBible* GetActiveBible() = 0;
    // The active pane goes to verse, a reference in its own numbering.
    virtual void GoToReference(int verse) = 0;
    // The registered clipboard format "VersiloReference".
    virtual UINT GetReferenceFormat() = 0;
    virtual VoBibleInfoList* GetBibleList() = 0;
    // The active pane's bible as an index of GetBibleList.
    virtual int GetActiveBibleIndex() = 0;

protected:
    ~AVoLexWndHost() = default;
};

class AVoLexTextWndHost {
public:
    // The verse text of a "bible:" link's reference, into buffer (size bytes with the NUL).
    virtual void GetReferenceText(const char* reference, char* buffer, int size) = 0;
    virtual void GoToBibleReference(const char* reference) = 0;
    virtual void OpenLexiconReference(const char* title) = 0;
    virtual void OnPageLoaded() = 0;

protected:
    ~AVoLexTextWndHost() = default;
};

class ADropTargetOwner {
public:
    virtual UINT GetReferenceFormat() = 0;
    // The current commentary's statistics, or an empty holder when there is none.
    virtual void GetLexiconBibleStat(ComPtr<IBibleStat>* out) = 0;
    // The current commentary's language statistics, or an empty holder.
    virtual void GetLexiconLangStat(ComPtr<IBibleLangStat>* out) = 0;

protected:
    ~ADropTargetOwner() = default;
};
