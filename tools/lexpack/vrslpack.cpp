// vrslpack: packs a lexicon source of the importers into a packaged lexicon (".vrsl").
//
//   vrslpack [--listed-aliases N] SOURCE OUTPUT
//
// SOURCE is a lexicon file in the importers' format (tools/import/README.md). Each record
// becomes an article under its key; its aliases become further titles, the first N of them
// in the title list (all when N is not given) and the others found only by their title.
// Bible references are written in the notation of the Norwegian book names, over the
// 66-book numbering, whose language statistics go into the file.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include "LexiconPackage.h"
#include "LexiconSource.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"

namespace {

int Usage() {
    fprintf(stderr, "usage: vrslpack [--listed-aliases N] SOURCE OUTPUT\n");
    return 2;
}

std::wstring WidePath(const std::string& path) {
    wchar_t buf[MAX_PATH];
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, buf, MAX_PATH);
    return n > 0 ? std::wstring(buf) : std::wstring();
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
    long listed = -1;
    std::string paths[2];
    int npaths = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--listed-aliases" && i + 1 < argc) {
            listed = atol(argv[++i]);
            if (listed < 0) return Usage();
        } else if (npaths < 2 && !a.empty() && a[0] != '-') {
            paths[npaths++] = a;
        } else {
            return Usage();
        }
    }
    if (npaths != 2) return Usage();

    std::vector<SourceRecord> records;
    std::string error;
    if (!ReadLexiconSource(paths[0], &records, &error)) {
        fprintf(stderr, "vrslpack: %s\n", error.c_str());
        return 1;
    }
    ComPtr<IBibleStat> stat;
    ComPtr<IBibleLangStat> langStat;
    HRESULT hr = BuildProtestantStat(stat.Put());
    if (SUCCEEDED(hr)) hr = BuildNorwegianLangStat(stat.Get(), langStat.Put());
    if (FAILED(hr)) {
        fprintf(stderr, "vrslpack: cannot build the language statistics (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }

    std::set<std::string> titles;
    for (const SourceRecord& r : records) {
        titles.insert(r.key);
        titles.insert(r.aliases.begin(), r.aliases.end());
    }
    auto isTitle = [&](const std::string& t) { return titles.count(t) != 0; };

    LexiconPackage pack(langStat.Get());
    MarkupCounts counts;
    for (const SourceRecord& r : records) {
        std::string text;
        for (size_t i = 0; i < r.lines.size(); ++i) {
            if (i) text += "\r\n";
            text += ConvertArticleLine(r.lines[i], langStat.Get(), isTitle, &counts);
        }
        pack.AddArticle(PackKey::Text(r.key), text);
        for (size_t a = 0; a < r.aliases.size(); ++a)
            pack.AddAlias(PackKey::Text(r.aliases[a]), PackKey::Text(r.key), listed < 0 || a < static_cast<size_t>(listed));
    }
    PackResult result;
    if (!pack.Write(WidePath(paths[1]), &result, &error)) {
        fprintf(stderr, "vrslpack: %s: %s\n", paths[1].c_str(), error.c_str());
        return 1;
    }
    long long source = FileSize(paths[0]);
    printf("vrslpack: %zu articles, %zu listed and %zu unlisted aliases (%zu repeated left out), %zu entries, "
           "%d-bit index words; %zu links (%zu left as text), %zu references (%zu left as text); "
           "source %lld bytes, packaged %llu bytes (%.1f%%)\n",
           result.articles, result.listedAliases, result.unlistedAliases, result.duplicateAliases, result.entries,
           result.wideIndexWords ? 32 : 16, counts.links, counts.plainLinks, counts.references, counts.plainReferences,
           source, result.fileBytes, source > 0 ? 100.0 * static_cast<double>(result.fileBytes) / source : 0.0);
    return 0;
}
