// VoBibleSearch: the full-text search over one translation that the search dialog runs: the
// translation's four interfaces, its verse text table and the table's word list, the words
// that begin with a typed prefix, and the hits of the last search with their reference
// values and texts. It holds no window; the dialog shows what it finds.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "BibleObjects.h"
#include "ComPtr.h"
#include "RyTextUtilsIdl.h"

// Room for one word of the word list with its NUL (IRyDictionary::Word has no size).
constexpr int kSearchWordSize = 128;

class VoBibleSearch {
public:
    explicit VoBibleSearch(IBible* bible);
    ~VoBibleSearch();
    VoBibleSearch(const VoBibleSearch&) = delete;
    VoBibleSearch& operator=(const VoBibleSearch&) = delete;

    // The translation has its four interfaces, a text table and a word list: it can be searched.
    bool IsReady() const { return table_ && dictionary_ && !objects_.IsEmpty(); }
    const VoBibleObjects& Objects() const { return objects_; }
    int BookCount() const { return bookCount_; }
    // The first book of the New Testament, or -1 when the language's first two aliases do
    // not split the bible into the two testaments.
    int FirstNewTestamentBook() const { return firstNewTestament_; }

    // The language name of the word list (ANSI), which names the search history; false
    // when there is none.
    bool GetLanguageName(std::string* name) const;

    // The words that begin with prefix, in the word list's order: [*begin, *end).
    bool FindWordsWithPrefix(const char* prefix, long* begin, long* end) const;
    // Word i into buffer (kSearchWordSize bytes); false for an index outside the list.
    bool GetWord(long index, char* buffer) const;

    // Searches books firstBook..lastBook for query (the text table's query language). The
    // previous hits go first; a failing query, an empty query or a range that holds no
    // verse leaves no hits. Answers Find's HRESULT (S_FALSE when nothing was searched).
    HRESULT Search(const char* query, int firstBook, int lastBook);
    void ClearHits();

    int GetHitCount() const { return hitCount_; }
    // The linear verse of hit i, -1 outside 0..count-1.
    int GetHitVerse(int index) const;
    // Hit i as a verse-level reference value, 0 outside the hits.
    int GetHitRef(int index) const;
    // The reference text of hit i into buffer (kFormatRefBufferSize bytes); an empty text
    // outside the hits. Returns buffer.
    char* GetHitText(int index, char* buffer) const;
    // The verse text of hit i (blanks collapsed), empty outside the hits.
    std::string GetHitVerseText(int index) const;

private:
    VoBibleObjects objects_;
    ComPtr<IRyTextTab> table_;
    ComPtr<IRyDictionary> dictionary_;
    int bookCount_ = 0;
    int firstNewTestament_ = -1;
    long* hits_ = nullptr;  // from the text table, freed with CoTaskMemFree
    int hitCount_ = 0;
};

// A query is one word when it is not empty and holds only letters, digits, "-" and "'".
bool IsSingleWordQuery(const char* query);

// The first New Testament book by the language's aliases 0 and 1 (see FirstNewTestamentBook).
int FindFirstNewTestamentBook(IBibleLangStat* lang, int bookCount);

// The words joined by "/" into one query: any of them.
std::string JoinAlternatives(const std::vector<std::string>& words);
