// The search dialog's own search path on the KJV sample bible, as a user drives it: each
// query of the text table's benchmark mix and prefixes of one, two and three letters are
// typed into the query combo, then the restart timer's message is sent.
//   - keystroke: the last character typed until its word list is filled (synchronous);
//   - search: timer 100 until the hit list holds the hits and has painted them.
// Medians over the rounds; run as B/wine-run B/bench/SearchDialogBench.exe [BIBLE.vrsb] [rounds].
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "DialogDriving.h"
#include "IBible.h"
#include "SearchDialog.h"
#include "VoUtil.h"

namespace {

const char* const kQueries[] = {
    "the", "Methuselah", "faith & works", "Moses / Aaron", "living water", "the son of", "faith*",
    "(David / Solomon) king", "kingdom of God", "s", "sa", "sal", "w", "wo", "wor",
};

struct Figures {
    std::vector<double> keystroke, search;
    int hits = 0, words = 0;
};

int g_rounds = 5;
std::vector<Figures>* g_figures = nullptr;


void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = ThreadDialog();
    if (!dialog) return;
    KillTimer(nullptr, id);
    HWND combo = GetDlgItem(dialog, 1032), words = GetDlgItem(dialog, 1028), hits = GetDlgItem(dialog, 1042);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SendDlgItemMessageA(dialog, 1035, BM_CLICK, 0, 0);  // the whole bible
    for (int round = 0; round < g_rounds; ++round) {
        for (size_t q = 0; q < sizeof kQueries / sizeof kQueries[0]; ++q) {
            const std::string query = kQueries[q];
            TypeInto(combo, query.substr(0, query.size() - 1));
            SendMessageA(dialog, WM_TIMER, 100, 0);
            BenchTimer timer;
            SendMessageA(edit, WM_CHAR, static_cast<BYTE>(query.back()), 1);
            (*g_figures)[q].keystroke.push_back(timer.Seconds() * 1e3);
            timer.Restart();
            SendMessageA(dialog, WM_TIMER, 100, 0);
            UpdateWindow(hits);
            (*g_figures)[q].search.push_back(timer.Seconds() * 1e3);
            (*g_figures)[q].hits = static_cast<int>(SendMessageA(hits, LVM_GETITEMCOUNT, 0, 0));
            (*g_figures)[q].words = static_cast<int>(SendMessageA(words, LB_GETCOUNT, 0, 0));
        }
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    *strrchr(program, '\\') = '\0';
    const std::string path = argc > 1 ? argv[1] : std::string(program) + "\\..\\bin\\Bibles\\KJV.vrsb";
    if (argc > 2) g_rounds = std::max(1, atoi(argv[2]));
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    INewBible* bible = nullptr;
    if (FAILED(OpenNewBibleFile(path.c_str(), &bible))) {
        fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    std::vector<Figures> figures(sizeof kQueries / sizeof kQueries[0]);
    g_figures = &figures;
    HFONT font = CreateFontA(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    {
        VoSearchDlg dialog(bible, font);
        SetTimer(nullptr, 0, 20, &Drive);
        if (dialog.DoModal(nullptr) != IDCANCEL) {
            fprintf(stderr, "the dialog did not run\n");
            return 1;
        }
    }
    printf("%-26s %7s %7s %14s %12s\n", "query", "words", "hits", "keystroke ms", "search ms");
    for (size_t q = 0; q < figures.size(); ++q)
        printf("%-26s %7d %7d %14.2f %12.2f\n", kQueries[q], figures[q].words, figures[q].hits,
               Median(figures[q].keystroke), Median(figures[q].search));
    printf("medians of %d rounds; keystroke: the last character until the word list is filled; search: timer 100 "
           "until the hit list is filled and painted\n",
           g_rounds);
    DeleteObject(font);
    bible->Release();
    CoUninitialize();
    return 0;
}
