// Benchmark of VoViewer.exe: the time from the minute tick that reaches the threshold to the
// verse dialog painted (its text box's first WM_PAINT done), in this process on the program
// folder's KJV sample bible and sample list, as a median; and the working set of the real
// program while it waits in the notification area (started with "-Startup", measured after
// it settled).
//
// Usage: ViewerShowBench.exe [rounds]
// It writes "Versilo.ini" beside itself naming the program folder's "Bibles" directory
// (..\..\bin\Bibles) and uses a scratch registry key for the dialog; the program it starts
// uses the viewer's values under the application key of the build's prefix, which it
// removes at the end.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "DataDirectories.h"
#include "OwnerWnd.h"
#include "ScratchRegistry.h"
#include "ViewerApp.h"
#include "ViewerIds.h"
#include "ViewerPrompts.h"

namespace {

class QuietPrompts : public AViewerPrompts {
public:
    int ShowMessage(HWND, const char*, UINT) override { return IDOK; }
    bool ChooseListFile(HWND, char*, int) override { return false; }
    UINT TrackMenu(HMENU, HWND, POINT) override { return 0; }
    void Beep() override {}
};

// The moment the verse text box has painted: its WM_PAINT is taken from the queue, and the
// next message taken after it (a WM_NULL posted then) comes once the paint is done; the
// dialog is then closed to the tray.
BenchTimer* g_timer = nullptr;
double g_painted = -1;
HWND g_paintedBox = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && g_painted < 0) {
        if (g_paintedBox && message->hwnd == g_paintedBox && message->message == WM_NULL) {
            g_painted = g_timer->Seconds() * 1000.0;
            PostMessageA(GetParent(g_paintedBox), WM_COMMAND, IDOK, 0);
        } else if (!g_paintedBox && message->message == WM_PAINT && message->hwnd &&
                   GetDlgCtrlID(message->hwnd) == IDC_VERSE_TEXT) {
            g_paintedBox = message->hwnd;
            PostMessageA(g_paintedBox, WM_NULL, 0, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void ChooseSample(HKEY root) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, "Software\\Ordhus AS\\Versilo\\VoViewer", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegKey holder(key);
    RegSetValueExA(key, "Bible", 0, REG_SZ, reinterpret_cast<const BYTE*>("KJV"), 4);
    RegSetValueExA(key, "RefList", 0, REG_SZ, reinterpret_cast<const BYTE*>("Dizarivor"), 10);
    const DWORD hidden = 0;
    RegSetValueExA(key, "HiddenButtons", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hidden), sizeof(hidden));
}

std::vector<double> TimeShows(int rounds) {
    ScratchRegistry registry;
    ChooseSample(registry.Root());
    VoViewerApp app;
    std::vector<double> times;
    if (app.Init() != kViewerReady) return times;
    QuietPrompts prompts;
    VoViewerOwnerWnd owner(app, prompts, true, nullptr);
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, &OnGetMessage, nullptr, GetCurrentThreadId());
    for (int i = 0; i < rounds; ++i) {
        if (!owner.Create()) break;
        // The tick that reaches the threshold.
        for (int t = owner.GetCounter() + 1; t < owner.GetThreshold(); ++t)
            SendMessageA(owner.Handle(), WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
        BenchTimer timer;
        g_timer = &timer;
        g_painted = -1;
        g_paintedBox = nullptr;
        SendMessageA(owner.Handle(), WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
        if (g_painted >= 0) times.push_back(g_painted);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    UnhookWindowsHookEx(g_hook);
    return times;
}

// The working set of the real program waiting in the notification area, in bytes; 0 when
// it could not be measured.
SIZE_T WaitingWorkingSet() {
    ChooseSample(HKEY_CURRENT_USER);
    char program[kDirectoryCapacity];
    std::string line = "\"" + std::string(GetProgramDirectory(program)) + "..\\..\\bin\\VoViewer.exe\" -Startup";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    SIZE_T bytes = 0;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        HWND owner = nullptr;
        for (int i = 0; i < 500 && !owner; ++i) {
            Sleep(20);
            owner = FindWindowA(kViewerWindowClass, kViewerWindowClass);
        }
        Sleep(3000);  // settled: waiting for its first interval
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (owner && GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters))) bytes = counters.WorkingSetSize;
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Ordhus AS\\Versilo\\VoViewer");
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? atoi(argv[1]) : 20;
    char program[kDirectoryCapacity];
    const std::string ini = std::string(GetProgramDirectory(program)) + "Versilo.ini";
    WritePrivateProfileStringA("Directories", "Bibles", "..\\..\\bin\\Bibles", ini.c_str());

    std::vector<double> shows = TimeShows(rounds);
    if (shows.empty()) {
        printf("the verse dialog could not be shown (no KJV.vrsb and Dizarivor.vrsm in bin\\Bibles?)\n");
        return 1;
    }
    printf("threshold tick to verse dialog painted  %8.2f ms (median of %d)\n", Median(shows),
           static_cast<int>(shows.size()));
    const SIZE_T bytes = WaitingWorkingSet();
    if (!bytes) {
        printf("working set: the waiting viewer could not be measured\n");
        return 1;
    }
    printf("working set of a waiting VoViewer.exe   %8.2f MB (%lu KB)\n", bytes / (1024.0 * 1024.0),
           static_cast<unsigned long>(bytes / 1024));
    return 0;
}
