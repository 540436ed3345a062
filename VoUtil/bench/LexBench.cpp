// Benchmark of user commentaries: builds a commentary of N entries (10,000 by default) in a
// scratch folder, then times opening it and saving it after one change.
// Usage: LexBench.exe [entries] [runs]
// The reference system and collation are the test stand-ins of VoUtil/tests, until the
// library's language statistics and collation are bound in.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "LexExportsImpl.h"
#include "LexTestBinding.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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

// Titles: every reference of the stand-in bible, every day of the year, dated days from 2020 on,
// and topics for the rest; each entry with a text of about 200 characters.
std::vector<std::string> Titles(int count) {
    std::vector<std::string> titles;
    lextest::TestRefSystem refs;
    for (int p = 1; p < 2 + 3 + 8 + 80 && static_cast<int>(titles.size()) < count / 10; ++p) {
        char buf[64];
        if (SUCCEEDED(refs.Format(static_cast<int>(0xFFFF0000u | p), buf, sizeof buf))) titles.push_back(buf);
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
    titles.resize(count);
    return titles;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? atoi(argv[2]) : 7;
    if (count <= 0 || runs <= 0) {
        fprintf(stderr, "usage: LexBench [entries] [runs]\n");
        return 2;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%sLexBench-%lu.vrsn", temp, GetCurrentProcessId());
    const LexBinding& binding = lextest::TestBinding();
    const std::string text = std::string(150, 'x') + " Notat om emnet, skrevet av brukeren. ";

    double t0 = Now(), addTime = 0, textTime = 0;
    {
        ComPtr<IVoLexicon> lex;
        if (!Check(CreateLexFile(path, lextest::TestLangStat(), "Benchmark", lex.Put(), binding), "create")) return 1;
        int added = 0;
        for (const std::string& title : Titles(count + 100)) {
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
        if (!Check(OpenLexFile(path, lex.Put(), binding), "open")) return 1;
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

    printf("commentary of %d entries, %.0f KB on disk (built and saved in %.0f ms: adding %.0f ms, texts %.0f ms)\n",
           count, static_cast<double>(info.nFileSizeLow) / 1024.0, built, addTime, textTime);
    printf("open:                   median %.1f ms over %d runs (min %.1f, max %.1f)\n", Median(opens), runs,
           *std::min_element(opens.begin(), opens.end()), *std::max_element(opens.begin(), opens.end()));
    printf("one change and save:    median %.1f ms over %d runs (min %.1f, max %.1f)\n", Median(saves), runs,
           *std::min_element(saves.begin(), saves.end()), *std::max_element(saves.begin(), saves.end()));
    printf("add one entry:          median %.1f ms; set its text: median %.1f ms\n", Median(adds), Median(texts));
    return 0;
}
