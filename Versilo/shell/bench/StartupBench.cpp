// Start-up of Versilo.exe: from CreateProcess with a look-up request (the KJV sample at
// John 3) until the text window shows the chapter's verses, and the program's working set
// then; each run closes the program as a user would. The first run of a fresh Wine prefix
// is the cold start (see startup-bench.sh), the others are warm (the Wine server runs and
// the files are cached).
//
// Usage: StartupBench.exe [RUNS]    (Versilo.exe of the build's program folder)
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "ProgramDriver.h"
#include "TestFiles.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    const std::string program = WinePath(VERSILO_BIN_DIR) + "\\Versilo.exe";
    SavedAppKey savedKey;  // each run starts without a saved place or placement
    std::vector<double> warm;
    std::vector<double> workingSets;
    double first = 0;
    for (int run = 0; run < runs; ++run) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramAppKey);
        ProgramProcess process;
        BenchTimer timer;
        if (!StartProgram(program, "KJV Joh 3:1", &process) || !WaitPaintedChapter(process, 60000)) {
            std::fprintf(stderr, "StartupBench: no painted chapter in run %d\n", run + 1);
            process.Kill();
            return 1;
        }
        const double seconds = timer.Seconds();
        workingSets.push_back(static_cast<double>(WorkingSet(process.info.hProcess)) / (1024.0 * 1024.0));
        if (run == 0) first = seconds;
        else warm.push_back(seconds);
        if (CloseProgram(process) < 0) process.Kill();
    }
    std::printf("Versilo.exe start to painted chapter (KJV Joh 3:1), %d runs\n", runs);
    std::printf("  first start:        %8.1f ms\n", first * 1000);
    if (!warm.empty()) std::printf("  later starts:       %8.1f ms (median of %zu)\n", Median(warm) * 1000, warm.size());
    std::printf("  working set then:   %8.1f MiB (median)\n", Median(workingSets));

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
