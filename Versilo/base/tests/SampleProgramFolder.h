// Lays the test's own folder out as a program folder over the build's sample data: the
// sample numbering tables in its "Bibles" folder (VoUtil.dll, copied beside the test,
// converts through them) and "Versilo.ini" naming scratch\Bibles as the Bibles directory,
// which is created empty.
#pragma once
#include <windows.h>
#include <string>
#include "DataDirectories.h"
#include "SampleTables.h"
#include "TestFiles.h"

// The sample "Bibles" folder of the build, as Wine sees it, with a trailing backslash.
inline std::string SampleBiblesFolder() { return WinePath(VERSILO_BINARY_DIR "/data/bibles") + "\\"; }

// True when the sample tables were copied.
inline bool PrepareSampleProgramFolder() {
    if (!CopySampleTables()) return false;
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nBibles=.\\scratch\\Bibles\r\n");
    CreateDirectoryA((std::string(program) + "scratch").c_str(), nullptr);
    char bibles[kDirectoryCapacity];
    CreateDirectoryA(GetBiblesDirectory(bibles), nullptr);
    return true;
}
