#include "LexHistory.h"

void VoLexHistory::Push(const VoLexHistoryEntry& entry) {
    if (Count() >= kLexHistorySize) entries_.erase(entries_.begin(), entries_.end() - (kLexHistorySize - 1));
    entries_.push_back(entry);
}

bool VoLexHistory::Pop(VoLexHistoryEntry* entry) {
    if (entries_.empty()) return false;
    *entry = entries_.back();
    entries_.pop_back();
    return true;
}

void VoLexHistory::AdjustPositions(int commentary, int removedAt, int insertedAt) {
    std::vector<VoLexHistoryEntry> kept;
    kept.reserve(entries_.size());
    for (VoLexHistoryEntry e : entries_) {
        if (e.commentary == commentary) {
            bool removed = false;
            if (removedAt >= 0) {
                if (e.position == removedAt)
                    removed = true;
                else if (e.position > removedAt)
                    --e.position;
            }
            if (insertedAt >= 0) {
                if (removed) {
                    e.position = insertedAt;
                    removed = false;
                } else if (e.position >= insertedAt) {
                    ++e.position;
                }
            }
            if (removed) continue;
        }
        kept.push_back(e);
    }
    entries_.swap(kept);
}

void VoLexHistory::RenumberCommentaries(const std::vector<int>& newIndex) {
    std::vector<VoLexHistoryEntry> kept;
    for (VoLexHistoryEntry e : entries_) {
        if (e.commentary < 0 || e.commentary >= static_cast<int>(newIndex.size())) continue;
        e.commentary = newIndex[static_cast<size_t>(e.commentary)];
        if (e.commentary >= 0) kept.push_back(e);
    }
    entries_.swap(kept);
}
