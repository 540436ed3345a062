// VoBibleSearch: the translation's text table and word list, the search over a range of
// books and the hits it leaves.
#include "BibleSearch.h"
#include <objbase.h>
#include <algorithm>
#include "IBible.h"
#include "OleHandles.h"

VoBibleSearch::VoBibleSearch(IBible* bible) : objects_(bible) {
    if (objects_.IsEmpty()) return;
    bookCount_ = objects_.GetStat()->GetBookCount();
    firstNewTestament_ = FindFirstNewTestamentBook(objects_.GetLangStat(), bookCount_);
    // Only a bible of the new format has a text table; an old one has none to search.
    ComPtr<INewBible> newBible;
    ComPtr<IUnknown> table;
    if (FAILED(bible->QueryInterface(IID_INewBible, newBible.PutVoid())) || !newBible) return;
    if (FAILED(newBible->GetTextTable(table.Put())) || !table) return;
    if (FAILED(table.As(IID_IRyTextTab, &table_)) || !table_) return;
    if (FAILED(table_->get_Dictionary(dictionary_.Put())) || !dictionary_) table_.Reset();
}

VoBibleSearch::~VoBibleSearch() {
    ClearHits();
    dictionary_.Reset();
    table_.Reset();
    objects_.Clear();
}

bool VoBibleSearch::GetLanguageName(std::string* name) const {
    name->clear();
    if (!dictionary_) return false;
    ComPtr<IRyLanguage> language;
    Bstr text;
    if (FAILED(dictionary_->get_Language(language.Put())) || !language) return false;
    if (FAILED(language->get_LanguageName(text.Put())) || text.Length() == 0) return false;
    const int wide = static_cast<int>(text.Length());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.Get(), wide, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    name->assign(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.Get(), wide, &(*name)[0], size, nullptr, nullptr);
    return true;
}

bool VoBibleSearch::FindWordsWithPrefix(const char* prefix, long* begin, long* end) const {
    *begin = *end = 0;
    if (!dictionary_) return false;
    long b = 0, e = 0;
    if (FAILED(dictionary_->FindPrefix(const_cast<LPSTR>(prefix), &b, &e)) || e < b) return false;
    *begin = b;
    *end = e;
    return true;
}

bool VoBibleSearch::GetWord(long index, char* buffer) const {
    buffer[0] = '\0';
    return dictionary_ && SUCCEEDED(dictionary_->get_Word(index, buffer));
}

void VoBibleSearch::ClearHits() {
    ::CoTaskMemFree(hits_);
    hits_ = nullptr;
    hitCount_ = 0;
}

HRESULT VoBibleSearch::Search(const char* query, int firstBook, int lastBook) {
    ClearHits();
    if (!IsReady() || !query || !*query) return S_FALSE;
    if (firstBook < 0 || lastBook >= bookCount_ || firstBook > lastBook) return S_FALSE;
    IBibleStat* stat = objects_.GetStat();
    const int begin = stat->RefToVerseIndex(firstBook, 0, 0);
    const int last = stat->RefToVerseIndex(lastBook, 0, 0);
    if (begin < 0 || last < 0) return S_FALSE;
    long texts = 0;
    if (FAILED(table_->get_TextCount(&texts))) return S_FALSE;
    // A table with fewer texts than the statistics have verses is searched as far as it goes.
    const long end = (std::min)(static_cast<long>(last) + stat->GetVersesInBook(lastBook), texts);
    if (begin >= end) return S_FALSE;
    long count = 0;
    long* found = nullptr;
    const HRESULT hr = table_->Find(begin, end, const_cast<LPSTR>(query), &count, &found);
    if (hr == S_OK && found && count > 0) {
        hits_ = found;
        hitCount_ = static_cast<int>(count);
    } else {
        ::CoTaskMemFree(found);
    }
    return hr;
}

int VoBibleSearch::GetHitVerse(int index) const {
    return index >= 0 && index < hitCount_ ? static_cast<int>(hits_[index]) : -1;
}

int VoBibleSearch::GetHitRef(int index) const {
    const int verse = GetHitVerse(index);
    if (verse < 0) return 0;
    int book = 0, chapter = 0, number = 0;
    if (!objects_.GetStat()->VerseIndexToRef(verse, &book, &chapter, &number)) return 0;
    return objects_.MakeIndex(book, chapter, number);
}

char* VoBibleSearch::GetHitText(int index, char* buffer) const {
    buffer[0] = '\0';
    const int ref = GetHitRef(index);
    if (ref && FAILED(objects_.GetLangStat()->FormatRef(buffer, ref, 0, 0, 0, FALSE))) buffer[0] = '\0';
    return buffer;
}

std::string VoBibleSearch::GetHitVerseText(int index) const {
    const int ref = GetHitRef(index);
    if (!ref) return std::string();
    const int length = objects_.GetRangeText(ref, nullptr, 0, false);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int written = objects_.GetRangeText(ref, &text[0], length + 1, false);
    text.resize(static_cast<size_t>(written > 0 ? written : 0));
    return text;
}

bool IsSingleWordQuery(const char* query) {
    if (!query || !*query) return false;
    for (const char* p = query; *p; ++p)
        if (!::IsCharAlphaNumericA(*p) && *p != '-' && *p != '\'') return false;
    return true;
}

int FindFirstNewTestamentBook(IBibleLangStat* lang, int bookCount) {
    if (!lang || lang->GetAliasCount() < 2) return -1;
    int first0 = 0, last0 = 0, first1 = 0, last1 = 0;
    if (FAILED(lang->GetAliasTarget(0, &first0, &last0)) || FAILED(lang->GetAliasTarget(1, &first1, &last1)))
        return -1;
    if (first0 != 0 || first1 != last0 + 1 || last1 != bookCount - 1 || first1 >= bookCount) return -1;
    return first1;
}

std::string JoinAlternatives(const std::vector<std::string>& words) {
    size_t size = 0;
    for (const std::string& w : words) size += w.size() + 1;
    std::string query;
    query.reserve(size);
    for (const std::string& w : words) {
        if (!query.empty()) query += '/';
        query += w;
    }
    return query;
}
