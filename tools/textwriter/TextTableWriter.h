// TextTableWriter: the compressor of RyTxtUtl.dll's text tables. Texts in (any
// Windows-1252 bytes), the text-table stream out (its word list first) and the word-list
// stream alone; a text-table file is the leading record (LeadingRecord.h) and the stream.
//
//   TextTableWriter w;
//   w.AddText("In the beginning God created the heaven and the earth.");
//   std::string table, words, error;
//   if (!w.Build(&table, &words, &error)) ...
//
// Words (letters and digits, with inner apostrophes and hyphens, as IRyLanguage breaks
// them) go into the word list in the spelling that most of their occurrences have ("and",
// "God", "LORD"); the case modes of the phrases rebuild the other spellings, and a spelling
// no mode gives (such as "Lord" beside "LORD", or "McDonald") is listed too: spellings
// that differ only in case compare equal, stand side by side, and a search finds them all.
// Everything between words becomes phrases. Whatever the list and the phrase table cannot
// hold becomes literal runs, so any text reads back exactly.
#pragma once
#include <string>
#include <vector>

class TextTableWriter {
public:
    void AddText(const std::string& text) { texts_.push_back(text); }
    size_t TextCount() const { return texts_.size(); }

    // False with a message only when the texts are too large for the format (more than
    // 4 GB of token data).
    bool Build(std::string* textTable, std::string* wordList, std::string* error) const;

private:
    std::vector<std::string> texts_;
};
