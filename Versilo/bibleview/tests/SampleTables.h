// The sample numbering tables of the build ("kv61.vos", "variant.brt", "malachi.brt"),
// copied into the "Bibles" folder beside the test program, where the copy of VoUtil.dll
// that stands there converts through them.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "DataDirectories.h"
#include "TestFiles.h"

inline void CopySampleTables() {
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    const std::string data = WinePath(VERSILO_BINARY_DIR "/data/bibles") + "\\";
    const std::string tables = std::string(program) + "Bibles\\";
    CreateDirectoryA(tables.c_str(), nullptr);
    for (const char* name : {"kv61.vos", "variant.brt", "malachi.brt"})
        ASSERT_TRUE(CopyFileA((data + name).c_str(), (tables + name).c_str(), FALSE)) << name;
}
