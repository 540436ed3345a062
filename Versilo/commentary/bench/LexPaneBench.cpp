// Benchmark of the commentary pane in real windows, as a reader meets it:
// - a click on a verse number in a bible pane (the KJV sample in a text window of
//   VoView.dll) until the verse's article of a user commentary is shown in the pane's
//   article view and painted, over every verse of a few chapters;
// - in edit mode, an entry chosen in the title box of that commentary of 10,000 entries
//   until its text is in the edit box and painted, at random positions.
// Median, mean and largest time of each, in milliseconds.
//
// Usage: LexPaneBench.exe [rounds]
// It writes "Versilo.ini" beside itself naming a scratch "lexicons" folder there, which gets
// the user commentary (10,000 entries titled by verse, written once per run) and a copy of
// the build's Nave's sample lexicon, and uses a scratch registry key.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "DataDirectories.h"
#include "KjvBenchWindow.h"
#include "LexWnd.h"
#include "LexiconFiles.h"
#include "NorwegianNames.h"
#include "OleHandles.h"
#include "ProtestantCanon.h"
#include "ScratchRegistry.h"
#include "TestFiles.h"

namespace {

constexpr int kEntries = 10000;
constexpr int kBookMatthew = 39;
constexpr double kWaitLimit = 5.0;  // seconds an article may take before the run fails
constexpr char kCommentaryFile[] = "Notater.vrsn";

// The main frame as the pane sees it: nothing to redraw or go to.
class BenchHost : public AVoLexWndHost {
public:
    void RedrawBibleWindow() override {}
    IBible* GetActiveBible() override { return nullptr; }
    void GoToReference(int) override {}
    UINT GetReferenceFormat() override { return RegisterClipboardFormatA("VersiloReference"); }
    VoBibleInfoList* GetBibleList() override { return nullptr; }
    int GetActiveBibleIndex() override { return 0; }
};

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Pumps the messages and paints the pane until shown() holds; false after kWaitLimit.
template <class Shown>
bool WaitUntilShown(HWND pane, Shown shown) {
    BenchTimer waited;
    for (;;) {
        KjvBenchWindow::Pump();
        UpdateWindow(pane);
        if (shown()) return true;
        if (waited.Seconds() > kWaitLimit) return false;
    }
}

void PrintTimes(const char* what, const std::vector<double>& ms) {
    double sum = 0, most = 0;
    for (double t : ms) {
        sum += t;
        most = std::max(most, t);
    }
    const double mean = ms.empty() ? 0 : sum / static_cast<double>(ms.size());
    std::printf("%s\n  median %.3f ms, mean %.3f ms, max %.3f ms (%zu times)\n", what, Median(ms), mean, most,
                ms.size());
    std::fflush(stdout);
}

// The commentary's entries by verse reference: the entry's number, which its text names.
using VerseEntries = std::map<int, int>;

std::string EntryText(int number, const std::string& title) {
    return "Notat " + std::to_string(number) + ".\r\nOm <" + title + ">: se ogs\xE5 <Rom 8:28> og {Abraham}.";
}

// Writes the user commentary at path, titled with the Norwegian book names: 10,000 verses,
// the New Testament's and then the first verses of the Old. False on failure.
struct MakingTimes {
    double add = 0, text = 0, save = 0;  // seconds in AddEntry, in SetEntryText and saving
};
bool MakeCommentary(const std::string& path, IBibleStat* stat, IBibleLangStat* langStat, VerseEntries* entries,
                    MakingTimes* times) {
    ComPtr<IVoLexicon> lex;
    ComPtr<IBibleHandles> handles;
    if (FAILED(CreateOldVoLexFile(path.c_str(), langStat, "Mine notater", lex.Put())) ||
        FAILED(stat->QueryInterface(IID_IBibleHandles, handles.PutVoid())))
        return false;
    const int total = stat->GetVerseCount();
    const int first = stat->RefToVerseIndex(kBookMatthew, 0, 0);
    for (int n = 0; n < kEntries && n < total; ++n) {
        const int index = (first + n) % total;
        int book = 0, chapter = 0, verse = 0, reference = 0;
        stat->VerseIndexToRef(index, &book, &chapter, &verse);
        handles->MakeRef(&reference, book, chapter, verse);
        char title[kFormatRefBufferSize] = {};
        langStat->FormatRef(title, reference, 0, 0, 0, 0);
        const std::string text = EntryText(n, title);
        int id = 0;
        BenchTimer timer;
        if (FAILED(lex->AddEntry(title, &id))) return false;
        times->add += timer.Seconds();
        timer.Restart();
        if (FAILED(lex->SetEntryText(id, text.c_str()))) return false;
        times->text += timer.Seconds();
        (*entries)[reference] = n;
    }
    BenchTimer timer;
    const HRESULT saved = SaveLexicon(lex.Get());
    times->save = timer.Seconds();
    return SUCCEEDED(saved);
}

// The pane in a frame window of its own, with the user commentary chosen.
class PaneWindow {
public:
    PaneWindow() {
        frame_ = CreateWindowExA(0, "STATIC", "Versilo", WS_POPUP | WS_VISIBLE, 700, 0, 420, 560, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        pane_.reset(new VoLexWnd(&host_, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
        RECT rc = {0, 0, 420, 560};
        if (!frame_ || !pane_->Create(frame_, rc, kLexPaneId)) return;
        SendMessageA(pane_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        KjvBenchWindow::Pump();
    }
    ~PaneWindow() {
        if (pane_->Handle()) DestroyWindow(pane_->Handle());
        pane_.reset();
        if (frame_) DestroyWindow(frame_);
    }
    PaneWindow(const PaneWindow&) = delete;
    PaneWindow& operator=(const PaneWindow&) = delete;

    VoLexWnd& Pane() { return *pane_; }
    bool IsOpen() const { return pane_->Handle() != nullptr; }

    // Chooses the commentary of fileName in the chooser as the reader would.
    bool Choose(const char* fileName) {
        VoLexiconList& list = pane_->List();
        int index = -1;
        for (int i = 0; i < list.GetCount(); ++i)
            if (lstrcmpiA(list.GetAt(i).GetFileName(), fileName) == 0) index = i;
        const HWND chooser = pane_->Chooser();
        const int count = static_cast<int>(SendMessageA(chooser, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageA(chooser, CB_GETITEMDATA, i, 0) == index) SendMessageA(chooser, CB_SETCURSEL, i, 0);
        Command(kLexChooserId, CBN_SELENDOK, chooser);
        return index >= 0 && list.GetCurrent() == index;
    }
    void Click(UINT id) { Command(id, BN_CLICKED, pane_->Button(id)); }
    void SelectTitle(int position) {
        pane_->TitleBox().SetCurSel(position);
        Command(kLexTitleBoxId, CBN_SELENDOK, pane_->TitleBox().Handle());
    }
    std::string ArticleText() {
        AVoArticleDocument* document = pane_->ArticleView().GetDocument();
        return document ? WindowText(document->Window()) : std::string();
    }

private:
    void Command(UINT id, UINT code, HWND control) {
        SendMessageA(pane_->Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    }

    BenchHost host_;
    HWND frame_ = nullptr;
    std::unique_ptr<VoLexWnd> pane_;
};

// Position of the entry of verse (a reference of lex's numbering) in lex; -1 without one.
int PositionOf(IVoLexicon* lex, int verse) {
    int id = 0, position = -1;
    if (FAILED(lex->FindEntryForReference(verse, TRUE, &id)) || id <= 0 || FAILED(lex->GetEntryPosition(id, &position)))
        return -1;
    return position;
}

std::string TextAt(IVoLexicon* lex, int position) {
    int id = 0, length = 0;
    if (FAILED(lex->GetEntryId(position, &id)) || FAILED(lex->GetEntryTextLength(id, &length))) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (FAILED(lex->GetEntryText(id, &text[0], length + 1))) return std::string();
    text.resize(static_cast<size_t>(lstrlenA(text.c_str())));
    return text;
}

// A verse number clicked in the bible pane, every verse of a few chapters in each round,
// until the pane shows the verse's entry in its article view, painted.
bool TimeVersePresses(KjvPane& bible, HWND bibleWindow, PaneWindow& window, const VerseEntries& entries,
                      IVoLexicon* expected, int rounds) {
    struct Chapter {
        int book, chapter;
        const char* name;
    };
    const Chapter chapters[] = {{42, 2, "John 3"}, {44, 7, "Romans 8"}, {65, 21, "Revelation 22"}, {0, 0, "Genesis 1"}};
    VoLexWnd& pane = window.Pane();
    std::vector<double> presses;
    int verses = 0;
    for (int r = 0; r < rounds; ++r) {
        verses = 0;
        for (const Chapter& c : chapters) {
            bible.SetBook(c.book);
            bible.SetChapter(c.chapter);
            UpdateWindow(bibleWindow);
            KjvBenchWindow::Pump();
            for (int v = 0; v < bible.VersesIn(c.chapter); ++v, ++verses) {
                const int item = bible.ChapterItem(c.chapter) + v;
                const auto entry = entries.find(bible.MakeItemRef(item));
                if (entry == entries.end()) {
                    std::fprintf(stderr, "%s:%d has no entry\n", c.name, v + 1);
                    return false;
                }
                const int position = PositionOf(expected, entry->first);
                const std::string marker = "Notat " + std::to_string(entry->second) + ".";
                BenchTimer timer;
                LinkPressInfo info = {item, kPartCommentaryMarker, true, 0, 0, 0};
                bible.OnLinkPress(2, &info);
                const bool shown = WaitUntilShown(pane.Handle(), [&] {
                    return pane.ShownPosition() == position && window.ArticleText().find(marker) != std::string::npos;
                });
                presses.push_back(timer.Seconds() * 1000);
                if (!shown) {
                    std::fprintf(stderr, "%s:%d: its article was not shown\n", c.name, v + 1);
                    return false;
                }
            }
        }
    }
    PrintTimes(("Verse number clicked in the bible pane to its article shown and painted (every verse of John 3, "
                "Romans 8, Revelation 22 and Genesis 1: " +
                std::to_string(verses) + " verses, " + std::to_string(rounds) + (rounds == 1 ? " round)" : " rounds)"))
                   .c_str(),
               presses);
    return true;
}

// In edit mode, entries chosen in the title box at random positions until the entry's text
// is in the edit box, painted.
bool TimeTitleChoices(PaneWindow& window, IVoLexicon* expected, int rounds) {
    VoLexWnd& pane = window.Pane();
    window.Click(kLexEditModeId);
    KjvBenchWindow::Pump();
    if (!pane.IsEditing()) {
        std::fprintf(stderr, "the pane does not edit %s\n", kCommentaryFile);
        return false;
    }
    int count = 0;
    expected->GetEntryCount(&count);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anywhere(0, count - 1);
    std::vector<double> choices;
    for (int i = 0; i < 100 * rounds; ++i) {
        int position = anywhere(random);
        if (position == pane.ShownPosition()) position = (position + 1) % count;
        const std::string text = TextAt(expected, position);
        const HWND edit = pane.EditBox();
        BenchTimer timer;
        window.SelectTitle(position);
        const bool shown = WaitUntilShown(pane.Handle(), [&] { return WindowText(edit) == text; });
        choices.push_back(timer.Seconds() * 1000);
        if (!shown) {
            std::fprintf(stderr, "entry %d: its text did not reach the edit box\n", position);
            return false;
        }
    }
    PrintTimes(("Entry chosen in the title box of " + std::to_string(count) +
                " entries (edit mode) to its text in the edit box, painted (" + std::to_string(choices.size()) +
                " random positions)")
                   .c_str(),
               choices);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    char program[kDirectoryCapacity];
    GetProgramDirectory(program);
    const std::string bin = std::string(program) + "..\\..\\bin\\";
    const std::string lexicons = std::string(program) + "lexicons\\";
    CreateDirectoryA(lexicons.c_str(), nullptr);
    EmptyFolder(lexicons);
    WriteWholeFile(std::string(program) + "Versilo.ini", "[Directories]\r\nLexicons=.\\lexicons\\\r\n");
    ScratchRegistry registry;
    OleInitialization ole;
    if (!registry.Ready() || !ole.Ok()) {
        std::fprintf(stderr, "no scratch registry key or no OLE\n");
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);

    // The user commentary, written once; a copy outside "lexicons" tells the expected texts
    // without warming the pane's own commentary.
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
    if (FAILED(BuildProtestantStat(stat.Put())) || FAILED(BuildNorwegianLangStat(stat.Get(), langStat.Put()))) {
        std::fprintf(stderr, "cannot build the numbering\n");
        return 1;
    }
    const std::string path = lexicons + kCommentaryFile;
    const std::string expectedPath = std::string(program) + "expected.vrsn";
    VerseEntries entries;
    MakingTimes making;
    if (!MakeCommentary(path, stat.Get(), langStat.Get(), &entries, &making)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("A user commentary of %d entries written (not part of the figures): AddEntry %.1f s, SetEntryText "
                "%.1f s, save %.1f s\n",
                kEntries, making.add, making.text, making.save);
    std::fflush(stdout);
    ComPtr<IVoLexicon> expected;
    if (!CopyFileA(path.c_str(), expectedPath.c_str(), FALSE) ||
        FAILED(OpenVoLexFile(expectedPath.c_str(), expected.Put())) || !expected || FAILED(expected->OpenText()) ||
        !CopyFileA((bin + "Lexicons\\Nave's Topical Bible.vrsl").c_str(),
                   (lexicons + "Nave's Topical Bible.vrsl").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the commentary or Nave's into %s\n", lexicons.c_str());
        return 1;
    }

    // The bible pane over the KJV sample, with the commentary pane as its lexicon.
    KjvPane bible;
    if (!bible.IsOpen()) {
        std::fprintf(stderr, "cannot open %s\n", VERSILO_KJV_BIBLE);
        return 1;
    }
    VoViewSettings settings;
    settings.SetMultiColumn(false);
    settings.SetFont("Times New Roman", 12);
    bible.SetSettings(&settings);
    KjvBenchWindow bibleWindow(bible, settings);
    PaneWindow window;
    if (!bibleWindow.IsOpen() || !window.IsOpen() || !window.Choose(kCommentaryFile)) {
        std::fprintf(stderr, "cannot show the panes with %s\n", kCommentaryFile);
        return 1;
    }
    bible.lexicon = &window.Pane();
    const bool timed = TimeVersePresses(bible, bibleWindow.Get(), window, entries, expected.Get(), rounds) &&
                       TimeTitleChoices(window, expected.Get(), rounds);
    bible.lexicon = nullptr;
    return timed ? 0 : 1;
}
