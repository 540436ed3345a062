// VoBibleInfo: one installed bible of the "Bibles" directory, with its names and display
// settings cached in the registry (HKEY_CURRENT_USER, application key + "\bibles\" + the
// file name without its extension) and its bible object, opened on first use.
#pragma once
#include <windows.h>
#include "IBible.h"
#include "ComPtr.h"
#include "ShellRoutines.h"

class VoWindowMarkCache;

// Display bits of Settings.
constexpr DWORD kBibleShowHeadings = 1;    // section headings shown
constexpr DWORD kBibleShowReferences = 2;  // cross-references shown
constexpr DWORD kBibleHideBrackets = 4;    // brackets hidden
// The highest set bit of Settings marks its layout; this one is the current layout.
constexpr DWORD kBibleSettingsMarker = 8;

class VoBibleInfo {
public:
    VoBibleInfo() = default;
    // Copies share the bible object (one more reference) but not the colour-marking
    // cache, which is registered in one record only.
    VoBibleInfo(const VoBibleInfo&) = default;
    VoBibleInfo& operator=(const VoBibleInfo&) = default;

    // Fills the record for one file of the Bibles directory: names and settings from the
    // registry, and from the file itself when the registry lacks them or holds settings of
    // an older layout (then written back).
    void Load(const char* fileName);

    // The bible, add-referenced, or null. Each call tries to open the file until it opens.
    IBible* GetBible();
    // Writes DWORD "Settings" to the per-bible key; true on success.
    bool SaveSettings() const;

    const char* GetFileName() const { return fileName_; }
    const char* GetShortName() const { return shortName_; }
    const char* GetName() const { return longName_; }
    DWORD GetSettings() const { return settings_; }
    bool HasHeaders() const { return hasHeaders_ != 0; }
    bool TestFlagBit0() const { return (settings_ & kBibleShowHeadings) != 0; }
    bool TestFlagBit1() const { return (settings_ & kBibleShowReferences) != 0; }
    bool TestFlagBit2() const { return (settings_ & kBibleHideBrackets) != 0; }
    // Change one bit of Settings; not saved.
    void SetFlagBit0(bool on) { SetBit(kBibleShowHeadings, on); }
    void SetFlagBit1(bool on) { SetBit(kBibleShowReferences, on); }
    void SetFlagBit2(bool on) { SetBit(kBibleHideBrackets, on); }

    // The translation's colour-marking cache while one exists (borrowed), or null; the
    // cache registers and unregisters itself. The colour markings of the bible view make
    // it and rebuild it (MakeMarkCache and RefreshMarkCache, WindowMarkCache.h).
    VoWindowMarkCache* GetMarkCache() const { return markCache_.cache; }
    void SetMarkCache(VoWindowMarkCache* cache) { markCache_.cache = cache; }

private:
    void SetBit(DWORD bit, bool on) { settings_ = on ? (settings_ | bit) : (settings_ & ~bit); }
    void ReadCachedValues(bool* headersKnown);
    void WriteCachedNames() const;
    // "bibles\" + the file name without its extension.
    bool KeyPath(char* path, int capacity) const;

    char fileName_[kListedNameSize] = {};
    char shortName_[kBibleShortNameSize] = {};
    char longName_[kBibleLongNameSize] = {};
    ComPtr<INewBible> bible_;
    DWORD settings_ = kBibleShowHeadings;
    BYTE hasHeaders_ = 1;
    // A copy of a record starts without a cache; an assigned record keeps its own.
    struct MarkCacheLink {
        MarkCacheLink() = default;
        MarkCacheLink(const MarkCacheLink&) {}
        MarkCacheLink& operator=(const MarkCacheLink&) { return *this; }
        VoWindowMarkCache* cache = nullptr;
    };
    MarkCacheLink markCache_;
};
