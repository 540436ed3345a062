// The sample numbering tables of the build ("kv61.vos", "variant.brt", "malachi.brt"),
// copied into the "Bibles" folder beside the test or benchmark program, where the copy of
// VoUtil.dll that stands there converts through them.
#pragma once
#include <windows.h>
#include <string>
#include "DataDirectories.h"
#include "TestFiles.h"

// True when every table was copied; otherwise the name of the one that was not is in
// *failed (when given).
inline bool CopySampleTables(std::string* failed = nullptr) {
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    const std::string data = WinePath(VERSILO_BINARY_DIR "/data/bibles") + "\\";
    const std::string tables = std::string(program) + "Bibles\\";
    CreateDirectoryA(tables.c_str(), nullptr);
    for (const char* name : {"kv61.vos", "variant.brt", "malachi.brt"}) {
        if (CopyFileA((data + name).c_str(), (tables + name).c_str(), FALSE)) continue;
        if (failed) *failed = name;
        return false;
    }
    return true;
}
