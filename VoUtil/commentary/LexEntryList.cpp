#include "LexEntryList.h"
#include <algorithm>
#include "VarInt.h"

int LexEntryList::VisiblePositionFrom(int number) const {
    return static_cast<int>(std::lower_bound(visible_.begin(), visible_.end(), number) - visible_.begin());
}

int LexEntryList::LowerBound(const LexKey& key, const KeyOrder& order) const {
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (order.Less(keys_[mid], key)) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

int LexEntryList::Find(const LexKey& key, const KeyOrder& order) const {
    int n = LowerBound(key, order);
    return n < Count() && order.Compare(keys_[n], key) == 0 ? n : -1;
}

int LexEntryList::Resolve(int number) const {
    // A chain longer than the list must be a loop.
    for (int steps = 0; steps <= Count(); ++steps) {
        if (number < 0 || number >= Count()) return -1;
        DWORD w = words_[number];
        if (IndexFlags(w) == kArticleEntry) return number;
        number = static_cast<int>(IndexValue(w));
    }
    return -1;
}

HRESULT LexEntryList::Assign(std::vector<LexKey> keys, std::vector<DWORD> words) {
    if (keys.size() != words.size()) return E_FAIL;
    return NoThrow([&] {
        size_t n = keys.size();
        // Each alias chain must end at an article: 0 unknown, 1 on the path now, 2 good.
        std::vector<BYTE> state(n, 0);
        std::vector<size_t> path;
        for (size_t i = 0; i < n; ++i) {
            size_t at = i;
            path.clear();
            while (state[at] == 0) {
                DWORD w = words[at];
                if (IndexFlags(w) == 3) return E_FAIL;
                if (IndexFlags(w) == kArticleEntry) break;
                state[at] = 1;
                path.push_back(at);
                at = IndexValue(w);
                if (at >= n || state[at] == 1) return E_FAIL;
            }
            for (size_t p : path) state[p] = 2;
            state[at] = 2;
        }
        keys_.swap(keys);
        words_.swap(words);
        RebuildVisible();
        return S_OK;
    });
}

void LexEntryList::RebuildVisible() {
    visible_.clear();
    visible_.reserve(keys_.capacity());
    for (int& c : kindCounts_) c = 0;
    for (int i = 0; i < Count(); ++i) {
        if (IndexFlags(words_[i]) != kUnlistedAlias) visible_.push_back(i);
        int kind = keys_[i].kind;
        if (kind >= 1 && kind <= 3) ++kindCounts_[kind - 1];
    }
}

void LexEntryList::Reserve(size_t needed) {
    size_t cap = keys_.capacity();
    if (needed <= cap) return;
    size_t grown = cap < 100 ? cap + 10 : cap + cap / 10;
    if (grown < needed) grown = needed;
    keys_.reserve(grown);
    words_.reserve(grown);
    visible_.reserve(grown);
}

HRESULT LexEntryList::InsertArticle(int number, LexKey key) {
    if (number < 0 || number > Count()) return E_INVALIDARG;
    // All room is taken first, so that nothing below can fail half-way.
    HRESULT hr = NoThrow([&] { Reserve(keys_.size() + 1); return S_OK; });
    if (FAILED(hr)) return hr;
    for (DWORD& w : words_)
        if (IndexValue(w) >= static_cast<DWORD>(number)) w = MakeIndexWord(IndexValue(w) + 1, IndexFlags(w));
    keys_.insert(keys_.begin() + number, std::move(key));
    words_.insert(words_.begin() + number, MakeIndexWord(static_cast<DWORD>(number), kArticleEntry));
    auto pos = std::lower_bound(visible_.begin(), visible_.end(), number);
    for (auto it = pos; it != visible_.end(); ++it) ++*it;
    visible_.insert(pos, number);
    ++kindCounts_[keys_[number].kind - 1];
    return S_OK;
}

HRESULT LexEntryList::Remove(int number, std::vector<int>* removed) {
    if (number < 0 || number >= Count()) return E_INVALIDARG;
    return NoThrow([&] {
        std::vector<int> gone{number};
        // Aliases whose chain ends at this entry go with it.
        for (int i = 0; i < Count(); ++i)
            if (i != number && !IsArticle(i) && Resolve(i) == number) gone.push_back(i);
        std::sort(gone.rbegin(), gone.rend());
        if (removed) *removed = gone;
        for (int g : gone) {
            --kindCounts_[keys_[g].kind - 1];
            keys_.erase(keys_.begin() + g);
            words_.erase(words_.begin() + g);
            for (DWORD& w : words_)
                if (IndexValue(w) > static_cast<DWORD>(g)) w = MakeIndexWord(IndexValue(w) - 1, IndexFlags(w));
        }
        RebuildVisible();
        return S_OK;
    });
}

void LexEntryList::Clear() {
    keys_.clear();
    words_.clear();
    visible_.clear();
    for (int& c : kindCounts_) c = 0;
}
