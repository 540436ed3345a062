// Benchmark of the installed-bible list and the open-bible holder: builds the list over a
// "Bibles" folder of 50 copies of a bible (the KJV sample by default), cold (a fresh
// registry key: every file is opened and its names cached) and warm (names and settings
// cached: no file opened), and times GetRangeText of a verse, a chapter and a book.
//
// Usage: BibleListBench.exe [BIBLE.vrsb] [rounds]
// It writes "Versilo.ini" beside itself to point the list at a scratch folder under the
// temporary folder, and uses a scratch registry key; both are removed at the end.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "BibleInfoList.h"
#include "BibleObjects.h"
#include "DataDirectories.h"
#include "ScratchRegistry.h"

namespace {

constexpr int kBibleCopies = 50;

// Milliseconds of one list build; the list is destroyed outside the time.
double TimeListBuild(int* count) {
    BenchTimer timer;
    VoBibleInfoList list;
    double ms = timer.Seconds() * 1000.0;
    *count = list.GetCount();
    return ms;
}

// Median microseconds of a measuring call and a filling call of GetRangeText.
void TimeRangeText(const VoBibleObjects& objects, const char* what, int ref, int rounds) {
    std::vector<double> times;
    int length = 0;
    std::vector<char> buffer;
    for (int r = 0; r < rounds; ++r) {
        BenchTimer timer;
        length = objects.GetRangeText(ref, nullptr, 0, false);
        buffer.resize(static_cast<size_t>(length) + 1);
        objects.GetRangeText(ref, buffer.data(), length + 1, false);
        times.push_back(timer.Seconds() * 1e6);
    }
    printf("GetRangeText %-22s %8d characters  %12.1f us (median of %d, measure + fill)\n", what, length,
           Median(times), rounds);
}

}  // namespace

int main(int argc, char** argv) {
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    std::string source = argc > 1 ? argv[1] : std::string(program) + "..\\..\\bin\\Bibles\\KJV.vrsb";
    int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "vo-listbench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> files;
    for (int i = 1; i <= kBibleCopies; ++i) {
        char name[32];
        wsprintfA(name, "KJV%02d.vrsb", i);
        files.push_back(folder + name);
        if (!CopyFileA(source.c_str(), files.back().c_str(), FALSE)) {
            fprintf(stderr, "cannot copy %s\n", source.c_str());
            return 1;
        }
    }
    std::string ini = std::string(program) + "Versilo.ini";
    WritePrivateProfileStringA("Directories", "Bibles", folder.c_str(), ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush

    int status = 0;
    {
        ScratchRegistry registry;
        if (!registry.Ready()) {
            fprintf(stderr, "no scratch registry key\n");
            status = 1;
        } else {
            std::vector<double> cold, warm;
            int count = 0;
            for (int r = 0; r < rounds; ++r) {
                RegDeleteTreeA(registry.AppKey(), "bibles");
                cold.push_back(TimeListBuild(&count));
                warm.push_back(TimeListBuild(&count));
            }
            printf("bible list of %d bibles (copies of %s)\n", count, source.c_str());
            printf("  cold (fresh registry key, every file opened): %10.2f ms (median of %d)\n", Median(cold), rounds);
            printf("  warm (names and settings cached):              %10.2f ms (median of %d)\n", Median(warm), rounds);

            VoBibleInfoList list;
            ComPtr<IBible> bible = ComPtr<IBible>::Attach(list.GetCount() ? list.GetAt(0).GetBible() : nullptr);
            VoBibleObjects objects(bible.Get());
            if (objects.IsEmpty()) {
                fprintf(stderr, "the bible does not open\n");
                status = 1;
            } else {
                TimeRangeText(objects, "verse (Gen 1:1)", objects.MakeIndex(0, 0, 0), rounds * 20);
                TimeRangeText(objects, "chapter (Ps 119)", objects.MakeIndex(18, 118, -1), rounds * 4);
                TimeRangeText(objects, "book (Genesis)", objects.MakeIndex(0, -1, -1), rounds);
            }
        }
    }
    DeleteFileA(ini.c_str());
    for (const std::string& f : files) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder.c_str());
    return status;
}
