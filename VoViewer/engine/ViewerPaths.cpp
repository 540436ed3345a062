// Paths of the viewer's bibles and lists and of the main program.
#include "ViewerPaths.h"
#include "DataDirectories.h"
#include "ShellRoutines.h"
#include <cstring>
#include <string>

namespace {

bool CopyIfFits(char* path, const std::string& text) {
    path[0] = '\0';
    if (text.size() >= MAX_PATH) return false;
    std::memcpy(path, text.c_str(), text.size() + 1);
    return true;
}

// True when text contains a backslash, scanned by whole characters.
bool HasBackslash(const char* text) {
    for (const char* p = text; *p; p = CharNextA(p))
        if (*p == '\\') return true;
    return false;
}

}  // namespace

bool MakeBiblePath(char* path, const char* directory, const char* name) {
    return CopyIfFits(path, std::string(directory) + name + ".vrsb");
}

bool MakeListPath(char* path, const char* directory, const char* name) {
    if (HasBackslash(name)) return CopyIfFits(path, name);
    return CopyIfFits(path, std::string(directory) + name + ".vrsm");
}

char* CopyListName(char* name, int size, const char* path) {
    lstrcpynA(name, GetFileNamePart(path ? path : ""), size);
    for (char* p = name; *p; p = CharNextA(p)) {
        if (*p == '.') {
            *p = '\0';
            break;
        }
    }
    return name;
}

char* CopyFileStem(char* stem, int size, const char* fileName) {
    lstrcpynA(stem, fileName, size);
    const char* extension = FindExtension(stem);
    if (*extension) stem[extension - stem] = '\0';
    return stem;
}

bool DeriveMainProgramPath(const char* ownPath, char* path) {
    static const char kViewerName[] = "voviewer";
    const size_t viewerLength = sizeof(kViewerName) - 1;
    // Only the file name is renamed: a folder called "VoViewer" stays as it is.
    const char* fileName = GetFileNamePart(ownPath);
    std::string result(ownPath, fileName);
    for (const char* p = fileName; *p;) {
        if (_strnicmp(p, kViewerName, viewerLength) == 0) {
            result += "Versilo";
            p += viewerLength;
            continue;
        }
        const char* next = CharNextA(p);
        result.append(p, next);
        p = next;
    }
    if (!CopyIfFits(path, result) || !IsExistingFile(path)) {
        path[0] = '\0';
        return false;
    }
    return true;
}
