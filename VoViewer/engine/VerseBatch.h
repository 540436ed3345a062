// VoVerseBatch: the texts of the next verses of the list, prepared while the bible file is
// open, so that it can be closed until the next batch. Each text keeps the list position
// it came from, so that entries passed over (unreadable, not in the bible, empty) never
// shift the positions of those shown.
#pragma once
#include <windows.h>
#include "BibleObjects.h"

class VoViewerRefList;

class VoVerseBatch {
public:
    static constexpr int kPoolSize = 4096;  // characters of all texts with their NULs
    static constexpr int kMaxTexts = 32;    // entries read for one batch at most
    static constexpr int kTextRoom = 1000;  // room of one text with its NUL
    static constexpr int kLowWater = 50;    // a batch ends when no more than this is left

    // Reads from list position start on, at most kMaxTexts entries; each is converted
    // into the bible's numbering and its text (cut with " ..." to kTextRoom) stored while
    // it fits in the pool. A text that no longer fits ends the batch; the next one starts
    // with it.
    void Fill(const VoBibleObjects& bible, const VoViewerRefList& list, int start);
    void Clear();

    int GetCount() const { return count_; }
    bool HasCurrent() const { return cursor_ < count_; }
    const char* GetText() const { return texts_[cursor_]; }  // only with HasCurrent
    int GetRef() const { return refs_[cursor_]; }
    int GetPosition() const { return positions_[cursor_]; }
    // Steps past the current text; returns the list position of the verse now current:
    // the next text's, or after the last where the next batch starts.
    int Advance();

private:
    char pool_[kPoolSize] = {};
    const char* texts_[kMaxTexts] = {};
    int refs_[kMaxTexts] = {};       // in the bible's numbering
    int positions_[kMaxTexts] = {};  // in the list
    int count_ = 0;
    int cursor_ = 0;
    int nextPosition_ = 0;  // where the following batch starts
};
