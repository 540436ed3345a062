// BibleWriter: the builder of bible files, old format and new (".vrsb"). It takes the
// texts by linear verse and chapter index over a language statistics object (whose
// statistics and language block go into the trailer), and writes the file whole:
//
//   BibleWriter w(langStat);
//   w.SetVerse(0, "In the beginning God created the heaven and the earth.");
//   w.SetSectionTitle(0, "The creation.");
//   w.SetNames("King James Version", "KJV");
//   std::string error;
//   if (!w.WriteFile(BibleFormat::kNew, "KJV.vrsb", &error)) ...
//
// It refuses what the readers refuse (names and a description too long for their
// fields, indices outside the statistics), so a file it writes always opens. Titles,
// notes and chapter texts go into the sparse container form when few entries are used.
// Callers link VoUtil's exports (VoUtilObjects or VoUtil_imports) beside this library.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>
#include "IBibleLangStat.h"
#include "ComPtr.h"

enum class BibleFormat { kOld, kNew };

class BibleWriter {
public:
    explicit BibleWriter(IBibleLangStat* lang);

    int VerseCount() const { return verseCount_; }
    int ChapterCount() const { return chapterCount_; }

    // False for an index outside the statistics.
    bool SetVerse(int verse, const std::string& text);
    // shifted: the section starts one verse after the one it is stored at (the title then
    // ends in the format's marker, "+" old or a tab new).
    bool SetSectionTitle(int verse, const std::string& title, bool shifted = false);
    bool SetVerseNote(int verse, const std::string& note);
    bool SetChapterText(int chapter, const std::string& text);
    void SetNames(const std::string& longName, const std::string& shortName) {
        longName_ = longName;
        shortName_ = shortName;
    }
    void SetDescription(const std::string& text) { description_ = text; }
    // The new format's display value (10 unless set).
    void SetDisplayValue(unsigned value) { displayValue_ = value; }

    // The whole file in memory; false with a message when the texts can't be stored.
    bool Build(BibleFormat format, std::string* bytes, std::string* error) const;
    // Builds and writes the file (to a temporary name first, then renamed over path).
    bool WriteFile(BibleFormat format, const std::string& path, std::string* error) const;

private:
    struct Title {
        std::string text;
        bool shifted;
    };
    bool WriteContainers(IStream* stream, char marker, std::string* error) const;
    bool WriteTrailer(IStream* stream, std::string* error) const;

    ComPtr<IBibleLangStat> lang_;
    int verseCount_ = 0, chapterCount_ = 0;
    std::vector<std::string> verses_;
    std::map<int, Title> titles_;
    std::map<int, std::string> notes_, chapters_;
    std::string longName_, shortName_, description_;
    unsigned displayValue_ = 10;
};

// Writes bytes to path through a temporary file in the same folder, renamed at the end,
// so that a failed write leaves any earlier file as it was.
bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* error);

// The companion file of a bible: its path with "inf" after the last "." of the name.
std::string InfoFilePath(const std::string& biblePath);
