// VoRefLibList: the reference libraries of the RefLibs directory, one entry per ".brf"
// file, sorted by file name (case ignored; equal names in the order the directory lists
// them), each with the library's own name (empty when the file does not open).
#pragma once
#include <windows.h>
#include <vector>
#include "IBibleRefLib.h"
#include "ShellRoutines.h"

struct VoRefLibEntry {
    char fileName[kListedNameSize];
    char title[kListedNameSize];

    // Names the file and reads its title from the library.
    void Init(const char* name);
};

// Opens a file of the RefLibs directory through VoUtil; *out is the library with one
// reference, or null. Passes the open's HRESULT through.
HRESULT OpenRefLibFile(const char* fileName, IBibleRefLib** out);

class VoRefLibList {
public:
    VoRefLibList();
    VoRefLibList(const VoRefLibList&) = delete;
    VoRefLibList& operator=(const VoRefLibList&) = delete;

    int GetCount() const { return static_cast<int>(entries_.size()); }
    const VoRefLibEntry& GetAt(int index) const { return entries_[static_cast<size_t>(index)]; }

private:
    std::vector<VoRefLibEntry> entries_;
};
