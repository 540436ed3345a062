// VoLexHistory: the articles the commentary pane showed before the current one, newest last,
// at most kLexHistorySize of them; the oldest goes when a new one comes. Each entry names its
// commentary by its index in the commentary list and its entry by its sorted position, with
// the view state (scroll top, scroll height, client height) it was left at.
#pragma once
#include <windows.h>
#include <vector>

constexpr int kLexHistorySize = 50;

struct VoLexViewState {
    long top = 0;
    long height = 10;
    long client = 10;
};

struct VoLexHistoryEntry {
    int commentary = -1;
    int position = -1;
    VoLexViewState view;
};

class VoLexHistory {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    const VoLexHistoryEntry& At(int i) const { return entries_[static_cast<size_t>(i)]; }
    // Adds an entry at the end, dropping the oldest when the history is full.
    void Push(const VoLexHistoryEntry& entry);
    // Takes the newest entry out into *entry; false (nothing changed) when empty.
    bool Pop(VoLexHistoryEntry* entry);
    void Clear() { entries_.clear(); }
    // Follows a change of commentary's sorted entries: the entry at removedAt (or -1) was
    // taken out, then one was put in at insertedAt (or -1). Entries of the removed position
    // are dropped unless an insertion follows, which they then name (a renamed entry keeps
    // its history); entries of other commentaries are left alone.
    void AdjustPositions(int commentary, int removedAt, int insertedAt);
    // Renumbers the commentaries: newIndex[old] is the new index, -1 to drop its entries;
    // indices outside the table are dropped too.
    void RenumberCommentaries(const std::vector<int>& newIndex);

private:
    std::vector<VoLexHistoryEntry> entries_;
};
