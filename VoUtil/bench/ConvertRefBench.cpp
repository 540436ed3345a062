// The cost of ConvertRef through VoUtil.dll's conversion tables: a copy of the DLL is put in
// a scratch folder beside a "Bibles" folder holding the sample tables and the reference
// versification, and random verses are converted from the common numbering to the variant
// (one table), from the variant to the folded-Malachi numbering (two tables, through the
// reference versification), and between two numberings of one versification.
// Usage: ConvertRefBench [calls]   (default 300,000)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "ComPtr.h"
#include "Handles.h"
#include "ProtestantCanon.h"
#include "SampleVersifications.h"
#include "BenchTimer.h"

namespace {

using ConvertRefFn = HRESULT(__stdcall*)(IUnknown*, IUnknown*, int, int*);

std::vector<int> RandomVerses(IBibleStat* stat, size_t n) {
    ComPtr<IBibleHandles> handles;
    stat->QueryInterface(IID_IBibleHandles, handles.PutVoid());
    std::vector<int> refs(n);
    unsigned seed = 2718;
    for (int& h : refs) {
        seed = seed * 1103515245 + 12345;
        handles->MakeRef(&h, -1, -1, static_cast<int>((seed >> 8) % static_cast<unsigned>(stat->GetVerseCount())));
    }
    return refs;
}

double NanosPerCall(ConvertRefFn convert, IBibleStat* from, IBibleStat* to, int calls, int* converted) {
    const std::vector<int> refs = RandomVerses(from, 4096);
    BenchTimer t;
    for (int i = 0; i < calls; ++i) {
        int out = 0;
        if (convert(from, to, refs[i & 4095], &out) == S_OK) ++*converted;
    }
    return t.Seconds() * 1e9 / calls;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? atoi(argv[1]) : 300000;
    char temp[MAX_PATH], self[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vo-convert-bench-" + std::to_string(GetCurrentProcessId());
    const std::string bibles = folder + "\\Bibles", dll = folder + "\\VoUtil.dll";
    HMODULE linked = GetModuleHandleA("VoUtil.dll");
    GetModuleFileNameA(linked, self, MAX_PATH);
    if (!CreateDirectoryA(folder.c_str(), nullptr) || !CreateDirectoryA(bibles.c_str(), nullptr) ||
        FAILED(WriteSampleBiblesFolder(bibles)) || !CopyFileA(self, dll.c_str(), FALSE)) {
        printf("could not set up %s\n", folder.c_str());
        return 1;
    }
    int status = 0;
    {
        ModuleHandle copy(LoadLibraryA(dll.c_str()));
        auto convert = copy ? GetProc<ConvertRefFn>(copy.Get(), "_ConvertRef@16") : nullptr;
        ComPtr<IBibleStat> common, variant, folded, sameVersification;
        const GUID otherIdentity = {0x5eed, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
        if (!convert || FAILED(BuildProtestantStat(common.Put())) || FAILED(BuildVariantStat(variant.Put())) ||
            FAILED(BuildFoldedMalachiStat(folded.Put())) ||
            FAILED(BuildProtestantStat(sameVersification.Put(), &otherIdentity))) {
            printf("could not load the DLL copy or build the statistics\n");
            status = 1;
        } else {
            int ok = 0;
            // The first call loads the tables; it is not timed.
            int out = 0;
            convert(common.Get(), variant.Get(), RandomVerses(common.Get(), 1)[0], &out);
            const double same = NanosPerCall(convert, common.Get(), sameVersification.Get(), calls, &ok);
            const double table = NanosPerCall(convert, common.Get(), variant.Get(), calls, &ok);
            const double twoStep = NanosPerCall(convert, variant.Get(), folded.Get(), calls, &ok);
            printf("ConvertRef of random verses, %d calls each (%d converted):\n", calls, ok);
            printf("  same versification, other identity:      %.1f ns per call\n", same);
            printf("  through one table:                       %.1f ns per call\n", table);
            printf("  through the reference versification:     %.1f ns per call\n", twoStep);
        }
    }
    for (const char* name : {"kv61.vos", "variant.brt", "malachi.brt"}) DeleteFileA((bibles + "\\" + name).c_str());
    RemoveDirectoryA(bibles.c_str());
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
    return status;
}
