// biblepack: builds a bible file of the 66-book numbering from plain text files.
//
//   biblepack [--old] --verses FILE [--titles FILE] [--notes FILE] [--chapter-texts FILE]
//             (--norwegian | --books FILE) --long-name TEXT --short-name TEXT
//             [--description FILE] [--info FILE] [--display N] OUTPUT
//
// Inputs are Windows-1252 text, one record a line, fields separated by tabs, with book,
// chapter and verse numbers counted from 1:
//   --verses         BOOK CHAPTER VERSE TEXT
//   --titles         BOOK CHAPTER VERSE KIND TEXT (the importers' titles.txt): kinds
//                    "psalm" and "section" become section titles (several at one verse
//                    are joined into one), "colophon" a verse note; "book" and
//                    "subtitle" are left out
//   --notes          BOOK CHAPTER VERSE TEXT
//   --chapter-texts  BOOK CHAPTER TEXT
// --norwegian gives the Norwegian book names as the language block, --books a book list
// (books.txt) with English names. --description and --info name files whose contents
// become the description and the companion ".inf" file. The new format (".vrsb") is the
// default; --old writes the old one.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "BibleWriter.h"
#include "BookListNames.h"
#include "NorwegianNames.h"
#include "ProtestantCanon.h"
#include "TextLines.h"

