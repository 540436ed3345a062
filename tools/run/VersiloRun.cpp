// Starts Versilo.exe on a place, waits until the chapter is painted, saves a screenshot of
// the main window, prints where the program is and closes it as a user would. The run
// command of a machine without a display uses it under the build's private Xvfb.
//
// Usage: VersiloRun.exe VERSILO.EXE SCREENSHOT.BMP REQUEST...
#include <windows.h>
#include <cstdio>
#include <string>
#include "ProgramDriver.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: VersiloRun VERSILO.EXE SCREENSHOT.BMP REQUEST...\n");
        return 2;
    }
    std::string request;
    for (int i = 3; i < argc; ++i) request += (i > 3 ? " " : "") + std::string(argv[i]);

    ProgramProcess program;
    if (!StartProgram(argv[1], request, &program)) {
        std::fprintf(stderr, "VersiloRun: could not start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    const DWORD start = GetTickCount();
    if (!WaitPaintedChapter(program, 60000)) {
        std::fprintf(stderr, "VersiloRun: no painted chapter within 60 s\n");
        program.Kill();
        return 1;
    }
    const DWORD painted = GetTickCount() - start;
    Sleep(300);  // the rest of the window (toolbar, status bar) settles
    if (!Capture::Of(program.main, true).SaveBmp(argv[2])) std::fprintf(stderr, "VersiloRun: no screenshot\n");
    std::printf("Versilo shows %s (painted after %lu ms); screenshot: %s\n", ProgramPlace(program.main).c_str(),
                painted, argv[2]);
    const long code = CloseProgram(program);
    if (code < 0) {
        std::fprintf(stderr, "VersiloRun: the program did not end after closing its window\n");
        program.Kill();
        return 1;
    }
    std::printf("Versilo ended (exit code %ld)\n", code);
    return 0;
}
