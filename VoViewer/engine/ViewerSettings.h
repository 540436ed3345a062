// VoViewerSettings: the viewer's settings record, kept under the application key's
// "VoViewer" sub-key of HKEY_CURRENT_USER, and the list position "index" stored beside it.
#pragma once
#include <windows.h>

// The sub-key of the application key that holds the viewer's values.
extern const char kViewerSubKey[];
// The bible and the list the viewer looks for first.
extern const char kDefaultViewerBible[];
extern const char kDefaultViewerList[];

struct VoViewerSettings {
    static constexpr int kBibleSize = 64;     // bytes with the NUL
    static constexpr int kRefListSize = 260;  // bytes with the NUL

    char bible[kBibleSize] = {};
    // A list name, or a full path when it contains a backslash.
    char refList[kRefListSize] = {};
    int interval = 240;      // minutes
    int firstInterval = 30;  // minutes
    bool hiddenButtons = true;
    bool autoStart = true;
    bool centered = true;
    int x = 5000;  // 1/10000 of the desktop width
    int y = 5000;  // 1/10000 of the desktop height

    // Fills the defaults (all but x and y, which change only when read), then, when asked,
    // reads whatever the registry holds; a missing or unreadable value keeps its default.
    void Load(bool readRegistry);
    // Writes the values, creating the key; only Centered, x and y when positionOnly.
    // Failures are not reported: the values stay in memory.
    void Save(bool positionOnly) const;
    // True when the values beside the position (all but Centered, x and y) are the same.
    bool SameChoices(const VoViewerSettings& other) const;
    // True when those values differ from what the registry holds (its defaults where a
    // value is missing).
    bool DiffersFromStored() const;
};

// The stored list position: false when there is none (or it can't be read).
bool ReadListIndex(DWORD* index);
void WriteListIndex(int index);
