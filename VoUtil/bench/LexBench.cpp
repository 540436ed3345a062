// Benchmark of user commentaries: builds a commentary of N entries (10,000 by default) in a
// scratch folder, then times opening it and saving it after one change.
// Usage: LexBench.exe [entries] [runs] [ordered]
// Entries are added in a scattered order unless "ordered" is given: then in key order, as
// daily notes are written (Wine's compound files keep their directory as an unbalanced
// tree, and saving costs far more when names arrive in order).
// Runs through VoUtil.dll's exports, with the Norwegian language statistics of the 66-book
// numbering and the collation of RyTxtUtl.dll.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "ComPtr.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "VoUtil.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

bool Check(HRESULT hr, const char* what) {
    if (SUCCEEDED(hr)) return true;
    fprintf(stderr, "%s failed: 0x%08lX\n", what, static_cast<unsigned long>(hr));
    return false;
}

HRESULT SaveNow(IVoLexicon* lex) {
    ComPtr<IPersistFile> file;
    HRESULT hr = lex->QueryInterface(IID_IPersistFile, file.PutVoid());
    if (SUCCEEDED(hr)) hr = file->Save(nullptr, TRUE);
    if (SUCCEEDED(hr)) hr = file->SaveCompleted(nullptr);
    return hr;
}

// Titles: a reference to every tenth verse of the bible (a tenth of the entries at most),
// every day of the year, dated days from 2020 on, and topics for the rest.
std::vector<std::string> Titles(IBibleLangStat* langStat, int count, bool scattered) {
    std::vector<std::string> titles;
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleHandles> handles;
    langStat->GetBibleStat(stat.Put());
    stat.As(IID_IBibleHandles, &handles);
    for (int v = 0; v < stat->GetVerseCount() && static_cast<int>(titles.size()) < count / 10; v += 10) {
        int ref = 0;
        char buf[kFormatRefBufferSize];
        if (SUCCEEDED(handles->MakeRef(&ref, -1, -1, v)) && SUCCEEDED(langStat->FormatRef(buf, ref, 0, 0, 0, FALSE)))
            titles.push_back(buf);
    }
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= kDays[m - 1]; ++d) {
            char buf[16];
            snprintf(buf, sizeof buf, "/%02d/%02d", d, m);
            titles.push_back(buf);
        }
    for (int i = 0; static_cast<int>(titles.size()) < count / 5; ++i) {
        char buf[24];
        snprintf(buf, sizeof buf, "/%02d/%02d/%04d", 1 + i % 28, 1 + (i / 28) % 12, 2020 + i / 336);
        titles.push_back(buf);
    }
    for (int i = 0; static_cast<int>(titles.size()) < count; ++i) {
        char buf[32];
        snprintf(buf, sizeof buf, "Emne %05d", (i * 7919) % 100000);
        titles.push_back(buf);
    }
    // Entries come in a scattered order, as topics do; in order, as daily notes do.
    if (scattered) {
        unsigned seed = 2024;
        for (size_t i = titles.size(); i > 1; --i) {
            seed = seed * 1103515245u + 12345u;
            std::swap(titles[i - 1], titles[(seed >> 8) % i]);
        }
    }
    return titles;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? atoi(argv[2]) : 7;
    const bool scattered = !(argc > 3 && lstrcmpiA(argv[3], "ordered") == 0);
    if (count <= 0 || runs <= 0) {
        fprintf(stderr, "usage: LexBench [entries] [runs] [ordered]\n");
        return 2;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%sLexBench-%lu.vrsn", temp, GetCurrentProcessId());
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
    if (!Check(BuildProtestantStat(stat.Put()), "statistics") ||
        !Check(BuildNorwegianLangStat(stat.Get(), langStat.Put()), "language statistics"))
        return 1;
    const std::string text = std::string(150, 'x') + " Notat om emnet, skrevet av brukeren. ";

    double t0 = Now(), addTime = 0, textTime = 0;
    {
        ComPtr<IVoLexicon> lex;
        if (!Check(CreateOldVoLexFile(path, langStat.Get(), "Benchmark", lex.Put()), "create")) return 1;
        int added = 0;
        for (const std::string& title : Titles(langStat.Get(), count + 100, scattered)) {
            if (added == count) break;
            int id = 0;
            double a = Now();
            HRESULT hr = lex->AddEntry(title.c_str(), &id);
            addTime += Now() - a;
            if (hr == E_INVALIDARG) continue;  // a title that reads as one already added
            if (!Check(hr, title.c_str())) return 1;
            ++added;
            double b = Now();
            if (!Check(lex->SetEntryText(id, (title + ": " + text).c_str()), "set text")) return 1;
            textTime += Now() - b;
        }
        if (!Check(SaveNow(lex.Get()), "save")) return 1;
    }
    double built = Now() - t0;
    WIN32_FILE_ATTRIBUTE_DATA info = {};
    GetFileAttributesExA(path, GetFileExInfoStandard, &info);

    std::vector<double> opens, saves, adds, texts;
    for (int r = 0; r < runs; ++r) {
        ComPtr<IVoLexicon> lex;
        double a = Now();
        if (!Check(OpenVoLexFile(path, lex.Put()), "open")) return 1;
        double b = Now();
        int entries = 0;
        lex->GetEntryCount(&entries);
        if (entries != count) {
            fprintf(stderr, "opened %d entries, expected %d\n", entries, count);
            return 1;
        }
        char changed[64];
        snprintf(changed, sizeof changed, "changed in run %d", r);

        double c = Now();
        if (!Check(lex->SetEntryText(1 + r % count, changed), "change")) return 1;
        if (!Check(SaveNow(lex.Get()), "save after one change")) return 1;
        double d = Now();
        opens.push_back(b - a);
        saves.push_back(d - c);
        // Adding an entry costs as much as the list is long; it is timed apart from the
        // save and not saved.
        char title[32];
        snprintf(title, sizeof title, "Nytt emne %d", r);
        int id = 0;
        double e = Now();
        if (!Check(lex->AddEntry(title, &id), "add")) return 1;
        double f = Now();
        if (!Check(lex->SetEntryText(id, changed), "text of the new entry")) return 1;
        double g = Now();
        adds.push_back(f - e);
        texts.push_back(g - f);
        if (!Check(lex->DeleteEntry(id), "delete")) return 1;
    }
    DeleteFileA(path);

    printf("entries added %s\n", scattered ? "in a scattered order" : "in key order");
    printf("commentary of %d entries, %.0f KB on disk (built and saved in %.0f ms: adding %.0f ms, texts %.0f ms)\n",
           count, static_cast<double>(info.nFileSizeLow) / 1024.0, built, addTime, textTime);
    printf("open:                   median %.1f ms over %d runs (min %.1f, max %.1f)\n", Median(opens), runs,
           *std::min_element(opens.begin(), opens.end()), *std::max_element(opens.begin(), opens.end()));
    printf("one change and save:    median %.1f ms over %d runs (min %.1f, max %.1f)\n", Median(saves), runs,
           *std::min_element(saves.begin(), saves.end()), *std::max_element(saves.begin(), saves.end()));
    printf("add one entry:          median %.1f ms; set its text: median %.1f ms\n", Median(adds), Median(texts));
    return 0;
}