namespace {

int Usage() {
    fprintf(stderr,
            "usage: biblepack [--old] --verses FILE [--titles FILE] [--notes FILE] [--chapter-texts FILE]\n"
            "                 (--norwegian | --books FILE) --long-name TEXT --short-name TEXT\n"
            "                 [--description FILE] [--info FILE] [--display N] OUTPUT\n");
    return 2;
}

std::vector<std::string> Fields(const std::string& line, size_t count) {
    std::vector<std::string> out;
    size_t start = 0;
    while (out.size() + 1 < count) {
        size_t tab = line.find('\t', start);
        if (tab == std::string::npos) break;
        out.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    out.push_back(line.substr(start));
    return out;
}

struct Reader {
    IBibleStat* stat;
    std::string error;

    bool Lines(const std::string& path, std::vector<std::string>* lines) {
        lines->clear();
        return ReadTextLines(path, 1, lines, &error);
    }
    bool Fail(const std::string& path, size_t line, const std::string& what) {
        error = path + ":" + std::to_string(line + 1) + ": " + what;
        return false;
    }
    // The linear verse of fields 0-2, or -1.
    int Verse(const std::vector<std::string>& f) {
        return stat->RefToVerseIndex(atoi(f[0].c_str()) - 1, atoi(f[1].c_str()) - 1, atoi(f[2].c_str()) - 1);
    }
};

bool ReadFileText(const std::string& path, std::string* text, std::string* error) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, 1, &lines, error)) return false;
    text->clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) *text += "\r\n";
        *text += lines[i];
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string versesPath, titlesPath, notesPath, chaptersPath, booksPath, longName, shortName, descriptionPath,
        infoPath, output;
    bool old = false, norwegian = false;
    unsigned display = 10;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) return false;
            *v = argv[++i];
            return true;
        };
        std::string n;
        if (a == "--old") old = true;
        else if (a == "--norwegian") norwegian = true;
        else if (a == "--verses") { if (!value(&versesPath)) return Usage(); }
        else if (a == "--titles") { if (!value(&titlesPath)) return Usage(); }
        else if (a == "--notes") { if (!value(&notesPath)) return Usage(); }
        else if (a == "--chapter-texts") { if (!value(&chaptersPath)) return Usage(); }
        else if (a == "--books") { if (!value(&booksPath)) return Usage(); }
        else if (a == "--long-name") { if (!value(&longName)) return Usage(); }
        else if (a == "--short-name") { if (!value(&shortName)) return Usage(); }
        else if (a == "--description") { if (!value(&descriptionPath)) return Usage(); }
        else if (a == "--info") { if (!value(&infoPath)) return Usage(); }
        else if (a == "--display") { if (!value(&n)) return Usage(); display = static_cast<unsigned>(atoi(n.c_str())); }
        else if (!a.empty() && a[0] != '-' && output.empty()) output = a;
        else return Usage();
    }
    if (versesPath.empty() || output.empty() || norwegian == !booksPath.empty()) return Usage();

    ComPtr<IBibleStat> stat;
    if (FAILED(BuildProtestantStat(stat.Put()))) {
        fprintf(stderr, "biblepack: can't build the statistics\n");
        return 1;
    }
    ComPtr<IBibleLangStat> lang;
    std::string error;
    if (norwegian) {
        if (FAILED(BuildNorwegianLangStat(stat.Get(), lang.Put()))) error = "can't build the Norwegian names";
    } else {
        BuildBookListLangStat(stat.Get(), booksPath, "English", lang.Put(), &error);
    }
    if (!lang) {
        fprintf(stderr, "biblepack: %s\n", error.c_str());
        return 1;
    }

    BibleWriter writer(lang.Get());
    writer.SetNames(longName, shortName);
    Reader r{stat.Get(), std::string()};
    std::vector<std::string> lines;
    int verses = 0, titles = 0, notes = 0, chapterTexts = 0;
    bool ok = r.Lines(versesPath, &lines);
    for (size_t i = 0; ok && i < lines.size(); ++i) {
        std::vector<std::string> f = Fields(lines[i], 4);
        int v = f.size() == 4 ? r.Verse(f) : -1;
        if (v < 0) ok = r.Fail(versesPath, i, "not a verse of the numbering");
        else if (writer.SetVerse(v, f[3])) ++verses;
    }
    if (ok && !titlesPath.empty() && (ok = r.Lines(titlesPath, &lines))) {
        std::vector<std::string> joined(static_cast<size_t>(writer.VerseCount()));
        for (size_t i = 0; ok && i < lines.size(); ++i) {
            std::vector<std::string> f = Fields(lines[i], 5);
            int v = f.size() == 5 ? r.Verse(f) : -1;
            if (v < 0) {
                ok = r.Fail(titlesPath, i, "not a verse of the numbering");
            } else if (f[3] == "psalm" || f[3] == "section") {
                // One heading of all titles at the verse; a title without closing
                // punctuation of its own ("BOOK 2" before a psalm title) gets a full stop.
                std::string& t = joined[static_cast<size_t>(v)];
                if (!t.empty()) t += std::strchr(".!?:;,", t.back()) ? " " : ". ";
                t += f[4];
            } else if (f[3] == "colophon") {
                writer.SetVerseNote(v, f[4]);
                ++notes;
            }
        }
        for (size_t v = 0; v < joined.size(); ++v)
            if (!joined[v].empty() && writer.SetSectionTitle(static_cast<int>(v), joined[v])) ++titles;
    }
    if (ok && !notesPath.empty() && (ok = r.Lines(notesPath, &lines))) {
        for (size_t i = 0; ok && i < lines.size(); ++i) {
            std::vector<std::string> f = Fields(lines[i], 4);
            int v = f.size() == 4 ? r.Verse(f) : -1;
            if (v < 0) ok = r.Fail(notesPath, i, "not a verse of the numbering");
            else if (writer.SetVerseNote(v, f[3])) ++notes;
        }
    }
    if (ok && !chaptersPath.empty() && (ok = r.Lines(chaptersPath, &lines))) {
        for (size_t i = 0; ok && i < lines.size(); ++i) {
            std::vector<std::string> f = Fields(lines[i], 3);
            int c = f.size() == 3 ? stat->RefToChapterIndex(atoi(f[0].c_str()) - 1, atoi(f[1].c_str()) - 1) : -1;
            if (c < 0) ok = r.Fail(chaptersPath, i, "not a chapter of the numbering");
            else if (writer.SetChapterText(c, f[2])) ++chapterTexts;
        }
    }
    error = r.error;
    std::string description, info;
    if (ok && !descriptionPath.empty()) ok = ReadFileText(descriptionPath, &description, &error);
    if (ok && !infoPath.empty()) ok = ReadFileText(infoPath, &info, &error);
    writer.SetDescription(description);
    writer.SetDisplayValue(display);
    if (ok) ok = writer.WriteFile(old ? BibleFormat::kOld : BibleFormat::kNew, output, &error);
    if (ok && !infoPath.empty()) ok = WriteFileReplacing(InfoFilePath(output), info, &error);
    if (!ok) {
        fprintf(stderr, "biblepack: %s\n", error.c_str());
        return 1;
    }
    printf("biblepack: %s: %d verses, %d section titles, %d verse notes, %d chapter texts\n", output.c_str(), verses,
           titles, notes, chapterTexts);
    return 0;
}
