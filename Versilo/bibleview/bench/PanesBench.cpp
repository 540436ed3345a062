// Benchmark of the bible panes in real windows: a pane going from Genesis 1 to John 3 and
// back through its history, a translation switch at a verse between the KJV sample and a
// bible of the sample variant numbering, and six panes laid out and painted again after
// the host is resized.
//
// Usage: PanesBench.exe [rounds]
// It lays its own folder out as a program folder: the sample numbering tables in "Bibles"
// (VoUtil.dll beside it converts through them) and "Versilo.ini" naming scratch\Bibles,
// where it puts a copy of the KJV sample and writes the variant bible. A scratch registry
// key holds the settings.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "BibleInfoList.h"
#include "BibleWindowHost.h"
#include "BibleWriter.h"
#include "DataDirectories.h"
#include "NorwegianNames.h"
#include "SampleProgramFolder.h"
#include "SampleVersifications.h"
#include "ScratchRegistry.h"
#include "SimpleBibleWindow.h"
#include "TestFiles.h"
#include "ViewSettings.h"

namespace {

class BenchClient : public ABibleWindowClient {
public:
    void OnActiveWindowChanged(unsigned) override {}
    IBibleRefLib* GetRefLib() override { return nullptr; }
    VoViewSettings* GetViewSettings() override { return &settings; }
    void SetStatusText(const char*) override {}
    VoBibleInfoList* GetBibleList() override { return &list; }
    VoKv61MarkedVerses* GetMarkedVerses() override { return nullptr; }
    AVoLexicon* GetLexiconWindow() override { return nullptr; }
    UINT GetReferenceFormat() override { return 0; }
    void EnableCommand(UINT, unsigned, bool) override {}
    void CheckCommand(UINT, unsigned, bool) override {}
    VoBibleInfoList list;
    VoViewSettings settings;
};

bool PrepareFolder() {
    if (!PrepareSampleProgramFolder()) return false;
    char dir[kDirectoryCapacity];
    const std::string bibles = GetBiblesDirectory(dir);
    if (!CopyFileA(WinePath(VERSILO_KJV_BIBLE).c_str(), (bibles + "KJV.vrsb").c_str(), FALSE)) return false;
    ComPtr<IBibleStat> variant;
    ComPtr<IBibleLangStat> lang;
    if (FAILED(BuildVariantStat(variant.Put())) || FAILED(BuildNorwegianLangStat(variant.Get(), lang.Put())))
        return false;
    BibleWriter w(lang.Get());
    for (int v = 0; v < w.VerseCount(); ++v) w.SetVerse(v, "Et vers i variantnummereringen.");
    w.SetNames("Testbibel i variantnummerering", "VAR");
    std::string error;
    return w.WriteFile(BibleFormat::kNew, bibles + "variant.vrsb", &error);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

VoBiblePosition Chapter(int bible, int book, int chapter) {
    VoBiblePosition p;
    p.bibleIndex = bible;
    p.book = book;
    p.chapter = chapter;
    p.verse = 0;
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    ScratchRegistry registry;
    if (!registry.Ready() || !PrepareFolder()) {
        fprintf(stderr, "cannot lay out the program folder\n");
        return 1;
    }
    BenchClient client;
    const int kjv = client.list.FindByShortName("KJV"), var = client.list.FindByShortName("VAR");
    if (kjv == client.list.End() || var == client.list.End()) {
        fprintf(stderr, "the sample bibles are not listed\n");
        return 1;
    }
    HWND frame = CreateWindowExA(0, "STATIC", "Versilo", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 906, 600,
                                 nullptr, nullptr, nullptr, nullptr);
    ComPtr<AVoBibleWindow> host = VoBibleWindowHost::Create();
    if (!host) return 1;
    host->Initialize(&client);
    const VoBiblePosition genesis = Chapter(kjv, 0, 0), john = Chapter(kjv, 42, 2);
    RECT rc = {0, 0, 906, 600};
    if (!host->CreateTextWindow(frame, &rc, 3000, &genesis)) {
        fprintf(stderr, "cannot make the host window\n");
        return 1;
    }
    Pump();

    std::vector<double> forward, back, switches, relayouts;
    HWND text = host->GetTextWindow();
    for (int r = 0; r < rounds; ++r) {
        BenchTimer timer;
        host->GoToPosition(&john);
        UpdateWindow(text);
        forward.push_back(timer.Seconds() * 1e3);
        timer.Restart();
        host->Navigate(true);
        UpdateWindow(text);
        back.push_back(timer.Seconds() * 1e3);
        Pump();
    }
    // Joel 2:30 of the KJV is Joel 3:3 of the variant numbering.
    VoBiblePosition joel = Chapter(kjv, 28, 1);
    host->GoToPosition(&joel);
    for (int r = 0; r < rounds; ++r) {
        BenchTimer timer;
        host->SetBible(r % 2 ? kjv : var);
        UpdateWindow(text);
        switches.push_back(timer.Seconds() * 1e3);
        Pump();
    }
    for (int i = 1; i < VoBibleWindowHost::kMaxPanes; ++i) host->HandleCommand(kCmdNewPane);
    Pump();
    HWND hostWindow = GetParent(host->GetTextWindow());
    for (int r = 0; r < rounds; ++r) {
        RECT size = {0, 0, r % 2 ? 906 : 760, 600};
        BenchTimer timer;
        host->MoveWindow(&size);
        RedrawWindow(hostWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        relayouts.push_back(timer.Seconds() * 1e3);
        Pump();
    }
    printf("Genesis 1 -> John 3 (go to, painted)       %8.2f ms (median of %d)\n", Median(forward), rounds);
    printf("Back to Genesis 1 (painted)                %8.2f ms\n", Median(back));
    printf("Translation switch KJV <-> VAR at Joel 2   %8.2f ms\n", Median(switches));
    printf("Six panes: resize, layout and paint        %8.2f ms\n", Median(relayouts));
    DestroyWindow(hostWindow);
    host.Reset();
    DestroyWindow(frame);
    return 0;
}
