// VoVerseBitSet: one bit per linear verse (zero-based), bit (i & 31) of word (i >> 5) for
// verse i, over words it owns or shares with another set.
//
// Every access is checked against the bit count: a verse outside the set reads as
// unmarked and is never written, and the bits above the count in the last word
// (padding) are never answered by a search.
#pragma once
#include <windows.h>

class VoVerseBitSet {
public:
    VoVerseBitSet() = default;
    ~VoVerseBitSet() { Free(); }
    VoVerseBitSet(const VoVerseBitSet&) = delete;
    VoVerseBitSet& operator=(const VoVerseBitSet&) = delete;

    // An owned, zeroed array of (bits + 31) / 32 words. False (and an empty set) when it
    // cannot be allocated or bits is negative.
    bool Init(int bits);
    // Uses other's words without owning them; other must outlive this set or be shared
    // again first.
    void Share(const VoVerseBitSet& other);
    // Frees owned words; the set is empty afterwards.
    void Free();

    int GetBitCount() const { return bits_; }
    UINT GetWordCount() const { return wordCount_; }
    bool IsOwned() const { return owned_; }
    const UINT32* GetWords() const { return words_; }
    UINT32* GetWords() { return words_; }

    bool Test(int verse) const;
    // Sets or clears the bit of verse; true when it changed. A verse outside the set
    // changes nothing.
    bool Set(int verse, bool on);
    // Sets the bits first..last (inclusive), clipped to the set.
    void SetRange(int first, int last);
    bool IsEmpty() const;
    void ClearAll();
    // Clears the bits above the bit count in the last word.
    void MaskPadding();

    // The nearest set bit above verse (below it), -1 when there is none. Any int is a
    // valid start: FindNext(-1) finds the first bit, FindPrevious(GetBitCount()) the last.
    int FindNext(int verse) const;
    int FindPrevious(int verse) const;

private:
    UINT32* words_ = nullptr;
    UINT wordCount_ = 0;
    int bits_ = 0;
    bool owned_ = false;
};
