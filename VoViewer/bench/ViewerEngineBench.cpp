// Benchmark of the viewer's verse engine on the program folder's KJV sample bible and
// sample list: Init (open the bible and the list, prepare the first batch) from a fresh
// application object, and a walk over the whole list, each verse shown (GetCurrentVerse,
// which prepares the next batch when one runs out) and consumed (NextVerse, which stores
// the position).
//
// Usage: ViewerEngineBench.exe [rounds]
// It writes "Versilo.ini" beside itself naming the program folder's "Bibles" directory
// (..\..\bin\Bibles) and uses a scratch registry key, removed at the end.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "DataDirectories.h"
#include "ScratchRegistry.h"
#include "ViewerApp.h"

namespace {

void ChooseSample(ScratchRegistry& registry) {
    HKEY key = nullptr;
    RegCreateKeyExA(registry.AppKey(), "VoViewer", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegKey holder(key);
    RegSetValueExA(key, "Bible", 0, REG_SZ, reinterpret_cast<const BYTE*>("KJV"), 4);
    RegSetValueExA(key, "RefList", 0, REG_SZ, reinterpret_cast<const BYTE*>("Dizarivor"), 10);
    RegDeleteValueA(key, "index");
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    const std::string ini = std::string(program) + "Versilo.ini";
    WritePrivateProfileStringA("Directories", "Bibles", "..\\..\\bin\\Bibles", ini.c_str());
    char bibles[kDirectoryCapacity];
    printf("Bibles directory: %s\n", GetBiblesDirectory(bibles));

    ScratchRegistry registry;
    if (!registry.Ready()) {
        fprintf(stderr, "ViewerEngineBench: no scratch registry key\n");
        return 1;
    }
    std::vector<double> inits, walks, nexts;
    int count = 0;
    for (int r = 0; r < rounds; ++r) {
        ChooseSample(registry);
        VoViewerApp app;
        BenchTimer timer;
        const VoViewerInitResult result = app.Init();
        inits.push_back(timer.Seconds() * 1000.0);
        if (result != kViewerReady) {
            fprintf(stderr, "ViewerEngineBench: Init answered %d (is the sample bible KJV.vrsb there?)\n", result);
            return 1;
        }
        count = app.GetRefList().GetCount();
        char text[1024];
        double nextSeconds = 0;
        timer.Restart();
        for (int i = 0; i < count; ++i) {
            app.GetCurrentVerse(text, sizeof(text));
            BenchTimer next;
            app.NextVerse();
            nextSeconds += next.Seconds();
        }
        walks.push_back(timer.Seconds() * 1000.0);
        nexts.push_back(nextSeconds * 1000.0);
    }
    printf("Init (KJV.vrsb, Dizarivor.vrsm)        %10.2f ms (median of %d)\n", Median(inits), rounds);
    printf("Whole list, %d verses shown and consumed %8.2f ms (median of %d), %.1f us a verse\n", count,
           Median(walks), rounds, Median(walks) * 1000.0 / count);
    printf("  of which NextVerse                   %10.2f ms, %.1f us a call\n", Median(nexts),
           Median(nexts) * 1000.0 / count);
    DeleteFileA(ini.c_str());
    return 0;
}
