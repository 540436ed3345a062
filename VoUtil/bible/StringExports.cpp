// The string and path exports: the folder part of a path, the flattening of line
// structure in a verse text, and the built-in language's collation and prefix test (the
// same tables RyTxtUtl.dll uses, compiled into this library).
#include "VoUtil.h"
#include "Collation.h"
#include <cstring>

extern "C" char* __stdcall GetDirFromFullPath(char* path) {
    if (!path) return path;
    char* slash = strrchr(path, '\\');
    // A path without a backslash has no folder part.
    if (slash) slash[1] = '\0';
    else path[0] = '\0';
    return path;
}

extern "C" char* __stdcall RemoveVerseTextFormatting(char* text) {
    if (!text) return text;
    char* out = text;
    bool inRun = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '\t' || *p == '\n' || *p == '\r') {
            inRun = true;
            continue;
        }
        // A run at the very start is dropped; any later run becomes one blank.
        if (inRun && out != text) *out++ = ' ';
        inRun = false;
        *out++ = *p;
    }
    if (inRun && out != text) *out++ = ' ';
    *out = '\0';
    return text;
}

extern "C" int __stdcall StringCompare(const char* a, const char* b) {
    return Collation::Std().Compare(a, b);
}

extern "C" BOOL __stdcall StringIsPrefixedBy(const char* text, const char* prefix) {
    return Collation::Std().IsPrefixedBy(text, prefix) ? TRUE : FALSE;
}
