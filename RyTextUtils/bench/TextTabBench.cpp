// Text table on a corpus of verse texts ("BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TEXT" lines): packs
// them with the writer, loads the table into RyTxtUtl.dll's CRyTextTab and prints
//   - the median time of each query of a fixed mix (every query run many times),
//   - the time to rebuild every text once,
//   - the table's size beside the plain texts' size.
// It also writes the plain texts (one per line) to PLAIN so that a script can compress
// them for comparison.
// Usage: wine-run RyTextTabBench.exe CORPUS [PLAIN [QUERY...]] (queries in place of the mix)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "Handles.h"
#include "RyTextUtilsApi.h"
#include "TextLines.h"
#include "TextTableWriter.h"

namespace {

double Now() {
    static LARGE_INTEGER f = [] { LARGE_INTEGER x; QueryPerformanceFrequency(&x); return x; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

const char* const kQueries[] = {
    "the",                    // a common word
    "Methuselah",             // a rare word
    "faith & works",          // both
    "Moses / Aaron",          // either
    "living water",           // two-word phrase
    "the son of",             // three-word phrase
    "faith*",                 // a prefix
    "(David / Solomon) king", // a parenthesised group in a phrase
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: RyTextTabBench CORPUS [PLAIN]\n");
        return 2;
    }
    std::vector<std::string> texts;
    std::string error;
    if (!ReadTextLines(argv[1], 4, &texts, &error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    size_t plainSize = 0;
    std::string plain;
    for (const std::string& t : texts) {
        plain += t;
        plain += '\n';
    }
    plainSize = plain.size();
    if (argc > 2) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(plain.data(), static_cast<std::streamsize>(plain.size()));
    }

    TextTableWriter writer;
    for (const std::string& t : texts) writer.AddText(t);
    std::string table, words;
    double t0 = Now();
    if (!writer.Build(&table, &words, &error)) {
        fprintf(stderr, "writer: %s\n", error.c_str());
        return 1;
    }
    double buildTime = Now() - t0;

    ModuleHandle dll(LoadLibraryA("RyTxtUtl.dll"));
    auto create = dll ? GetProc<CreateRyTextTabFn>(dll.Get(), "CreateRyTextTab") : nullptr;
    if (!create) {
        fprintf(stderr, "RyTxtUtl.dll or CreateRyTextTab not found\n");
        return 1;
    }
    CoInitialize(nullptr);
    {
        ComPtr<IRyTextTab> tab;
        ComPtr<IPersistStream> persist;
        ComPtr<IStream> stream;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, table.size());
        memcpy(GlobalLock(mem), table.data(), table.size());
        GlobalUnlock(mem);
        if (FAILED(create(tab.Put())) || FAILED(tab->QueryInterface(IID_IPersistStream, persist.PutVoid())) ||
            FAILED(CreateStreamOnHGlobal(mem, TRUE, stream.Put()))) {
            fprintf(stderr, "cannot make the text table\n");
            return 1;
        }
        t0 = Now();
        HRESULT hr = persist->Load(stream.Get());
        double loadTime = Now() - t0;
        if (FAILED(hr)) {
            fprintf(stderr, "load failed: 0x%08lx\n", hr);
            return 1;
        }
        long count = 0;
        tab->get_TextCount(&count);
        printf("texts: %ld\n", count);
        printf("plain texts: %zu bytes; table: %zu bytes (word list %zu bytes); %.1f%% of plain\n", plainSize,
               table.size(), words.size(), 100.0 * static_cast<double>(table.size()) / static_cast<double>(plainSize));
        printf("writer: %.0f ms; load: %.1f ms\n", buildTime * 1e3, loadTime * 1e3);

        // Rebuild every text once, best of five runs.
        std::vector<char> buf(1 << 16);
        double best = 1e9;
        size_t bytes = 0;
        for (int run = 0; run < 5; ++run) {
            t0 = Now();
            for (long i = 0; i < count; ++i) tab->get_Text(i, static_cast<long>(buf.size()), buf.data());
            best = std::min(best, Now() - t0);
        }
        double lengths = 1e9;
        for (int run = 0; run < 5; ++run) {
            bytes = 0;
            t0 = Now();
            for (long i = 0; i < count; ++i) {
                long len = 0;
                tab->get_TextLength(i, &len);
                bytes += static_cast<size_t>(len - 1);
            }
            lengths = std::min(lengths, Now() - t0);
        }
        printf("rebuild all %ld texts: %.2f ms (best of 5; %zu bytes); their lengths alone: %.2f ms\n", count,
               best * 1e3, bytes, lengths * 1e3);

        printf("%-26s %8s %10s\n", "query", "texts", "median ms");
        std::vector<double> medians;
        std::vector<const char*> queries(std::begin(kQueries), std::end(kQueries));
        if (argc > 3) queries.assign(argv + 3, argv + argc);
        for (const char* q : queries) {
            std::vector<double> times;
            long found = 0;
            for (int run = 0; run < 41; ++run) {
                long n = 0;
                long* idx = nullptr;
                t0 = Now();
                tab->Find(0, -1, const_cast<LPSTR>(q), &n, &idx);
                times.push_back(Now() - t0);
                CoTaskMemFree(idx);
                found = n;
            }
            std::sort(times.begin(), times.end());
            double median = times[times.size() / 2] * 1e3;
            medians.push_back(median);
            printf("%-26s %8ld %10.3f\n", q, found, median);
        }
        std::sort(medians.begin(), medians.end());
        size_t m = medians.size();
        printf("median over the mix: %.3f ms\n", m % 2 ? medians[m / 2] : (medians[m / 2 - 1] + medians[m / 2]) / 2);
    }
    CoUninitialize();
    return 0;
}
