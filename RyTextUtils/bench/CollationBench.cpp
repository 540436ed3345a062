// Cost of IRyLanguage::StringCompare on typical word pairs, through the interface of an
// object made by RyTxtUtl.dll's CreateLanguage, and of the comparison alone.
// Usage: wine-run RyCollationBench.exe [rounds]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "Collation.h"
#include "ComPtr.h"
#include "Handles.h"
#include "RyTextUtilsApi.h"

namespace {
// Word pairs as a sorted word list's look-up meets them: shared beginnings, case and
// accent differences, markers, Norwegian letters.
const char* const kPairs[][2] = {
    {"beginning", "begotten"}, {"Herren", "herrens"}, {"Guds", "guds"}, {"r\xE9sum\xE9", "resume"},
    {"co-op", "coop"}, {"\xE6rlig", "\xF8re"}, {"Jerusalem", "Jerusalems"}, {"and", "the"},
    {"faithfulness", "faithful"}, {"Abraham", "Abrahams"}, {"s\xF8nn", "s\xF8nner"}, {"l\xE5", "la"},
};
const int kPairCount = sizeof kPairs / sizeof kPairs[0];

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}
}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 200000;
    if (rounds <= 0) rounds = 200000;
    ModuleHandle dll(LoadLibraryA("RyTxtUtl.dll"));
    auto create = dll ? GetProc<CreateLanguageFn>(dll.Get(), "CreateLanguage") : nullptr;
    if (!create) {
        fprintf(stderr, "RyTxtUtl.dll or its CreateLanguage export not found\n");
        return 1;
    }
    ComPtr<IRyLanguage> lang;
    if (FAILED(create("StdLang", lang.Put()))) return 1;

    LARGE_INTEGER f, t0, t1, t2;
    QueryPerformanceFrequency(&f);
    long sink = 0;
    QueryPerformanceCounter(&t0);
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < kPairCount; ++i) {
            long v = 0;
            lang->StringCompare(const_cast<LPSTR>(kPairs[i][0]), const_cast<LPSTR>(kPairs[i][1]), &v);
            sink += v;
        }
    QueryPerformanceCounter(&t1);
    const Collation& c = Collation::Std();
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < kPairCount; ++i) sink += c.Compare(kPairs[i][0], kPairs[i][1]);
    QueryPerformanceCounter(&t2);
    double n = static_cast<double>(rounds) * kPairCount;
    printf("pairs: %d, comparisons: %.0f\n", kPairCount, n);
    printf("StringCompare through IRyLanguage: %.1f ns per call\n", Seconds(t0, t1, f) * 1e9 / n);
    printf("comparison alone:                  %.1f ns per call\n", Seconds(t1, t2, f) * 1e9 / n);
    printf("(checksum %ld)\n", sink);
    return 0;
}
