// VoArticleFinder: the walk over the commentaries, the handles it hands out and titles.
#include "ArticleFinder.h"
#include "ShellRoutines.h"
#include "VoUtil.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

void VoArticleFinder::Sync() {
    if (revision_ == list_.Revision()) return;
    issued_.clear();
    revision_ = list_.Revision();
}

ArticleHandle VoArticleFinder::MakeArticle(int index, int position) {
    Sync();
    if (!list_.IsValidIndex(index)) return kNoArticle;
    IVoLexicon* lexicon = list_.GetAt(index).PeekLexicon();
    int count = 0;
    if (!lexicon || FAILED(lexicon->GetEntryCount(&count)) || position < 0 || position >= count) return kNoArticle;
    const ArticleHandle article = MakeArticleHandle(index, position);
    if (article == kNoArticle) return kNoArticle;
    try {
        issued_.insert(article);
    } catch (const std::bad_alloc&) {
        return kNoArticle;  // a handle that could not be remembered would never be accepted back
    }
    return article;
}

bool VoArticleFinder::ResolveArticle(ArticleHandle article, int* index, int* position) {
    Sync();
    if (article <= 0 || issued_.count(article) == 0) return false;
    const int i = ArticleCommentaryIndex(article);
    const int p = ArticlePosition(article);
    if (!list_.IsValidIndex(i)) return false;
    IVoLexicon* lexicon = list_.GetAt(i).PeekLexicon();
    int count = 0;
    if (!lexicon || FAILED(lexicon->GetEntryCount(&count)) || p < 0 || p >= count) return false;
    *index = i;
    *position = p;
    return true;
}

template <class Find>
ArticleHandle VoArticleFinder::Walk(bool all, ArticleHandle after, Find find) {
    Sync();
    if (!list_.IsValidIndex(list_.GetCurrent())) return kNoArticle;
    std::vector<int> order;
    size_t start = 0;
    try {
        if (all) {
            order.resize(static_cast<size_t>(list_.GetCount()));
            order.resize(static_cast<size_t>(list_.GetOpenInOrder(order.data())));
            if (after != kNoArticle) {
                const auto found = std::find(order.begin(), order.end(), ArticleCommentaryIndex(after));
                start = found == order.end() ? order.size() : static_cast<size_t>(found - order.begin()) + 1;
            }
        } else {
            order.push_back(list_.GetCurrent());
        }
    } catch (const std::bad_alloc&) {
        return kNoArticle;
    }
    for (size_t i = start; i < order.size(); ++i) {
        IVoLexicon* lexicon = list_.GetAt(order[i]).PeekLexicon();
        if (!lexicon) continue;
        const int id = find(order[i], lexicon);
        int position = -1;
        if (id == 0 || FAILED(lexicon->GetEntryPosition(id, &position))) continue;
        const ArticleHandle article = MakeArticle(order[i], position);
        if (article != kNoArticle) return article;
    }
    return kNoArticle;
}

ArticleHandle VoArticleFinder::FindArticleForKey(bool all, const char* key, ArticleHandle after) {
    if (!key) return kNoArticle;
    return Walk(all, after, [key](int, IVoLexicon* lexicon) {
        int id = 0;
        return SUCCEEDED(lexicon->FindEntryByKey(key, &id)) ? id : 0;
    });
}

ArticleHandle VoArticleFinder::FindArticleForVerse(bool all, IBibleStat* source, int verse, bool exactOnly,
                                                   ArticleHandle after) {
    return Walk(all, after, [this, source, verse, exactOnly](int index, IVoLexicon* lexicon) {
        const int converted = ConvertVerse(index, source, verse);
        int id = 0;
        if (converted == 0 || FAILED(lexicon->FindEntryForReference(converted, exactOnly ? TRUE : FALSE, &id)))
            return 0;
        return id;
    });
}

int VoArticleFinder::ConvertVerse(int index, IBibleStat* source, int verse) {
    if (!source || verse == 0 || !list_.IsValidIndex(index)) return 0;
    IVoLexicon* lexicon = list_.GetAt(index).PeekLexicon();
    ComPtr<IBibleLangStat> langStat;
    ComPtr<IBibleStat> stat;
    if (!lexicon || FAILED(lexicon->GetLangStat(langStat.Put())) || !langStat ||
        FAILED(langStat->GetBibleStat(stat.Put())) || !stat)
        return 0;
    int converted = 0;
    return ConvertRef(source, stat.Get(), verse, &converted) == S_OK ? converted : 0;
}

void VoArticleFinder::GetArticleTitle(ArticleHandle article, bool withCommentaryName, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    buffer[0] = '\0';
    int index = -1, position = -1;
    if (!ResolveArticle(article, &index, &position)) return;
    const VoLexiconItem& item = list_.GetAt(index);
    int used = 0;
    if (withCommentaryName || index != list_.GetCurrent()) {
        used = CopyWholeCharacters(buffer, size, item.GetName(), std::strlen(item.GetName()));
        used += CopyWholeCharacters(buffer + used, size - used, ": ", 2);
    }
    // The room left after the prefix: nothing when the prefix filled the buffer.
    const int room = size - used;
    if (room <= 1) return;
    if (FAILED(item.PeekLexicon()->GetEntryTitle(position, buffer + used, static_cast<unsigned>(room))))
        buffer[used] = '\0';
}
