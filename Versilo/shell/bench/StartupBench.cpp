// Start-up of Versilo.exe: from CreateProcess with a look-up request (the KJV sample at
// John 3) until the text window shows the chapter's verses, and the program's working set
// then; each run closes the program as a user would. Beside it, in turn with it, the same
// for BareWindow.exe (a window that paints 40 lines of text, nothing else) and the ratio of
// the two. The first run of a fresh Wine prefix is the cold start (see startup-bench.sh),
// the others are warm (the Wine server runs and the files are cached).
//
// Usage: StartupBench.exe [RUNS] [both|versilo|bare]
//   (Versilo.exe of the build's program folder, BareWindow.exe beside this program)
// When the chapter is painted it says so with OutputDebugString ("StartupBench: painted"),
// so that a Wine trace of the run (+debugstr) shows the moment among the loader's lines.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "ProgramDriver.h"
#include "TestFiles.h"

namespace {

struct Timings {
    double first = 0;
    std::vector<double> later;
    std::vector<double> workingSets;

    // One start: its time to the paint and the process's working set then.
    void Record(double seconds, const ProgramProcess& process) {
        if (workingSets.empty()) first = seconds;
        else later.push_back(seconds);
        workingSets.push_back(static_cast<double>(WorkingSet(process.info.hProcess)) / (1024.0 * 1024.0));
    }
};

// The folder of this program, with its trailing backslash.
std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// One start of BareWindow.exe until its window shows its text; false when it does not.
bool TimeBareWindow(const std::string& program, Timings* out) {
    ProgramProcess process;
    BenchTimer timer;
    bool painted = false;
    if (StartProgram(program, "", &process))
        for (DWORD start = GetTickCount(); !painted && process.Running() && GetTickCount() - start < 60000;) {
            if (!process.main) process.main = FindProcessWindow(process.info.dwProcessId, "VersiloBareWindow");
            painted = process.main && ShowsText(process.main);
            if (!painted) Sleep(5);
        }
    if (!painted) {
        process.Kill();
        return false;
    }
    out->Record(timer.Seconds(), process);
    if (CloseProgram(process) < 0) process.Kill();
    return true;
}

// One start of Versilo.exe at John 3 of the KJV until the chapter is painted.
bool TimeVersilo(const std::string& program, Timings* out) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramAppKey);  // no saved place or placement
    ProgramProcess process;
    BenchTimer timer;
    if (!StartProgram(program, "KJV Joh 3:1", &process) || !WaitPaintedChapter(process, 60000)) {
        process.Kill();
        return false;
    }
    const double seconds = timer.Seconds();
    OutputDebugStringA("StartupBench: painted\n");
    out->Record(seconds, process);
    if (CloseProgram(process) < 0) process.Kill();
    return true;
}

void PrintTimings(const char* title, const Timings& t, int runs) {
    std::printf("%s, %d runs\n", title, runs);
    std::printf("  first start:        %8.1f ms\n", t.first * 1000);
    if (!t.later.empty()) {
        std::vector<double> sorted = t.later;
        std::sort(sorted.begin(), sorted.end());
        std::printf("  later starts:       %8.1f ms (median of %zu, %.1f-%.1f)\n", Median(t.later) * 1000,
                    t.later.size(), sorted.front() * 1000, sorted.back() * 1000);
    }
    std::printf("  working set then:   %8.1f MiB (median)\n", Median(t.workingSets));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    const std::string which = argc > 2 ? argv[2] : "both";
    const bool versilo = which != "bare", bare = which != "versilo";
    const std::string program = WinePath(VERSILO_BIN_DIR) + "\\Versilo.exe";
    const std::string bareProgram = OwnFolder() + "BareWindow.exe";
    SavedAppKey savedKey;  // each run starts without a saved place or placement
    Timings versiloTimes, bareTimes;
    for (int run = 0; run < runs; ++run) {
        // In turn, so that both see the same state of the machine.
        if (versilo && !TimeVersilo(program, &versiloTimes)) {
            std::fprintf(stderr, "StartupBench: no painted chapter in run %d\n", run + 1);
            return 1;
        }
        if (bare && !TimeBareWindow(bareProgram, &bareTimes)) {
            std::fprintf(stderr, "StartupBench: BareWindow.exe painted no text in run %d\n", run + 1);
            return 1;
        }
    }
    if (versilo) PrintTimings("Versilo.exe start to painted chapter (KJV Joh 3:1)", versiloTimes, runs);
    if (bare) PrintTimings("BareWindow.exe start to painted text (40 lines)", bareTimes, runs);
    if (versilo && bare) {
        std::printf("Versilo.exe / BareWindow.exe:\n");
        std::printf("  first start:        %8.2f x\n", versiloTimes.first / bareTimes.first);
        if (!versiloTimes.later.empty())
            std::printf("  later starts:       %8.2f x (medians)\n", Median(versiloTimes.later) / Median(bareTimes.later));
    }
    if (!versilo) return 0;

    // For comparison: the same program in a folder without bibles, showing only its
    // message box (the process with Wine's and the program's own code, and no bible).
    const std::string folder = WinePath(VERSILO_BIN_DIR) + "\\..\\bench\\startup-empty\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "NoBibles").c_str(), nullptr);
    for (const char* file : {"Versilo.exe", "VoUtil.dll", "VoView.dll", "RyTxtUtl.dll"})
        CopyFileA((WinePath(VERSILO_BIN_DIR) + "\\" + file).c_str(), (folder + file).c_str(), FALSE);
    WriteWholeFile(folder + "Versilo.ini", "[Directories]\r\nBibles=.\\NoBibles\r\n");
    ProgramProcess empty;
    HWND box = nullptr;
    if (StartProgram(folder + "Versilo.exe", "", &empty))
        for (int i = 0; i < 3000 && !box && empty.Running(); ++i, Sleep(10))
            box = FindProcessWindow(empty.info.dwProcessId, "#32770");
    if (box) {
        Sleep(200);
        std::printf("  without bibles:     %8.1f MiB (the message box only)\n",
                    static_cast<double>(WorkingSet(empty.info.hProcess)) / (1024.0 * 1024.0));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        empty.WaitExit(10000);
    }
    empty.Kill();
    return 0;
}
