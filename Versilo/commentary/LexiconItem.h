// VoLexiconItem: one commentary or lexicon file the commentary pane knows, with its opened
// commentary object and the settings the program keeps for it in the registry under
// "lexicons\" + the file name (HKEY_CURRENT_USER, application key).
#pragma once
#include <windows.h>
#include "ComPtr.h"
#include "VoUtil.h"

// Room of a record's display name, with its NUL.
constexpr int kLexNameSize = 64;
// Room of a listed file name, with its NUL: longer names are refused, because the list is
// remembered by file name and a longer one would not be found again at the next start.
constexpr int kLexFileNameSize = 32;
// "lexicons": the sub-key of the application key that holds the list.
extern const char kLexiconsKey[];

class VoLexiconItem {
public:
    VoLexiconItem() = default;
    // Copies share the commentary object (one more reference).
    VoLexiconItem(const VoLexiconItem&) = default;
    VoLexiconItem& operator=(const VoLexiconItem&) = default;

    // Back to the defaults: no path, no commentary, Locked, Active and ReadOnly set.
    void Reset() { *this = VoLexiconItem(); }

    const char* GetPath() const { return path_; }
    const char* GetFileName() const { return path_ + fileNameOffset_; }
    const char* GetName() const { return name_; }
    // The commentary with one added reference, or null.
    IVoLexicon* GetLexicon() const;
    IVoLexicon* PeekLexicon() const { return lexicon_.Get(); }
    bool IsOpen() const { return static_cast<bool>(lexicon_); }
    bool Locked() const { return locked_ != 0; }
    bool ReadOnly() const { return readOnly_ != 0; }
    bool Active() const { return active_ != 0; }
    bool OpenFailed() const { return openFailed_ != 0; }
    LONG ActiveItem() const { return activeItem_; }
    void SetActiveItem(LONG position) { activeItem_ = position; }
    DWORD Order() const { return order_; }
    void SetOrder(DWORD order) { order_ = order; }

    // The commentary's access bits (kLexNoChanges, kLexTextsScrambled); 0 without one.
    int GetAccess() const;

    // Fills the record from the registry and opens its file when it is switched on or has
    // no stored name. A null path or one of MAX_PATH characters or more leaves the defaults.
    void Load(const char* path);
    // Opens the file (on) or releases the commentary (off) and sets Active accordingly.
    // Switching off keeps the commentary when its unsaved changes cannot be saved.
    // Answers whether Active now equals on.
    bool SetActive(bool on);
    // Locked follows on unless the commentary needs its password for changes.
    void SetLocked(bool on);
    // Active and with unsaved changes.
    bool HasUnsavedChanges() const;
    // Saves unsaved changes; true when there were none or they were saved.
    bool Save();
    // Appends suffix to the name, cutting the name (at a character boundary) so that both fit.
    void AppendToName(const char* suffix);
    // Writes ActiveItem, Locked, Active, Name and, when withPath, Path into the record's key.
    bool WriteSettings(bool withPath) const;

private:
    bool OpenFile();
    void TakeOpenedState(bool chooseToday);
    void ChooseTodaysEntry();
    bool KeyPath(char* buffer, int capacity) const;

    char path_[MAX_PATH] = {};
    DWORD fileNameOffset_ = 0;
    char name_[kLexNameSize] = {};
    ComPtr<IVoLexicon> lexicon_;
    LONG activeItem_ = -1;
    BYTE locked_ = 1;
    BYTE active_ = 1;
    BYTE readOnly_ = 1;
    BYTE openFailed_ = 0;
    BYTE reserved_ = 0;
    DWORD order_ = 0xFFFFFFFFu;
};
