// The path of a new notes file: typed text to directory and name, and the documents folder.
#include "NotesPath.h"
#include "DataDirectories.h"
#include "Registry.h"
#include "ShellRoutines.h"
#include <cstring>
#include <new>
#include <string>

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A path used as typed: a drive with ":\" or a network path.
bool IsFullPath(const std::string& path) {
    return path.compare(0, 2, "\\\\") == 0 || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
}

// The directory as the file system is asked about it: a drive alone ("C:") means its root.
bool DirectoryExists(const std::string& directory) {
    if (directory.size() == 2 && directory[1] == ':') return IsDirectory((directory + "\\").c_str());
    return IsDirectory(directory.c_str());
}

}  // namespace

void NotesPath::FullPath(char* buffer) const {
    std::string full = std::string(directory) + "\\" + name + kNotesExtension;
    CopyWholeCharacters(buffer, MAX_PATH, full.c_str(), full.size());
}

NotesPathCheck CheckNotesPath(const char* typed, const char* documents, NotesPath* out) {
    *out = NotesPath();
    try {
        std::string path = typed ? typed : "";
        if (lstrcmpiA(FindExtension(path.c_str()), kNotesExtension) != 0) path += kNotesExtension;
        const size_t fileStart = static_cast<size_t>(GetFileNamePart(path.c_str()) - path.c_str());
        std::string directory = path.substr(0, fileStart > 0 ? fileStart - 1 : 0);
        const std::string name = path.substr(fileStart, path.size() - fileStart - kNotesExtensionLength);
        if (documents && !IsFullPath(path))
            directory = directory.empty() ? std::string(documents) : std::string(documents) + "\\" + directory;
        // The whole path must fit the MAX_PATH buffers of the file dialogs, the commentary
        // list and the file system.
        if (directory.size() + 1 + name.size() + kNotesExtensionLength >= MAX_PATH) return NotesPathCheck::kTooLong;
        std::memcpy(out->directory, directory.c_str(), directory.size() + 1);
        std::memcpy(out->name, name.c_str(), name.size() + 1);
        return DirectoryExists(directory) ? NotesPathCheck::kOk : NotesPathCheck::kNoDirectory;
    } catch (const std::bad_alloc&) {
        return NotesPathCheck::kTooLong;
    }
}

bool ReadDocumentsFolder(char* buffer) {
    buffer[0] = '\0';
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegKey key(opened);
    if (!ReadRegString(key.Get(), "Personal", buffer, MAX_PATH)) {
        buffer[0] = '\0';
        return false;
    }
    // One trailing backslash goes ("C:\" becomes the drive "C:").
    const size_t length = std::strlen(buffer);
    if (length > 0 && GetFileNamePart(buffer) == buffer + length) buffer[length - 1] = '\0';
    if (!buffer[0] || !DirectoryExists(buffer)) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}
