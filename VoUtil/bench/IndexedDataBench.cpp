// Writes an indexed-data file of many entries through VoUtil.dll and reads it back, entry
// by entry from the file and again with the blocks pinned, printing the times.
// Usage: IndexedDataBench [entries] [folder]   (defaults: 100000 entries, the temp folder)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "ComPtr.h"
#include "BenchTimer.h"

int main(int argc, char** argv) {
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    char folder[MAX_PATH];
    if (argc > 2) lstrcpynA(folder, argv[2], MAX_PATH);
    else GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "\\indexed-data-bench.dat";

    // Entries of 0..63 bytes, verse-sized, every seventh empty.
    std::vector<char> data(64);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    auto sizeOf = [](int i) { return i % 7 == 3 ? 0 : (i * 37) % 64; };

    BenchTimer t;
    {
        ComPtr<ICreateIndexedData> w;
        HRESULT hr = CreateIndexedDataFile(path.c_str(), FALSE, count, w.Put());
        if (FAILED(hr)) { printf("create failed: 0x%08lX\n", hr); return 1; }
        for (int i = 0; i < count; ++i) {
            w->Write(data.data(), sizeOf(i), nullptr);
            w->EndEntry(i);
        }
        hr = w->Finish();
        if (FAILED(hr)) { printf("finish failed: 0x%08lX\n", hr); return 1; }
    }
    double write = t.Seconds();

    ComPtr<IIndexedData> r;
    t.Restart();
    HRESULT hr = OpenIndexedDataFile(path.c_str(), r.Put());
    double open = t.Seconds();
    if (FAILED(hr)) { printf("open failed: 0x%08lX\n", hr); return 1; }

    char buf[64];
    long long bytes = 0;
    int bad = 0;
    t.Restart();
    for (int i = 0; i < count; ++i) {
        int size = 0;
        r->GetEntrySize(i, &size);
        if (r->ReadEntry(i, 0, buf, size) != S_OK || size != sizeOf(i)) ++bad;
        bytes += size;
    }
    double unpinned = t.Seconds();

    t.Restart();
    r->LoadEntries(0, count);
    for (int i = 0; i < count; ++i) {
        int size = 0;
        r->GetEntrySize(i, &size);
        if (r->ReadEntry(i, 0, buf, size) != S_OK) ++bad;
    }
    r->UnloadEntries(0, count);
    double pinned = t.Seconds();
    r.Reset();
    DeleteFileA(path.c_str());

    printf("entries %d, data %lld bytes, errors %d\n", count, bytes, bad);
    printf("write and finish: %.1f ms\n", write * 1000);
    printf("open:             %.1f ms\n", open * 1000);
    printf("read unpinned:    %.1f ms (%.2f us per entry)\n", unpinned * 1000, unpinned * 1e6 / count);
    printf("load and read:    %.1f ms (%.3f us per entry)\n", pinned * 1000, pinned * 1e6 / count);
    return bad ? 1 : 0;
}
