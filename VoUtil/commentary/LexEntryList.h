// The entry list of a lexicon: its keys in key order, one index word per entry (an article,
// or an alias listed or unlisted, with its target), the visible list of entries that the
// title list shows, and the counts of each kind of key.
#pragma once
#include <windows.h>
#include <vector>
#include "LexKey.h"

// Index word: value << 2 | flags.
enum LexEntryFlags { kArticleEntry = 0, kListedAlias = 1, kUnlistedAlias = 2 };
inline DWORD MakeIndexWord(DWORD value, DWORD flags) { return value << 2 | flags; }
inline DWORD IndexValue(DWORD word) { return word >> 2; }
inline DWORD IndexFlags(DWORD word) { return word & 3; }

class LexEntryList {
public:
    int Count() const { return static_cast<int>(keys_.size()); }
    const LexKey& Key(int number) const { return keys_[number]; }
    DWORD IndexWord(int number) const { return words_[number]; }
    bool IsArticle(int number) const { return IndexFlags(words_[number]) == kArticleEntry; }

    int VisibleCount() const { return static_cast<int>(visible_.size()); }
    int VisibleEntry(int position) const { return visible_[position]; }
    // The first visible position whose entry number is not below number (the count when none).
    int VisiblePositionFrom(int number) const;

    int CountOfKind(int kind) const { return kind >= 1 && kind <= 3 ? kindCounts_[kind - 1] : 0; }

    // The first entry not ordered before key.
    int LowerBound(const LexKey& key, const KeyOrder& order) const;
    // The entry with exactly this key, or −1.
    int Find(const LexKey& key, const KeyOrder& order) const;

    // The article an entry stands for: itself, or the end of its alias chain. −1 when the
    // chain leaves the list or runs in a loop (a loaded list has neither).
    int Resolve(int number) const;

    // Replaces the whole list (after reading a file). Checks every index word: targets in the
    // list, no alias loops. E_FAIL for a list that breaks them; nothing changes then.
    HRESULT Assign(std::vector<LexKey> keys, std::vector<DWORD> words);

    // Inserts an article at number; index values at or above it move up by one.
    // E_OUTOFMEMORY leaves the list as it was.
    HRESULT InsertArticle(int number, LexKey key);
    // Removes an entry; index values above it move down by one. Aliases that pointed at it
    // are removed with it (they would point at another article or outside the list).
    // Answers the numbers removed, highest first, through removed (when given).
    HRESULT Remove(int number, std::vector<int>* removed = nullptr);
    void Clear();

private:
    void RebuildVisible();
    void Reserve(size_t needed);

    std::vector<LexKey> keys_;
    std::vector<DWORD> words_;
    std::vector<int> visible_;
    int kindCounts_[3] = {0, 0, 0};
};
