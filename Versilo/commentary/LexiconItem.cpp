// VoLexiconItem: loading a record from the registry and its file, switching it on and off,
// saving its commentary and writing its settings back.
#include "LexiconItem.h"
#include "Registry.h"
#include "ShellRoutines.h"
#include <cstring>

const char kLexiconsKey[] = "lexicons";

namespace {

constexpr int kDateKind = 3;  // entries keyed by a date, such as daily readings
constexpr int kDaysAhead = 6;  // how far a dated commentary looks for the next entry
constexpr ULONGLONG kFileTimeDay = 24ull * 3600ull * 10000000ull;

}  // namespace

IVoLexicon* VoLexiconItem::GetLexicon() const {
    IVoLexicon* lexicon = nullptr;
    lexicon_.CopyTo(&lexicon);
    return lexicon;
}

int VoLexiconItem::GetAccess() const {
    int flags = 0;
    if (lexicon_ && FAILED(lexicon_->GetAccess(&flags))) flags = 0;
    return flags;
}

bool VoLexiconItem::KeyPath(char* buffer, int capacity) const {
    const char* file = GetFileName();
    if (!*file) return false;
    const size_t needed = std::strlen(kLexiconsKey) + 1 + std::strlen(file) + 1;
    if (needed > static_cast<size_t>(capacity)) return false;
    wsprintfA(buffer, "%s\\%s", kLexiconsKey, file);
    return true;
}

void VoLexiconItem::Load(const char* path) {
    Reset();
    if (!path || std::strlen(path) >= MAX_PATH) return;
    std::strcpy(path_, path);
    fileNameOffset_ = static_cast<DWORD>(GetFileNamePart(path_) - path_);

    char keyPath[MAX_PATH + 16];
    RegKey key;
    if (KeyPath(keyPath, sizeof keyPath) &&
        OpenAppKey(key, HKEY_CURRENT_USER, keyPath, kAppKeyRead) == ERROR_SUCCESS) {
        ReadRegInt(key.Get(), "ActiveItem", &activeItem_);
        bool value = false;
        if (ReadRegBool(key.Get(), "Locked", &value)) locked_ = value;
        if (ReadRegBool(key.Get(), "Active", &value)) active_ = value;
        if (ReadRegBool(key.Get(), "ReadOnly", &value)) readOnly_ = value;
        ReadRegString(key.Get(), "Name", name_, kLexNameSize);
    }

    if (!name_[0] || active_) {
        if (OpenFile()) {
            TakeOpenedState(true);
        } else {
            openFailed_ = 1;
        }
    }
    active_ = IsOpen();
    if (IsOpen() && !locked_) {
        int protection = 0;
        if (SUCCEEDED(lexicon_->GetProtection(&protection)) && (protection & 1)) locked_ = 1;
    }
}

bool VoLexiconItem::OpenFile() {
    ComPtr<IVoLexicon> opened;
    if (FAILED(OpenVoLexFile(path_, opened.Put())) || !opened) return false;
    lexicon_ = std::move(opened);
    return true;
}

// The name and read-only state of a commentary just opened, and (when asked) the entry of today.
void VoLexiconItem::TakeOpenedState(bool chooseToday) {
    char name[kLexNameSize] = {};
    if (SUCCEEDED(lexicon_->GetName(name))) {
        name[kLexNameSize - 1] = '\0';
        std::strcpy(name_, name);
    }
    VARIANT_BOOL readOnly = VARIANT_TRUE;
    if (SUCCEEDED(lexicon_->IsOpenReadOnly(&readOnly))) readOnly_ = readOnly != VARIANT_FALSE;
    if (chooseToday) ChooseTodaysEntry();
}

