// VoWindowMarkCache: the colour markings in one installed bible's own numbering, for
// painting and for the next and previous marked verse. A bible of the reference numbering
// shares the store's words; any other bible that converts to it owns bits that Refresh
// rebuilds from the store. Reference counted (the bible's panes and short-lived users hold
// it) and registered in its VoBibleInfo record while it exists.
#pragma once
#include <windows.h>
#include "ComPtr.h"
#include "IBibleStat.h"
#include "VerseBitSet.h"

class VoBibleInfo;
class VoKv61MarkedVerses;

class VoWindowMarkCache {
public:
    // The cache of record's bible over store, registered in the record; an empty holder
    // when the bible does not open. Used through VoBibleInfo::GetMarkCache.
    static ComPtr<VoWindowMarkCache> Create(VoBibleInfo* record, VoKv61MarkedVerses* store);
    VoWindowMarkCache(const VoWindowMarkCache&) = delete;
    VoWindowMarkCache& operator=(const VoWindowMarkCache&) = delete;

    ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG Release();

    // Markings can be shown and set in this bible.
    bool IsUsable() const { return usable_; }
    // The bits are this bible's own, converted from the store's.
    bool OwnsBits() const { return bits_.IsOwned(); }
    // Verse: a linear verse of the bible.
    bool IsMarked(int verse) const { return bits_.Test(verse); }
    // Marks or unmarks a verse of the bible in the store (through its counterparts in
    // the reference numbering); nothing when the cache is not usable or the verse has
    // no counterpart.
    void SetMark(int verse, bool on);
    // Rebuilds owned bits from the store; shared bits need nothing.
    void Refresh();
    // The bits in the bible's numbering, for FindNext and FindPrevious.
    const VoVerseBitSet& GetBits() const { return bits_; }

private:
    VoWindowMarkCache(VoBibleInfo* record, VoKv61MarkedVerses* store) : record_(record), store_(store) {}
    ~VoWindowMarkCache();
    bool Attach(IBibleStat* stat);
    // The linear verses of from's verse in to's numbering: first and last; false when it
    // has no counterpart there.
    static bool ConvertVerse(IBibleStat* from, IBibleHandles* fromHandles, IBibleStat* to, IBibleHandles* toHandles,
                             int verse, int* first, int* last);

    LONG refs_ = 1;
    VoBibleInfo* record_;
    VoKv61MarkedVerses* store_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
    VoVerseBitSet bits_;
    bool usable_ = false;
};

// The cache of record over store, made on first use; an empty holder when the bible does
// not open.
ComPtr<VoWindowMarkCache> MakeMarkCache(VoBibleInfo& record, VoKv61MarkedVerses* store);
// Rebuilds record's cache from the store when there is one and it converts the markings to
// that bible's numbering. The main frame calls it for every record when the markings change.
void RefreshMarkCache(VoBibleInfo& record);
