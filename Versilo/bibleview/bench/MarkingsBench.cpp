// Benchmark of the colour markings over the whole reference numbering (31,102 verses):
// loading the store (opening "kv61.vos" and reading "Green" of 3,888 bytes with every
// verse marked), saving it after a change, and finding the next marked verse from the
// first verse when only the last one is marked.
//
// Usage: MarkingsBench.exe [BIBLES-FOLDER] [rounds]
// The folder holds "kv61.vos" (default: the build's data\bibles). The benchmark writes
// "Versilo.ini" beside itself to point at it and uses a scratch registry key.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "DataDirectories.h"
#include "MarkedVerses.h"
#include "ScratchRegistry.h"

int main(int argc, char** argv) {
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    std::string folder = argc > 1 ? argv[1] : std::string(program) + "..\\..\\data\\bibles";
    int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 51;
    std::string ini = std::string(program) + "Versilo.ini";
    WritePrivateProfileStringA("Directories", "Bibles", folder.c_str(), ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush

    ScratchRegistry registry;
    if (!registry.Ready()) {
        fprintf(stderr, "no scratch registry key\n");
        return 1;
    }
    int verses = 0;
    {
        // Every verse marked and saved, so that each load reads the whole value.
        VoKv61MarkedVerses store;
        if (FAILED(store.Load(nullptr))) {
            fprintf(stderr, "cannot open %s\\kv61.vos\n", folder.c_str());
            return 1;
        }
        verses = store.GetVerseCount();
        for (int v = 0; v < verses; ++v) store.SetMarked(v, true);
        if (store.Save() != S_OK) {
            fprintf(stderr, "cannot save the markings\n");
            return 1;
        }
    }

    std::vector<double> loads, saves;
    for (int r = 0; r < rounds; ++r) {
        VoKv61MarkedVerses store;
        BenchTimer timer;
        store.Load(nullptr);
        loads.push_back(timer.Seconds() * 1e6);
        store.SetMarked(0, !store.IsMarked(0));  // one verse changes: the whole value is written
        timer.Restart();
        HRESULT hr = store.Save();
        saves.push_back(timer.Seconds() * 1e6);
        if (hr != S_OK) {
            fprintf(stderr, "save failed: 0x%08lX\n", static_cast<unsigned long>(hr));
            return 1;
        }
    }
    printf("verses %d, \"Green\" %d bytes\n", verses, (verses + 31) / 32 * 4);
    printf("Load (open kv61.vos, read Green)   %10.1f us (median of %d)\n", Median(loads), rounds);
    printf("Save after a change (write Green)  %10.1f us (median of %d)\n", Median(saves), rounds);

    VoKv61MarkedVerses store;
    store.Load(nullptr);
    store.ClearAll();
    store.SetMarked(verses - 1, true);
    const int calls = 2000;
    std::vector<double> finds;
    long long found = 0;  // summed, so the searches are not optimised away
    for (int r = 0; r < rounds; ++r) {
        BenchTimer timer;
        for (int i = 0; i < calls; ++i) found += store.GetBits().FindNext(0);
        finds.push_back(timer.Seconds() * 1e6 / calls);
    }
    printf("FindNext from the first verse, only the last marked  %8.3f us per call (median of %d x %d; found %d)\n",
           Median(finds), rounds, calls, static_cast<int>(found / (static_cast<long long>(rounds) * calls)));
    return 0;
}
