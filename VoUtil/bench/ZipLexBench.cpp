// The cost of a packaged lexicon through VoUtil.dll: opening it (OpenVoLexFile), opening
// its text (OpenText) and reading one article (FindEntry, GetEntryId, GetEntryTextLength,
// GetEntryText), each time from a fresh object, and the file's size against its source.
// Usage: ZipLexBench LEXICON.vrsl TITLE [SOURCE] [repeats]   (default 21 repeats)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchTimer.h"
#include "ComPtr.h"
#include "VoUtil.h"

namespace {

long long FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void Print(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    printf("%-34s median %7.2f ms (min %.2f, max %.2f)\n", what, ms[ms.size() / 2], ms.front(), ms.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: ZipLexBench LEXICON.vrsl TITLE [SOURCE] [repeats]\n");
        return 2;
    }
    const char* path = argv[1];
    const char* title = argv[2];
    const char* source = argc > 3 ? argv[3] : nullptr;
    const int repeats = argc > 4 ? std::max(1, atoi(argv[4])) : 21;
    CoInitialize(nullptr);

    std::vector<double> open, text, read, total;
    size_t length = 0;
    int entries = 0;
    for (int i = 0; i < repeats; ++i) {
        BenchTimer t;
        ComPtr<IVoLexicon> lex;
        HRESULT hr = OpenVoLexFile(path, lex.Put());
        double a = t.Seconds();
        if (SUCCEEDED(hr)) hr = lex->OpenText();
        double b = t.Seconds();
        int position = 0, id = 0, n = 0;
        std::string article;
        if (SUCCEEDED(hr)) hr = lex->FindEntry(title, &position, nullptr);
        if (hr == S_OK) hr = lex->GetEntryId(position, &id);
        if (SUCCEEDED(hr)) hr = lex->GetEntryTextLength(id, &n);
        if (SUCCEEDED(hr)) {
            article.resize(static_cast<size_t>(n));
            hr = lex->GetEntryText(id, &article[0], n);
        }
        double c = t.Seconds();
        if (hr != S_OK) {
            fprintf(stderr, "ZipLexBench: %s, \"%s\": 0x%08lX\n", path, title, static_cast<unsigned long>(hr));
            return 1;
        }
        lex->GetEntryCount(&entries);
        length = static_cast<size_t>(n - 1);
        open.push_back(a * 1000);
        text.push_back((b - a) * 1000);
        read.push_back((c - b) * 1000);
        total.push_back(c * 1000);
    }
    printf("%s: %d titles listed; \"%s\" has %zu characters; %d runs\n", path, entries, title, length, repeats);
    Print("open the lexicon", open);
    Print("open its text (OpenText)", text);
    Print("find and read the article", read);
    Print("all of it", total);
    long long packed = FileSize(path);
    if (source) {
        long long plain = FileSize(source);
        printf("packaged %lld bytes, source %lld bytes: %.1f%%\n", packed, plain,
               plain > 0 ? 100.0 * static_cast<double>(packed) / static_cast<double>(plain) : 0.0);
    } else {
        printf("packaged %lld bytes\n", packed);
    }
    return 0;
}
