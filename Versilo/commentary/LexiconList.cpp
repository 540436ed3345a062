// VoLexiconList: building the list from "Lexicons" and the registry, adding, removing,
// most-recent order and writing it back.
#include "LexiconList.h"
#include "DataDirectories.h"
#include "MessageText.h"
#include "Registry.h"
#include "ShellRoutines.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char kUserListValue[] = "UserList";
// The kinds of file the directory holds, in the order they are listed.
const char* const kScannedExtensions[] = {"vrsl", "vol", "vrsn"};

bool HasExtension(const char* path, const char* extension) {
    const size_t length = std::strlen(path), wanted = std::strlen(extension);
    return length >= wanted && lstrcmpiA(path + length - wanted, extension) == 0;
}

using NameTable = char[kLexFileNameSize];

// Adds name unless the table is full, the name is empty or too long, or it is there already.
void AddName(NameTable* names, int* count, const char* name) {
    const size_t length = std::strlen(name);
    if (*count >= kMaxListedLexicons || length == 0 || length >= static_cast<size_t>(kLexFileNameSize)) return;
    for (int i = 0; i < *count; ++i)
        if (lstrcmpiA(names[i], name) == 0) return;
    std::memcpy(names[*count], name, length + 1);
    ++*count;
}

// The "Path" of a name of "UserList", or an empty text.
void ReadUserPath(const char* name, char* path) {
    path[0] = '\0';
    std::string keyPath = std::string(kLexiconsKey) + "\\" + name;
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, keyPath.c_str(), kAppKeyRead) == ERROR_SUCCESS)
        ReadRegString(key.Get(), "Path", path, MAX_PATH - 4);  // at most 255 characters
}

}  // namespace

VoLexiconList::VoLexiconList() {
    GetLexiconsDirectory(directory_);
    std::unique_ptr<NameTable[]> names(new (std::nothrow) NameTable[kMaxListedLexicons]);
    if (!names) return;

    // The files of the directory (kinds in turn), then the names of "UserList".
    int count = 0;
    for (const char* extension : kScannedExtensions) {
        std::unique_ptr<NameTable[]> found(new (std::nothrow) NameTable[kMaxListedLexicons]);
        if (!found) return;
        const int n = ScanDirectory(directory_, extension, found.get(), kMaxListedLexicons);
        for (int i = 0; i < n; ++i) AddName(names.get(), &count, found[i]);
    }
    const int defaultNames = count;
    {
        std::unique_ptr<char[]> text(new (std::nothrow) char[kUserListCapacity]);
        RegKey key;
        if (text && OpenAppKey(key, HKEY_CURRENT_USER, kLexiconsKey, kAppKeyRead) == ERROR_SUCCESS &&
            ReadRegString(key.Get(), kUserListValue, text.get(), kUserListCapacity)) {
            for (char* piece = text.get(); piece;) {
                char* bar = std::strchr(piece, '|');
                if (bar) *bar = '\0';
                AddName(names.get(), &count, piece);
                piece = bar ? bar + 1 : nullptr;
            }
        }
    }

    char suffix[kTextCapacity];
    LoadResString(suffix, kIdsVersionSuffix);
    for (int i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (i < defaultNames) {
            if (std::strlen(directory_) + std::strlen(names[i]) >= MAX_PATH) continue;
            std::strcpy(path, directory_);
            std::strcat(path, names[i]);
        } else {
            ReadUserPath(names[i], path);
        }
        if (!path[0]) continue;
        VoLexiconItem item;
        item.Load(path);
        if (!item.GetName()[0]) continue;
        for (const VoLexiconItem& earlier : items_) {
            if (lstrcmpiA(earlier.GetName(), item.GetName()) == 0) {
                item.AppendToName(suffix);
                break;
            }
        }
        Append(item);
    }
    for (int i = 0; i < GetCount(); ++i) GetAt(i).SetOrder(static_cast<DWORD>(i));
}

void VoLexiconList::Append(VoLexiconItem& item) {
    items_.push_back(item);
    ++revision_;
}

bool VoLexiconList::SetActive(VoLexiconItem& item, bool on, UINT* messageId) {
    const bool wasOpen = item.IsOpen();
    const bool done = item.SetActive(on);
    if (item.IsOpen() != wasOpen) ++revision_;
    if (done) return true;
    if (messageId) *messageId = on ? kIdsCannotOpen : kIdsCannotSave;
    return false;
}

bool VoLexiconList::IsInDefaultFolder(const VoLexiconItem& item) const {
    std::string expected = std::string(directory_) + item.GetFileName();
    return lstrcmpiA(expected.c_str(), item.GetPath()) == 0;
}

bool VoLexiconList::IsPackagedLexicon(const char* path) { return path && HasExtension(path, ".vrsl"); }

bool VoLexiconList::BelongsInUserList(const VoLexiconItem& item) const {
    return !IsInDefaultFolder(item) || HasExtension(item.GetPath(), ".vrsn");
}

bool VoLexiconList::IsNotListed(const char* path) const {
    if (!path) return true;
    const char* name = GetFileNamePart(path);
    for (const VoLexiconItem& item : items_)
        if (lstrcmpiA(item.GetFileName(), name) == 0) return false;
    return true;
}

int VoLexiconList::AddFile(const char* path, UINT* messageId) {
    if (path && std::strlen(GetFileNamePart(path)) >= static_cast<size_t>(kLexFileNameSize)) {
        if (messageId) *messageId = kIdsFileNameTooLong;
        return -1;
    }
    VoLexiconItem item;
    item.Load(path);
    item.SetOrder(static_cast<DWORD>(GetCount()));
    if (!item.GetName()[0] || item.OpenFailed()) {
        if (messageId) *messageId = kIdsCannotOpen;
        return -1;
    }
    Append(item);
    return GetCount() - 1;
}

void VoLexiconList::RemoveAt(int index) {
    if (!IsValidIndex(index)) return;
    items_.erase(items_.begin() + index);
    ++revision_;
}

void VoLexiconList::SaveAll() const {
    std::string userList;
    for (const VoLexiconItem& item : items_) {
        if (!BelongsInUserList(item)) continue;
        if (!userList.empty()) userList += '|';
        userList += item.GetFileName();
    }
    RegKey key;
    if (CreateUserAppKey(key, kLexiconsKey, kAppKeyReadWrite) == ERROR_SUCCESS)
        WriteRegString(key.Get(), kUserListValue, userList.c_str());
    for (const VoLexiconItem& item : items_)
        if (!item.OpenFailed()) item.WriteSettings(BelongsInUserList(item));
}

void VoLexiconList::MarkMostRecent(int index) {
    if (!IsValidIndex(index)) return;
    const DWORD old = GetAt(index).Order();
    if (old == 0) return;
    for (VoLexiconItem& item : items_)
        if (item.Order() < old) item.SetOrder(item.Order() + 1);
    GetAt(index).SetOrder(0);
}

int VoLexiconList::GetOpenInOrder(int* order) const {
    std::vector<int> open;
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i).IsOpen()) open.push_back(i);
    std::stable_sort(open.begin(), open.end(), [this](int a, int b) { return GetAt(a).Order() < GetAt(b).Order(); });
    if (order)
        for (size_t i = 0; i < open.size(); ++i) order[i] = open[i];
    return static_cast<int>(open.size());
}
