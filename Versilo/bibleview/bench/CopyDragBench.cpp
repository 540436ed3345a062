// Copying and dragging verses over the KJV sample bible in a real text window: all of
// Psalms written as plain text and as an "HTML Format" document (the counting and the
// writing run of each, as a copy makes them), and a dropped "VersiloReference" of a verse
// range read and converted into the pane's own numbering and into the sample variant one.
// Usage: CopyDragBench [rounds]   (run from its folder, where VoUtil.dll finds the tables)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include "BenchTimer.h"
#include "KjvBenchWindow.h"
#include "OfferedData.h"
#include "SampleVersifications.h"
#include "TextReceivers.h"

namespace {

void Finish(VoPlainTextReceiver&) {}
void Finish(VoHtmlTextReceiver& receiver) { receiver.Finish(); }

// Counts, then writes the selection into a receiver of type R: the bytes written.
template <class R>
int WriteTwice(KjvPane& pane, int count) {
    R counting;
    pane.WriteSelectedText(0, count, &counting);
    Finish(counting);
    const int n = counting.GetLength();
    std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(n) + 1]);
    R writing(buffer.get(), n + 1);
    pane.WriteSelectedText(0, count, &writing);
    Finish(writing);
    return writing.GetLength();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    KjvPane pane;
    ComPtr<IBibleStat> variant;
    if (!pane.IsOpen() || FAILED(BuildVariantStat(variant.Put()))) {
        std::printf("cannot open %s or build the variant numbering\n", VERSILO_KJV_BIBLE);
        return 1;
    }
    VoViewSettings settings;
    settings.SetMultiColumn(false);
    pane.SetSettings(&settings);
    KjvBenchWindow bench(pane, settings);
    if (!bench.IsOpen()) return 1;
    HWND window = bench.Get();

    pane.SetBook(18);
    pane.SetChapter(0);
    const int count = pane.GetItemCount();
    SendMessageA(window, TWM_SELECTRANGE, 0, count);
    std::vector<double> text, html;
    int textBytes = 0, htmlBytes = 0;
    for (int r = 0; r < rounds; ++r) {
        BenchTimer t;
        textBytes = WriteTwice<VoPlainTextReceiver>(pane, count);
        text.push_back(t.Seconds());
        BenchTimer h;
        htmlBytes = WriteTwice<VoHtmlTextReceiver>(pane, count);
        html.push_back(h.Seconds());
    }
    std::printf("Psalms (%d verses) copied as plain text: %.1f ms (median of %d), %d bytes\n", count,
                Median(text) * 1000, rounds, textBytes);
    std::printf("Psalms (%d verses) copied as HTML: %.1f ms (median of %d), %d bytes\n", count,
                Median(html) * 1000, rounds, htmlBytes);

    // Psalm 3:3-5 as another pane would drop it.
    GUID identity = {};
    pane.Objects().GetStat()->GetGuid(&identity, FALSE);
    const int first = pane.ChapterItem(2) + 2;
    OfferedBlock dropped(pane.GetReferenceFormat(), TYMED_HGLOBAL, Record(pane.MakeRangeRef(first, first + 3), identity));
    const int calls = 2000;
    for (IBibleStat* target : {pane.Objects().GetStat(), variant.Get()}) {
        std::vector<double> reads;
        int ref = 0;
        for (int r = 0; r < rounds; ++r) {
            BenchTimer t;
            for (int i = 0; i < calls; ++i) ref = ReadReferenceFromDataObject(&dropped, pane.GetReferenceFormat(), target);
            reads.push_back(t.Seconds());
        }
        std::printf("A dropped reference read into the %s numbering: %.2f us a read (median of %d rounds of %d)%s\n",
                    target == variant.Get() ? "variant" : "pane's own", Median(reads) * 1e6 / calls, rounds, calls,
                    ref ? "" : " - NOT CONVERTED");
    }
    return 0;
}
