// The cost of FormatRef and ParseRef with the Norwegian names over the 66-book numbering,
// through VoUtil.dll: random verses formatted without context ("Joh 3:16"), verse ranges
// ("Joh 3:16-18"), and the formatted texts parsed back.
// Usage: LangStatBench [calls]   (default 300,000)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "ComPtr.h"
#include "NorwegianNames.h"
#include "BenchTimer.h"

int main(int argc, char** argv) {
    const int calls = argc > 1 ? atoi(argv[1]) : 300000;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    ComPtr<IBibleLangStat> lang;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(stat.As(IID_IBibleHandles, &handles)) ||
        FAILED(BuildNorwegianLangStat(stat.Get(), lang.Put()))) {
        printf("could not build the statistics\n");
        return 1;
    }
    std::vector<int> verses(4096), ranges(4096);
    unsigned seed = 4711;
    for (size_t i = 0; i < verses.size(); ++i) {
        seed = seed * 1103515245 + 12345;
        int v = static_cast<int>((seed >> 8) % kProtestantVerseCount);
        handles->MakeRef(&verses[i], -1, -1, v);
        int b, c, k;
        handles->RefToIndices(verses[i], &b, &c, &k);
        ranges[i] = verses[i];
        handles->ExtendRef(&ranges[i], b, c, stat->GetVersesInChapter(b, c) - 1);
    }
    char buf[kFormatRefBufferSize];
    auto formatTime = [&](const std::vector<int>& refs, std::vector<std::string>* texts) {
        BenchTimer t;
        for (int i = 0; i < calls; ++i) lang->FormatRef(buf, refs[i % refs.size()], 0, 0, 0, FALSE);
        double ns = t.Seconds() * 1e9 / calls;
        for (int h : refs) {
            lang->FormatRef(buf, h, 0, 0, 0, FALSE);
            texts->push_back(buf);
        }
        return ns;
    };
    int bad = 0;
    auto parseTime = [&](const std::vector<std::string>& texts, const std::vector<int>& refs) {
        BenchTimer t;
        for (int i = 0; i < calls; ++i) {
            char* cursor = const_cast<char*>(texts[i % texts.size()].c_str());
            int h = 0;
            if (lang->ParseRef(&cursor, &h, nullptr) != S_OK || h != refs[i % refs.size()]) ++bad;
        }
        return t.Seconds() * 1e9 / calls;
    };
    std::vector<std::string> verseTexts, rangeTexts;
    double fv = formatTime(verses, &verseTexts);
    double fr = formatTime(ranges, &rangeTexts);
    double pv = parseTime(verseTexts, verses);
    double pr = parseTime(rangeTexts, ranges);
    printf("%d calls each, %d parses that did not give the handle back\n", calls, bad);
    printf("  FormatRef, a verse (e.g. \"%s\"):  %.0f ns\n", verseTexts[0].c_str(), fv);
    printf("  FormatRef, a range (e.g. \"%s\"): %.0f ns\n", rangeTexts[0].c_str(), fr);
    printf("  ParseRef, a verse:  %.0f ns\n", pv);
    printf("  ParseRef, a range:  %.0f ns\n", pr);
    return bad ? 1 : 0;
}
