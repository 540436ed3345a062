// Runs the system's regsvr32 on a server, for tests that register COM classes in the
// build's Wine prefix. Tests that do so share the CTest resource lock
// "RyTxtUtl-registration", so that no two change the registration at once.
#pragma once
#include <windows.h>
#include <string>
#include "Handles.h"

// The exit code of "regsvr32 /s ARGS", -1 when it can't start, -2 after a minute.
inline int RunRegsvr32(const std::string& args) {
    char sys[MAX_PATH];
    GetSystemDirectoryA(sys, MAX_PATH);
    std::string cmd = std::string("\"") + sys + "\\regsvr32.exe\" /s " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    KernelHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) return -2;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
}
