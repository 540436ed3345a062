// VoKv61MarkedVerses: the colour markings of the reader, one bit per verse of the reference
// numbering ("kv61.vos" in the Bibles directory), kept in the registry (application key,
// REG_BINARY "Green" and bool "GreenIsVisible"), exported to and imported from ".vrsv"
// files; and AVoKv61MarkedVersesSink, through which it tells the main frame of changes.
//
// The markings are the reader's own data. A store that could not load its numbering holds
// no bits and never writes "Green", so it cannot wipe what an earlier run saved; an import
// changes every word or none; a save that fails leaves the store dirty. Every start of the
// program makes a main window with a store of its own, so a save writes only the verses
// this store changed since it last read or wrote "Green" over what is stored then: the
// markings another window saved meanwhile stay.
#pragma once
#include <windows.h>
#include <vector>
#include "ComPtr.h"
#include "IBibleStat.h"
#include "VerseBitSet.h"

class AVoKv61MarkedVersesSink {
public:
    // Bits were set or cleared.
    virtual void OnMarksChanged() = 0;
    // The markings were shown or hidden.
    virtual void OnMarksVisibilityChanged() = 0;

protected:
    ~AVoKv61MarkedVersesSink() = default;
};

// The reference numbering's file in the Bibles directory.
extern const char kReferenceStatFile[];  // "kv61.vos"

class VoKv61MarkedVerses {
public:
    VoKv61MarkedVerses() = default;
    // Saves when something changed (Save), then frees the bits.
    ~VoKv61MarkedVerses();
    VoKv61MarkedVerses(const VoKv61MarkedVerses&) = delete;
    VoKv61MarkedVerses& operator=(const VoKv61MarkedVerses&) = delete;

    // Opens the reference numbering of the Bibles directory and reads the markings and
    // their visibility from the registry; called once. Without the numbering the store
    // has no bits and reads nothing; the result is then the failure of the open.
    HRESULT Load(AVoKv61MarkedVersesSink* sink);
    // When something changed since loading or since the last save that succeeded, writes
    // "GreenIsVisible" and, when verses changed, "Green": the value stored now with the
    // verses this store marked or unmarked since then set as it holds them (its own bits
    // stay as they are). S_OK written, S_FALSE nothing to write, else the failure (the
    // store stays dirty, so the next save tries again). Without the numbering only
    // "GreenIsVisible" is written.
    HRESULT Save();

    // The reference numbering was loaded: markings can be kept.
    bool HasNumbering() const { return stat_ && handles_; }
    IBibleStat* GetStat() const { return stat_.Get(); }
    IBibleHandles* GetHandles() const { return handles_.Get(); }
    int GetVerseCount() const { return bits_.GetBitCount(); }
    bool IsDirty() const { return dirty_; }

    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible);
    bool IsEmpty() const { return bits_.IsEmpty(); }
    bool IsMarked(int verse) const { return bits_.Test(verse); }
    // Sets or clears the bit of verse (a linear verse of the reference numbering) and
    // notifies when it changed; a verse outside the numbering changes nothing.
    void SetMarked(int verse, bool on);
    void ClearAll();
    // Marks the store dirty and tells the sink that bits changed.
    void Notify();
    // The bits, read-only: changes go through SetMarked, ClearAll and Import so that the
    // sink hears of them. A cache of a bible of the reference numbering shares them.
    const VoVerseBitSet& GetBits() const { return bits_; }

    // Writes a ".vrsv" file of every word; true only when all of it was written. An
    // earlier file at path is replaced only by a complete one.
    bool Export(const char* path) const;
    // Reads a ".vrsv" file into the words, ORed in when merging, else replacing them all.
    // A file that is not wholly readable and valid changes nothing and notifies nobody.
    bool Import(const char* path, bool merge);

private:
    AVoKv61MarkedVersesSink* sink_ = nullptr;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
    VoVerseBitSet bits_;
    // The words as last read from or written to "Green": what differs from them is what
    // this store changed.
    std::vector<UINT32> saved_;
    bool visible_ = true;
    bool dirty_ = false;
};