// A commentary of dated entries (daily readings) starts at today's entry, or at the next one
// within six days; otherwise at its remembered entry. Each day is looked up exactly, as a
// date of this year and as a day of every year: the commentary's own look-up of a date
// also answers entries before today or weeks later.
void VoLexiconItem::ChooseTodaysEntry() {
    int count = 0;
    if (FAILED(lexicon_->GetEntryCountOfKind(kDateKind, &count)) || count <= 0) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wHour = 12;
    FILETIME time;
    if (!SystemTimeToFileTime(&now, &time)) return;
    ULARGE_INTEGER noon;
    noon.LowPart = time.dwLowDateTime;
    noon.HighPart = time.dwHighDateTime;
    for (int days = 0; days <= kDaysAhead; ++days) {
        ULARGE_INTEGER t = noon;
        t.QuadPart += static_cast<ULONGLONG>(days) * kFileTimeDay;
        time.dwLowDateTime = t.LowPart;
        time.dwHighDateTime = t.HighPart;
        SYSTEMTIME day;
        if (!FileTimeToSystemTime(&time, &day)) return;
        char dated[32], everyYear[32];
        wsprintfA(dated, "/%02i/%02i/%04i", day.wDay, day.wMonth, day.wYear);
        wsprintfA(everyYear, "/%02i/%02i", day.wDay, day.wMonth);
        for (const char* text : {dated, everyYear}) {
            int position = -1;
            VARIANT_BOOL exact = VARIANT_FALSE;
            int kind = 0;
            if (lexicon_->FindEntry(text, &position, &exact) == S_OK &&
                SUCCEEDED(lexicon_->GetEntryKind(position, &kind)) && kind == kDateKind) {
                activeItem_ = position;
                return;
            }
        }
    }
}

bool VoLexiconItem::SetActive(bool on) {
    if (Active() == on) return true;
    if (on) {
        if (!IsOpen()) OpenFile();
        if (!IsOpen()) {
            openFailed_ = 1;
        } else {
            openFailed_ = 0;
            TakeOpenedState(true);
            int protection = 0;
            if (SUCCEEDED(lexicon_->GetProtection(&protection)) && (protection & 1)) locked_ = 1;
        }
    } else {
        // A commentary whose changes cannot be written stays open, so nothing is lost.
        if (HasUnsavedChanges() && !Save()) return false;
        lexicon_.Reset();
    }
    active_ = IsOpen();
    return Active() == on;
}

void VoLexiconItem::SetLocked(bool on) {
    if (GetAccess() & kLexNoChanges) return;
    locked_ = on;
}

bool VoLexiconItem::HasUnsavedChanges() const {
    if (!Active() || !lexicon_) return false;
    ComPtr<IPersistFile> file;
    if (FAILED(lexicon_.As(IID_IPersistFile, &file))) return false;
    return file->IsDirty() == S_OK;
}

bool VoLexiconItem::Save() {
    if (!lexicon_) return true;
    ComPtr<IPersistFile> file;
    if (FAILED(lexicon_.As(IID_IPersistFile, &file)) || file->IsDirty() != S_OK) return true;
    return SUCCEEDED(file->Save(nullptr, TRUE)) && SUCCEEDED(file->SaveCompleted(nullptr));
}

void VoLexiconItem::AppendToName(const char* suffix) {
    const size_t room = kLexNameSize - 1;
    const size_t suffixLength = std::strlen(suffix);
    if (suffixLength > room) return;
    // Whole characters only: a double-byte character is never split.
    const char* end = name_;
    for (const char* p = name_; *p; p = CharNextA(p)) {
        const char* next = CharNextA(p);
        if (static_cast<size_t>(next - name_) + suffixLength > room) break;
        end = next;
    }
    std::memcpy(name_ + (end - name_), suffix, suffixLength + 1);
}

bool VoLexiconItem::WriteSettings(bool withPath) const {
    char keyPath[MAX_PATH + 16];
    RegKey key;
    if (!KeyPath(keyPath, sizeof keyPath) || CreateUserAppKey(key, keyPath, kAppKeyReadWrite) != ERROR_SUCCESS)
        return false;
    bool ok = WriteRegInt(key.Get(), "ActiveItem", activeItem_);
    ok = WriteRegBool(key.Get(), "Locked", Locked()) && ok;
    ok = WriteRegBool(key.Get(), "Active", Active()) && ok;
    ok = WriteRegString(key.Get(), "Name", name_) && ok;
    if (withPath) ok = WriteRegString(key.Get(), "Path", path_) && ok;
    return ok;
}
