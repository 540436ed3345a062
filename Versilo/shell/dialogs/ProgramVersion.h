// The program's version: the fixed version block of a file's version resource, and the
// text the about box shows of it ("3.11 Bygg nr. 7").
#pragma once
#include <windows.h>
#include <string>

// The file's version words (VS_FIXEDFILEINFO dwFileVersionMS and dwFileVersionLS); true
// when the file has a version resource with a root block.
bool GetFileVersion(const char* path, DWORD* versionMS, DWORD* versionLS);
// GetFileVersion of the running program's own file.
bool GetProgramVersion(DWORD* versionMS, DWORD* versionLS);

// Longest part of the installed "Version" value appended to the version text.
constexpr size_t kMaxInstalledBuildLength = 15;

// "MAJOR.MINOR Bygg nr. BUILD": the minor number as "%u" of minor / 10 when it is a
// multiple of 10, else as "%02u" (3.10 shows 3.1, 3.5 shows 3.05). installed is the
// installed "Version" value or null: when it has a "." and the part after its last "."
// differs from the build number, "/" and that part (at most kMaxInstalledBuildLength
// characters) follow.
std::string FormatVersionText(DWORD versionMS, DWORD versionLS, const char* installed);

// The installed "Version" (REG_SZ under the application key of HKEY_LOCAL_MACHINE);
// false when it can't be read or is of another type (a REG_EXPAND_SZ among them).
bool ReadInstalledVersion(std::string* version);
