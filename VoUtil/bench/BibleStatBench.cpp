// The cost of splitting a verse handle (IBibleHandles::RefToIndices) over the 66-book
// numbering through VoUtil.dll: on random verses, on the same verse again and again, and
// on two verses in turn (every split misses the one-entry cache).
// Usage: BibleStatBench [calls]   (default 2,000,000)
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "VoUtil.h"
#include "ComPtr.h"
#include "ProtestantCanon.h"
#include "BenchTimer.h"

namespace {

double NanosPerSplit(IBibleHandles* handles, const std::vector<int>& refs, int calls, long long* sum) {
    BenchTimer t;
    int b, c, v;
    const size_t n = refs.size();
    for (int i = 0; i < calls; ++i) {
        handles->RefToIndices(refs[i % n], &b, &c, &v);
        *sum += b + c + v;
    }
    return t.Seconds() * 1e9 / calls;
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? atoi(argv[1]) : 2000000;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(stat.As(IID_IBibleHandles, &handles))) {
        printf("could not build the statistics\n");
        return 1;
    }
    std::vector<int> random(65536);
    unsigned seed = 12345;
    for (int& h : random) {
        seed = seed * 1103515245 + 12345;
        handles->MakeRef(&h, -1, -1, static_cast<int>((seed >> 8) % kProtestantVerseCount));
    }
    std::vector<int> same(1), alternating(2);
    handles->MakeRef(&same[0], 18, 118, 100);
    handles->MakeRef(&alternating[0], 0, 0, 0);
    handles->MakeRef(&alternating[1], 65, 21, 20);

    long long sum = 0;
    double r = NanosPerSplit(handles.Get(), random, calls, &sum);
    double s = NanosPerSplit(handles.Get(), same, calls, &sum);
    double a = NanosPerSplit(handles.Get(), alternating, calls, &sum);
    printf("RefToIndices, %d calls each (checksum %lld):\n", calls, sum);
    printf("  random verses:        %.1f ns per split\n", r);
    printf("  the same verse again: %.1f ns per split\n", s);
    printf("  two verses in turn:   %.1f ns per split\n", a);
    return 0;
}
