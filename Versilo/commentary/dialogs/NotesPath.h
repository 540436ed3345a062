// The path of a new notes file as the create dialog reads it from the typed text: the
// extension ".vrsn" added unless it is there (case ignored), a relative directory placed
// under the user's documents folder, and the result checked.
#pragma once
#include <windows.h>

// The extension of notes files, and the longest text read from the path field.
inline constexpr char kNotesExtension[] = ".vrsn";
constexpr size_t kNotesExtensionLength = sizeof kNotesExtension - 1;
constexpr int kTypedPathCapacity = 1024;

enum class NotesPathCheck {
    kOk,
    kTooLong,      // the full path would have MAX_PATH characters or more
    kNoDirectory,  // the directory does not exist
};

struct NotesPath {
    char directory[MAX_PATH] = {};
    char name[MAX_PATH] = {};  // the file name without ".vrsn"
    // directory + "\" + name + ".vrsn" into buffer (MAX_PATH bytes).
    void FullPath(char* buffer) const;
};

// Reads typed; documents is the documents folder without a trailing backslash, or null
// when it does not exist. On kTooLong the parts are left empty; on kNoDirectory they hold
// the directory that was looked for.
NotesPathCheck CheckNotesPath(const char* typed, const char* documents, NotesPath* out);

// The documents folder ("Personal" of the shell folders under HKEY_CURRENT_USER) without
// a trailing backslash into buffer (MAX_PATH bytes); false when it is not set or not an
// existing directory.
bool ReadDocumentsFolder(char* buffer);
