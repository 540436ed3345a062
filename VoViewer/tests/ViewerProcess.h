// VoViewer.exe started as a separate process for the tests and the benchmark: a copy in a
// scratch program folder (with the stand-in main program as "Versilo.exe" and a
// "Versilo.ini" naming the build's "Bibles"), the viewer's values under the real
// application key of the build's Wine prefix, and polling for its windows with timeouts.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "Handles.h"
#include "TestFiles.h"
#include "ViewerIds.h"

constexpr char kViewerKeyPath[] = "Software\\Ordhus AS\\Versilo\\VoViewer";

inline void ClearViewerKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kViewerKeyPath); }

inline void SetViewerValue(const char* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kViewerKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegKey holder(key);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// A DWORD of the viewer's key, or -1 when it is missing.
inline LONGLONG ViewerValue(const char* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kViewerKeyPath, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return -1;
    return value;
}

// A string of the viewer's key, or "(missing)".
inline std::string ViewerString(const char* name) {
    char text[MAX_PATH + 1] = {};
    DWORD size = sizeof(text);
    if (RegGetValueA(HKEY_CURRENT_USER, kViewerKeyPath, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "(missing)";
    return text;
}

// Polls test every 20 ms until it is true or timeout milliseconds have passed.
template <class Test>
bool WaitFor(Test test, DWORD timeout = 15000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (test()) return true;
        if (GetTickCount() - start >= timeout) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
    }
}

struct WindowSearch {
    DWORD process;
    const char* className;
    std::vector<HWND> found;
};

inline BOOL CALLBACK TakeWindow(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64];
    if ((s->process == 0 || owner == s->process) && GetClassNameA(window, name, sizeof(name)) &&
        lstrcmpA(name, s->className) == 0 && (s->className == kViewerWindowClass || IsWindowVisible(window)))
        s->found.push_back(window);
    return TRUE;
}

// The windows of class name of process (any process for 0): visible ones, except for the
// never shown owner window of the viewer ("#32770" for dialogs and message boxes).
inline std::vector<HWND> WindowsOf(DWORD process, const char* className) {
    WindowSearch search{process, className, {}};
    EnumWindows(&TakeWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A message box is a dialog with the static text 0xFFFF; the verse dialog has the text box.
inline HWND FindMessageBox(DWORD process) {
    for (HWND window : WindowsOf(process, "#32770"))
        if (GetDlgItem(window, 0xFFFF) && !GetDlgItem(window, IDC_VERSE_TEXT)) return window;
    return nullptr;
}
inline HWND FindVerseDialog(DWORD process) {
    for (HWND window : WindowsOf(process, "#32770"))
        if (GetDlgItem(window, IDC_VERSE_TEXT) && IsWindowEnabled(window)) return window;
    return nullptr;
}
inline std::string TextOf(HWND window, int id = 0) {
    char text[1024] = {};
    if (id) GetDlgItemTextA(window, id, text, sizeof(text));
    else GetWindowTextA(window, text, sizeof(text));
    return text;
}

// A program folder of its own with the viewer, its libraries and the stand-in main program.
class ViewerFolder {
public:
    ViewerFolder(const char* binDir, const char* standIn) : folder_(dir_.File("Mine programmer")) {
        CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string bin = WinePath(binDir);
        for (const char* file : {"VoViewer.exe", "VoUtil.dll", "RyTxtUtl.dll"})
            CopyFileA((bin + "\\" + file).c_str(), File(file).c_str(), FALSE);
        if (standIn) CopyFileA(WinePath(standIn).c_str(), File("Versilo.exe").c_str(), FALSE);
        WriteWholeFile(File("Versilo.ini"), "[Directories]\r\nBibles=" + bin + "\\Bibles\r\n");
    }
    std::string File(const char* name) const { return folder_ + "\\" + name; }

    // Starts the viewer with arguments, in the program folder or in the folder directory;
    // its handles are kept and the process is ended at the latest when the folder goes.
    PROCESS_INFORMATION Start(const std::string& arguments, const std::string& directory = "") {
        std::string line = "\"" + File("VoViewer.exe") + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                           (directory.empty() ? folder_ : directory).c_str(), &startup, &process)) {
            CloseHandle(process.hThread);
            processes_.emplace_back(process.hProcess);
        }
        return process;
    }
    ~ViewerFolder() {
        for (KernelHandle& process : processes_) {
            if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.Get(), 1);
                WaitForSingleObject(process.Get(), 5000);
            }
        }
    }

private:
    TempDir dir_;
    std::string folder_;
    std::vector<KernelHandle> processes_;
};

inline bool HasEnded(const PROCESS_INFORMATION& p, DWORD timeout = 15000) {
    return p.hProcess && WaitForSingleObject(p.hProcess, timeout) == WAIT_OBJECT_0;
}
