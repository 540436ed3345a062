// The program directory, the data directories named in "Versilo.ini" and the file tests
// used with them.
//
// "Versilo.ini" beside the programs holds, in its section "Directories", the keys "Bibles",
// "Lexicons" and "RefLibs". A value that begins with "." is relative to the program
// directory (".\Bibler", "..\Data"); any other value is used as it stands. A missing key
// means the sub-directory of that name in the program directory. Every directory returned
// ends in "\". The settings file is only read, and each data directory is read once per
// process.
#pragma once
#include <windows.h>

// Capacity of every directory buffer handed to these functions, in bytes with the NUL.
constexpr DWORD kDirectoryCapacity = MAX_PATH;  // 260

// The directory of the running executable, ending in "\". Returns buffer.
char* GetProgramDirectory(char* buffer);

// The data directory of key, read from "Versilo.ini" in the program directory. Returns buffer.
char* GetDataDirectory(char* buffer, const char* key);

// GetDataDirectory with the program directory and the settings file given.
char* ReadDataDirectory(char* buffer, const char* programDirectory, const char* settingsFile, const char* key);

// Resolves relative against directory, in place: each leading "..\" goes up one level; then
// one leading "." and one "\" after it are skipped and the rest is appended. Returns false
// when "..\" steps run past the first level (the buffer keeps what is left) or when the
// result does not fit in kDirectoryCapacity (it is cut).
bool ResolveRelativePath(char* directory, const char* relative);

// The data directories, computed on the first call and cached for the process. Each
// returns buffer.
char* GetBiblesDirectory(char* buffer);
char* GetLexiconsDirectory(char* buffer);
char* GetRefLibsDirectory(char* buffer);

// True when path names an existing directory, respectively an existing file (not a
// directory). A path with wildcards is neither.
bool IsDirectory(const char* path);
bool IsExistingFile(const char* path);
