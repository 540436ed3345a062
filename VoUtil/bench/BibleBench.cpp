// Opening a bible file and reading all its verses, through VoUtil.dll: the KJV sample
// bible of the build (new format), and the same texts written in the old format to a
// scratch file. Prints each file's size, the median time of an open, and
// the median time to read every verse into a buffer (as stored, without the markup, and
// with each book pinned by LoadBook first).
// Usage: BibleBench [BIBLE.vrsb] [rounds]   (default ..\bin\Bibles\KJV.vrsb beside this
// program's folder, 9 rounds)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "VoUtil.h"
#include "ComPtr.h"
#include "BenchTimer.h"
#include "BibleWriter.h"

namespace {

std::string BesideProgram(const char* relative) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.rfind('\\') + 1) + relative;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return -1;
    return (static_cast<long long>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

typedef HRESULT (*OpenFn)(const std::string& path, IBible** out);

HRESULT OpenNew(const std::string& path, IBible** out) {
    INewBible* b = nullptr;
    HRESULT hr = OpenNewBibleFile(path.c_str(), &b);
    *out = b;
    return hr;
}

HRESULT OpenOld(const std::string& path, IBible** out) { return OpenBibleFile(path.c_str(), out); }

// Reads every verse, each book pinned first when asked (LoadBook, as a pane showing a
// book does); answers the bytes read, or -1 when a read fails.
long long ReadAll(IBible* bible, BOOL keepMarkup, bool pinBooks = false) {
    ComPtr<IBibleStat> stat;
    bible->GetBibleStat(stat.Put());
    char buf[4096];
    long long bytes = 0;
    for (int b = 0; b < stat->GetBookCount(); ++b) {
        if (pinBooks && FAILED(bible->LoadBook(b))) return -1;
        for (int c = 0; c < stat->GetChaptersInBook(b); ++c)
            for (int v = 0; v < stat->GetVersesInChapter(b, c); ++v) {
                if (FAILED(bible->GetVerseText(b, c, v, keepMarkup, buf, sizeof buf))) return -1;
                bytes += static_cast<long long>(strlen(buf));
            }
        if (pinBooks) bible->UnloadBook(b);
    }
    return bytes;
}

bool Measure(const char* label, const std::string& path, OpenFn open, int rounds) {
    std::vector<double> opens, reads, plain, pinned;
    long long bytes = 0;
    for (int r = 0; r < rounds; ++r) {
        ComPtr<IBible> bible;
        BenchTimer t;
        HRESULT hr = open(path, bible.Put());
        if (FAILED(hr)) {
            printf("%s: can't open %s: 0x%08lX\n", label, path.c_str(), static_cast<unsigned long>(hr));
            return false;
        }
        opens.push_back(t.Seconds());
        t.Restart();
        bytes = ReadAll(bible.Get(), TRUE);
        reads.push_back(t.Seconds());
        t.Restart();
        ReadAll(bible.Get(), FALSE);
        plain.push_back(t.Seconds());
        t.Restart();
        ReadAll(bible.Get(), TRUE, true);
        pinned.push_back(t.Seconds());
    }
    printf("%s: %s\n  file size %lld bytes; verse texts %lld bytes\n", label, path.c_str(), FileSize(path), bytes);
    printf("  open: %.2f ms; read all verses: %.1f ms (%.2f us a verse); without markup: %.1f ms;"
           " each book pinned first: %.1f ms\n",
           Median(opens) * 1e3, Median(reads) * 1e3, Median(reads) * 1e6 / 31102, Median(plain) * 1e3,
           Median(pinned) * 1e3);
    return bytes >= 0;
}

// The texts, titles and notes of a bible written again in the old format.
bool WriteOldCopy(const std::string& from, const std::string& to) {
    ComPtr<IBible> bible;
    if (FAILED(OpenNew(from, bible.Put()))) return false;
    ComPtr<IBibleLangStat> lang;
    bible->GetLangStat(lang.Put());
    BibleWriter w(lang.Get());
    char buf[4096], name[64], shortName[16];
    int index = 0;
    for (int b = 0; b < lang->GetBookCount(); ++b)
        for (int c = 0; c < lang->GetChaptersInBook(b); ++c)
            for (int v = 0; v < lang->GetVersesInChapter(b, c); ++v, ++index) {
                bible->GetVerseText(b, c, v, TRUE, buf, sizeof buf);
                w.SetVerse(index, buf);
                if (bible->GetSectionTitle(b, c, v, buf, sizeof buf) == S_OK) w.SetSectionTitle(index, buf);
                if (bible->GetVerseNote(b, c, v, buf, sizeof buf) == S_OK) w.SetVerseNote(index, buf);
            }
    bible->GetBibleName(TRUE, name, sizeof name);
    bible->GetBibleName(FALSE, shortName, sizeof shortName);
    w.SetNames(name, shortName);
    bible->GetDescription(buf, sizeof buf);
    w.SetDescription(buf);
    std::string error;
    if (!w.WriteFile(BibleFormat::kOld, to, &error)) {
        printf("can't write %s: %s\n", to.c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : BesideProgram("..\\bin\\Bibles\\KJV.vrsb");
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 9;
    CoInitialize(nullptr);
    bool ok = Measure("new format", path, OpenNew, rounds);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string old = std::string(temp) + "versilo-bible-bench-old.bib";
    if (ok && WriteOldCopy(path, old)) ok = Measure("old format", old, OpenOld, rounds);
    DeleteFileA(old.c_str());
    CoUninitialize();
    return ok ? 0 : 1;
}
