// rytextpack: packs texts into a text table of RyTxtUtl.dll.
//
//   rytextpack [--field N] [--record TEXT] [--words FILE] INPUT OUTPUT
//
// INPUT holds one text per line (Windows-1252; a trailing CR is dropped). With --field N
// the text of a line is what follows its (N-1)-th tab, so --field 4 takes the verse text of
// "BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TEXT" lines. OUTPUT receives the text-table stream; with
// --record it becomes a text-table file: the leading record with TEXT as its content, then
// the stream. --words also writes the word-list stream alone.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include "LeadingRecord.h"
#include "TextLines.h"
#include "TextTableWriter.h"

namespace {
int Usage() {
    fprintf(stderr, "usage: rytextpack [--field N] [--record TEXT] [--words FILE] INPUT OUTPUT\n");
    return 2;
}

bool WriteFile(const std::string& path, const std::string& a, const std::string& b = std::string()) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(a.data(), static_cast<std::streamsize>(a.size()));
    f.write(b.data(), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(f);
}
}  // namespace

int main(int argc, char** argv) {
    int field = 1;
    bool withRecord = false;
    std::string record, wordsPath;
    std::string paths[2];
    int npaths = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--field" && i + 1 < argc) {
            field = atoi(argv[++i]);
            if (field < 1) return Usage();
        } else if (a == "--record" && i + 1 < argc) {
            withRecord = true;
            record = argv[++i];
        } else if (a == "--words" && i + 1 < argc) {
            wordsPath = argv[++i];
        } else if (npaths < 2 && !a.empty() && a[0] != '-') {
            paths[npaths++] = a;
        } else {
            return Usage();
        }
    }
    if (npaths != 2) return Usage();

    std::vector<std::string> texts;
    std::string error;
    if (!ReadTextLines(paths[0], field, &texts, &error)) {
        fprintf(stderr, "rytextpack: %s\n", error.c_str());
        return 1;
    }
    TextTableWriter writer;
    for (const std::string& t : texts) writer.AddText(t);

    std::string table, words, lead;
    if (!writer.Build(&table, &words, &error)) {
        fprintf(stderr, "rytextpack: %s\n", error.c_str());
        return 1;
    }
    if (withRecord && !MakeLeadingRecord(record, &lead)) {
        fprintf(stderr, "rytextpack: the record text is longer than %u bytes\n", kMaxLeadingRecordContent);
        return 1;
    }
    if (!WriteFile(paths[1], lead, table) || (!wordsPath.empty() && !WriteFile(wordsPath, words))) {
        fprintf(stderr, "rytextpack: cannot write the output\n");
        return 1;
    }
    printf("%zu texts, %zu bytes of table (%zu of them the word list)\n", writer.TextCount(), table.size(),
           words.size());
    return 0;
}
