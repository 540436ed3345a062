// Driving a running Versilo.exe from another process, as the run command, the program's
// tests and its start-up benchmark do: start it with CreateProcess, find its main window,
// wait until its text window has painted verses, read where it is, and close it.
#pragma once
#include <windows.h>
#include <psapi.h>
#include <string>
#include "WindowCapture.h"

constexpr char kProgramAppKey[] = "Software\\Ordhus AS\\Versilo";

struct ProgramProcess {
    PROCESS_INFORMATION info = {};
    HWND main = nullptr;

    ~ProgramProcess() { Close(); }
    void Close() {
        if (info.hProcess) CloseHandle(info.hProcess);
        if (info.hThread) CloseHandle(info.hThread);
        info = {};
    }
    bool Running() const { return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    // Waits for the process to end; its exit code, or -1 when it did not end in time.
    long WaitExit(DWORD milliseconds) {
        if (!info.hProcess || WaitForSingleObject(info.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<long>(code);
    }
    void Kill() {
        if (Running()) TerminateProcess(info.hProcess, 99);
        WaitExit(5000);
    }
};

// Starts program with the command line "program arguments" (the part after the program
// path is what the program gets as its own command line).
inline bool StartProgram(const std::string& program, const std::string& arguments, ProgramProcess* out) {
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string directory = program.substr(0, program.find_last_of('\\'));
    return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                          &startup, &out->info) != FALSE;
}

// A window search of EnumWindows or EnumChildWindows: the first visible window of class
// cls (of process, when it is not 0).
struct WindowSearch {
    DWORD process;
    const char* cls;
    HWND found;

    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
        auto* s = reinterpret_cast<WindowSearch*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if ((s->process && owner != s->process) || !IsWindowVisible(hwnd) || lstrcmpA(name, s->cls) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
    }
};

// The first visible top-level window of class cls that belongs to process, or null.
inline HWND FindProcessWindow(DWORD process, const char* cls) {
    WindowSearch search = {process, cls, nullptr};
    EnumWindows(&WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text window of the main window's active pane: the first "OrdvevTextWindow" under it.
inline HWND FindTextWindow(HWND main) {
    WindowSearch search = {0, "OrdvevTextWindow", nullptr};
    EnumChildWindows(main, &WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// True when the window shows text: enough dark pixels on its light background.
inline bool ShowsText(HWND window) {
    if (!window) return false;
    const Capture c = Capture::Of(window);
    int dark = 0;
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const DWORD p = c.pixels[i];
        if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 100) ++dark;
    }
    return dark > 500;
}

// Waits (pumping nothing of its own) until the program's main window shows verses; false
// when it does not within timeout milliseconds or the program ends.
inline bool WaitPaintedChapter(ProgramProcess& program, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (!program.Running()) return false;
        if (!program.main) program.main = FindProcessWindow(program.info.dwProcessId, "Ordhus VoBible");
        if (program.main && ShowsText(FindTextWindow(program.main))) return true;
        Sleep(5);
    }
    return false;
}

// A box of the main window's toolbar (toolbar 1000 holds the selectors), or null.
inline HWND SelectorBox(HWND main, int id) {
    return GetDlgItem(GetDlgItem(main, 1000), id);
}

// The text of a toolbar box's selection, or "".
inline std::string SelectorText(HWND main, int id) {
    const HWND combo = SelectorBox(main, id);
    char text[256] = "";
    // WM_GETTEXT itself: GetWindowText does not ask a window of another process.
    if (combo) SendMessageA(combo, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Where the main window is: "translation book chapter" as its selectors show it.
inline std::string ProgramPlace(HWND main) {
    return SelectorText(main, 1001) + " " + SelectorText(main, 1002) + " " + SelectorText(main, 1003);
}

// True when the program's main window answers a message within timeout milliseconds (its
// thread handled everything sent before).
inline bool ProgramResponds(const ProgramProcess& program, DWORD timeout = 5000) {
    DWORD_PTR result = 0;
    return program.main && SendMessageTimeoutA(program.main, WM_NULL, 0, 0, SMTO_BLOCK, timeout, &result) != 0;
}

// A rectangle that a window of another process writes through a pointer (TB_GETRECT, the
// text window's TWM_GETITEMRECT): the room for it is lent in that process. False when it
// could not be read or is empty.
inline bool RemoteRect(HANDLE process, HWND window, UINT message, WPARAM wParam, RECT* rc) {
    void* room = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (!room) return false;
    SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(room));
    SIZE_T read = 0;
    const bool ok = ReadProcessMemory(process, room, rc, sizeof(RECT), &read) && read == sizeof(RECT);
    VirtualFreeEx(process, room, 0, MEM_RELEASE);
    return ok && rc->bottom > rc->top;
}

// The program's main window, painted afresh, saved as artifacts\name (the artefact of a
// program test); false when the program does not answer or the file cannot be written.
inline bool SaveProgramScreenshot(const ProgramProcess& program, const std::string& name) {
    RedrawWindow(program.main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    if (!ProgramResponds(program)) return false;
    CreateDirectoryA("artifacts", nullptr);
    return Capture::Of(program.main, true).SaveBmp("artifacts\\" + name);
}

// The working set of a process in bytes.
inline SIZE_T WorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// Closes the main window as a user would and waits for the program to end; its exit code
// or -1.
inline long CloseProgram(ProgramProcess& program, DWORD timeout = 10000) {
    if (program.main) PostMessageA(program.main, WM_CLOSE, 0, 0);
    return program.WaitExit(timeout);
}

// The program's application key moved aside for a test or benchmark and put back after it
// (the program writes its settings there when it closes).
class SavedAppKey {
public:
    SavedAppKey() {
        char name[64];
        wsprintfA(name, "Software\\VersiloTests\\saved-%lu", GetCurrentProcessId());
        backup_ = name;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramAppKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            HKEY copy = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy, nullptr);
            had_ = copy && RegCopyTreeA(key, nullptr, copy) == ERROR_SUCCESS;
            if (copy) RegCloseKey(copy);
            RegCloseKey(key);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramAppKey);
    }
    ~SavedAppKey() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramAppKey);
        if (had_) {
            HKEY copy = nullptr, key = nullptr;
            RegOpenKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, KEY_READ, &copy);
            RegCreateKeyExA(HKEY_CURRENT_USER, kProgramAppKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            if (copy && key) RegCopyTreeA(copy, nullptr, key);
            if (copy) RegCloseKey(copy);
            if (key) RegCloseKey(key);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VersiloTests");
    }

private:
    std::string backup_;
    bool had_ = false;
};
