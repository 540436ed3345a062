// The program directory, the data directories of "Versilo.ini" and the file tests.
//
// Paths are ANSI texts in the system code page, so every scan for "\" walks whole
// characters (CharNext): under a double-byte code page the trail byte of a character
// may have the value of "\".
#include "DataDirectories.h"
#include "Handles.h"
#include <cstring>

namespace {

const char kSettingsFile[] = "Versilo.ini";
const char kDirectoriesSection[] = "Directories";

// The last "\" of text that is not its final character, or null.
char* LastInnerBackslash(char* text) {
    char* last = nullptr;
    for (char* p = text; *p; p = CharNextA(p))
        if (*p == '\\' && p[1]) last = p;
    return last;
}

// The last "\" of text, or null.
char* LastBackslash(char* text) {
    char* last = nullptr;
    for (char* p = text; *p; p = CharNextA(p))
        if (*p == '\\') last = p;
    return last;
}

bool EndsWithBackslash(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p; p = CharNextA(p)) last = p;
    return last && *last == '\\';
}

// Appends text to the buffer's text, cut at a whole character so that buffer, text and NUL
// fit in capacity. Returns false when text was cut.
bool AppendBounded(char* buffer, DWORD capacity, const char* text) {
    size_t used = std::strlen(buffer);
    char* out = buffer + used;
    const char* p = text;
    while (*p) {
        const char* next = CharNextA(p);
        size_t n = static_cast<size_t>(next - p);
        if (used + n + 1 > capacity) break;
        std::memcpy(out, p, n);
        out += n;
        used += n;
        p = next;
    }
    *out = '\0';
    return *p == '\0';
}

// Copies text into buffer (capacity bytes with the NUL), cut at a whole character.
void CopyBounded(char* buffer, DWORD capacity, const char* text) {
    buffer[0] = '\0';
    AppendBounded(buffer, capacity, text);
}

// One cached data directory.
class CachedDirectory {
public:
    explicit CachedDirectory(const char* key) : key_(key) {}
    char* CopyTo(char* buffer) {
        if (!known_) {
            GetDataDirectory(path_, key_);
            known_ = true;
        }
        std::memcpy(buffer, path_, std::strlen(path_) + 1);
        return buffer;
    }

private:
    const char* key_;
    bool known_ = false;
    char path_[kDirectoryCapacity] = {};
};

}  // namespace

char* GetProgramDirectory(char* buffer) {
    DWORD n = GetModuleFileNameA(nullptr, buffer, kDirectoryCapacity);
    if (n == 0) buffer[0] = '\0';
    else if (n >= kDirectoryCapacity) buffer[kDirectoryCapacity - 1] = '\0';  // cut: the system may not terminate it
    char* cut = LastBackslash(buffer);
    if (cut) cut[1] = '\0';
    else buffer[0] = '\0';
    return buffer;
}

bool ResolveRelativePath(char* directory, const char* relative) {
    while (std::strncmp(relative, "..\\", 3) == 0) {
        if (!*directory) return false;
        relative += 3;
        char* parent = LastInnerBackslash(directory);
        if (parent) parent[1] = '\0';
        else directory[0] = '\0';
    }
    if (*relative == '.') ++relative;
    if (*relative == '\\') ++relative;
    return AppendBounded(directory, kDirectoryCapacity, relative);
}

char* ReadDataDirectory(char* buffer, const char* programDirectory, const char* settingsFile, const char* key) {
    char fallback[kDirectoryCapacity];
    CopyBounded(fallback, sizeof(fallback), ".\\");
    AppendBounded(fallback, sizeof(fallback), key);
    char value[kDirectoryCapacity];
    GetPrivateProfileStringA(kDirectoriesSection, key, fallback, value, sizeof(value), settingsFile);
    if (value[0] == '.') {
        CopyBounded(buffer, kDirectoryCapacity, programDirectory);
        ResolveRelativePath(buffer, value);
    } else {
        CopyBounded(buffer, kDirectoryCapacity, value);
    }
    if (!EndsWithBackslash(buffer)) {
        size_t used = std::strlen(buffer);
        // No room for the "\": drop the last character so the result still ends in one.
        if (used + 2 > kDirectoryCapacity) {
            char* last = buffer;
            for (char* p = buffer; *p; p = CharNextA(p)) last = p;
            *last = '\0';
        }
        AppendBounded(buffer, kDirectoryCapacity, "\\");
    }
    return buffer;
}

char* GetDataDirectory(char* buffer, const char* key) {
    char programDirectory[kDirectoryCapacity];
    GetProgramDirectory(programDirectory);
    char settingsFile[kDirectoryCapacity];
    CopyBounded(settingsFile, sizeof(settingsFile), programDirectory);
    AppendBounded(settingsFile, sizeof(settingsFile), kSettingsFile);
    return ReadDataDirectory(buffer, programDirectory, settingsFile, key);
}

char* GetBiblesDirectory(char* buffer) {
    static CachedDirectory bibles("Bibles");
    return bibles.CopyTo(buffer);
}

char* GetLexiconsDirectory(char* buffer) {
    static CachedDirectory lexicons("Lexicons");
    return lexicons.CopyTo(buffer);
}

char* GetRefLibsDirectory(char* buffer) {
    static CachedDirectory refLibs("RefLibs");
    return refLibs.CopyTo(buffer);
}

namespace {

// Attributes of what a find-first on path finds. A trailing "\" is dropped first (a find
// on "dir\" finds nothing), except on a drive root, which a find never reports and whose
// attributes are asked directly.
bool FindAttributes(const char* path, DWORD* attributes) {
    if (!path || !*path || std::strpbrk(path, "*?")) return false;
    size_t length = std::strlen(path);
    if (length >= kDirectoryCapacity) return false;
    if (length == 3 && path[1] == ':' && path[2] == '\\') {
        DWORD a = GetFileAttributesA(path);
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        *attributes = a;
        return true;
    }
    char probe[kDirectoryCapacity];
    std::memcpy(probe, path, length + 1);
    if (EndsWithBackslash(probe) && length > 1) probe[length - 1] = '\0';
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA(probe, &found));
    if (!find) return false;
    *attributes = found.dwFileAttributes;
    return true;
}

}  // namespace

bool IsDirectory(const char* path) {
    DWORD attributes = 0;
    return FindAttributes(path, &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFile(const char* path) {
    DWORD attributes = 0;
    return FindAttributes(path, &attributes) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
