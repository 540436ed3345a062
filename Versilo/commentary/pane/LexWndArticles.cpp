// The pane as the bible view, the article view and the drop targets see it: articles of
// verses and keys, links followed both ways and the positioning of a loaded page.
#include <cstdio>
#include <vector>
#include "ArticleReferences.h"
#include "BibleObjects.h"
#include "LexWnd.h"

ArticleHandle VoLexWnd::FindArticleForKey(bool allCommentaries, const char* key, ArticleHandle after) {
    return key ? finder_.FindArticleForKey(allCommentaries, key, after) : kNoArticle;
}

ArticleHandle VoLexWnd::FindArticleForVerse(bool allCommentaries, IBibleStat* source, int verse, bool exactOnly,
                                            ArticleHandle after) {
    return finder_.FindArticleForVerse(allCommentaries, source, verse, exactOnly, after);
}

void VoLexWnd::GetArticleTitle(ArticleHandle article, bool withCommentaryName, char* buffer, int size) {
    finder_.GetArticleTitle(article, withCommentaryName, buffer, size);
}

void VoLexWnd::ShowArticle(ArticleHandle article, int verse, IBibleStat* source) {
    int index = -1, position = -1;
    if (!Handle() || !finder_.ResolveArticle(article, &index, &position)) return;
    if (!PushHistory()) return;
    const int pending = verse && source ? finder_.ConvertVerse(index, source, verse) : verse;
    ShowAt(index, position, pending, nullptr);
}

void VoLexWnd::GetLexiconBibleStat(ComPtr<IBibleStat>* out) {
    ComPtr<IBibleLangStat> langStat;
    GetLexiconLangStat(&langStat);
    out->Reset();
    if (langStat) langStat->GetBibleStat(out->Put());
}

void VoLexWnd::GetLexiconLangStat(ComPtr<IBibleLangStat>* out) {
    out->Reset();
    if (IVoLexicon* lex = Current()) lex->GetLangStat(out->Put());
}

void VoLexWnd::GetReferenceText(const char* reference, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    buffer[0] = '\0';
    if (!reference) return;
    if (!Current()) {
        snprintf(buffer, static_cast<size_t>(size), "No lexicon is chosen, so the text of %s cannot be found.",
                 reference);
        return;
    }
    ComPtr<IBibleLangStat> langStat;
    GetLexiconLangStat(&langStat);
    IBible* bible = host_->GetActiveBible();
    const int verse = ReferenceTextToVerse(langStat.Get(), bible, reference, buffer, size);
    if (!verse) return;
    VoBibleObjects objects(bible);
    objects.GetRangeText(verse, buffer, size, true);
}

void VoLexWnd::GoToBibleReference(const char* reference) {
    if (!reference || !Current()) return;
    ComPtr<IBibleLangStat> langStat;
    GetLexiconLangStat(&langStat);
    char message[256];
    const int verse = ReferenceTextToVerse(langStat.Get(), host_->GetActiveBible(), reference, message, sizeof message);
    if (verse) host_->GoToReference(verse);
}

void VoLexWnd::OpenLexiconReference(const char* title) {
    IVoLexicon* lex = Current();
    if (!title || !lex) return;
    int position = -1;
    VARIANT_BOOL exact = VARIANT_FALSE;
    if (FAILED(lex->FindEntry(title, &position, &exact)) || exact == VARIANT_FALSE) return;
    const ArticleHandle article = finder_.MakeArticle(list_.GetCurrent(), position);
    if (article != kNoArticle) ShowArticle(article, 0, nullptr);
}

void VoLexWnd::OnPageLoaded() {
    if (hasPendingView_) {
        ApplyViewState(pendingView_);
    } else if (pendingVerse_ && Current()) {
        std::vector<char[kHeadingTextSize]> texts(kHeadingTableSize);
        std::vector<VoPageElement> elements(kHeadingTableSize);
        const int n = view_.CollectHeadingReferences(texts.data(), elements.data());
        const char* headings[kHeadingTableSize];
        for (int i = 0; i < n && i < kHeadingTableSize; ++i) headings[i] = texts[i];
        ComPtr<IBibleLangStat> langStat;
        GetLexiconLangStat(&langStat);
        const int chosen = ChooseHeadingForVerse(langStat.Get(), headings, n, pendingVerse_);
        if (chosen >= 0 && chosen < n) view_.ScrollElementIntoView(elements[chosen]);
    } else if (!IsEditing()) {
        view_.SetScrollTop(0);
    }
    hasPendingView_ = false;
    pendingVerse_ = 0;
}
