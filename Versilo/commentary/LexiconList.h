// VoLexiconList: the commentaries and lexicons the commentary pane knows: every packaged
// lexicon (".vrsl") and user commentary (".vol", ".vrsn") in the "Lexicons" directory, and
// the user commentaries added from elsewhere, remembered in the registry under "lexicons"
// ("UserList": their file names joined by "|"; per file a key with its settings and path).
//
// A user commentary inside "Lexicons" is written into "UserList" as well, with its path, so
// it stays listed by every reader of the list.
#pragma once
#include <windows.h>
#include <vector>
#include "LexiconItem.h"

// String resources of the list's refusals and failures.
constexpr UINT kIdsVersionSuffix = 108;      // " versjon 1"
constexpr UINT kIdsCannotOpen = 211;         // "Klarte ikke åpne %1."
constexpr UINT kIdsCannotSave = 136;         // "Klarte ikke lagre kommentarfilen %1."
constexpr UINT kIdsFileNameTooLong = 1031;   // the file name has too many characters

// Most names listed at start, and the room of "UserList" read back (every name with its "|").
constexpr int kMaxListedLexicons = 256;
constexpr int kUserListCapacity = kMaxListedLexicons * kLexFileNameSize;

class VoLexiconList {
public:
    // Builds the list from the "Lexicons" directory and the registry; no current commentary.
    VoLexiconList();
    VoLexiconList(const VoLexiconList&) = delete;
    VoLexiconList& operator=(const VoLexiconList&) = delete;

    int GetCount() const { return static_cast<int>(items_.size()); }
    VoLexiconItem& GetAt(int index) { return items_[static_cast<size_t>(index)]; }
    const VoLexiconItem& GetAt(int index) const { return items_[static_cast<size_t>(index)]; }
    bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }

    // Counts the changes of records' places and open commentaries (adding, removing,
    // switching on or off through SetActive): article handles made before a change name
    // nothing any more.
    DWORD Revision() const { return revision_; }

    // The pane's current commentary, -1 for none.
    int GetCurrent() const { return current_; }
    void SetCurrent(int index) { current_ = index; }

    // Switches a record on or off (VoLexiconItem::SetActive); on failure *messageId (when
    // given) names the message to show with the record's name: kIdsCannotOpen when it does
    // not open, kIdsCannotSave when its changes could not be saved (it then stays open).
    bool SetActive(VoLexiconItem& item, bool on, UINT* messageId = nullptr);

    // True when the record's path is the "Lexicons" directory followed by its file name.
    bool IsInDefaultFolder(const VoLexiconItem& item) const;
    // The file is a packaged lexicon (".vrsl"); the pane shows such files with image 1.
    static bool IsPackagedLexicon(const char* path);
    // No record has this path's file name (case ignored; directories are not compared).
    bool IsNotListed(const char* path) const;

    // Adds the file at the end with Order = the old count; returns its index, or -1 when it
    // was not added, with *messageId (when given) naming why: kIdsFileNameTooLong for a
    // file name of kLexFileNameSize characters or more, else kIdsCannotOpen.
    int AddFile(const char* path, UINT* messageId = nullptr);
    // Drops a record (its commentary released without saving); its registry key stays.
    void RemoveAt(int index);

    // Writes "UserList" and the settings of every record that opened.
    void SaveAll() const;

    // The record becomes the most recent (Order 0); the ones before it move back by one.
    void MarkMostRecent(int index);
    // The number of open records; when order is given (one slot per record), their indices
    // most recent first.
    int GetOpenInOrder(int* order) const;

private:
    void Append(VoLexiconItem& item);
    // Kept in "UserList": files outside "Lexicons", and user commentaries inside it.
    bool BelongsInUserList(const VoLexiconItem& item) const;

    std::vector<VoLexiconItem> items_;
    char directory_[MAX_PATH] = {};
    int current_ = -1;
    DWORD revision_ = 0;
};
