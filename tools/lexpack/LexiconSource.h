// The lexicon sources of the importers (tools/import/README.md): records of a "$$$KEY"
// line, "$$=ALIAS" lines and article lines, and the article lines' markup turned into the
// article text that the commentary pane renders.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "IBibleLangStat.h"

struct SourceRecord {
    std::string key;
    std::vector<std::string> aliases;
    std::vector<std::string> lines;  // still in the source's markup
};

// False with a message for an unreadable file or text before the first record.
bool ReadLexiconSource(const std::string& path, std::vector<SourceRecord>* records, std::string* error);

struct MarkupCounts {
    size_t links = 0;          // "{TITLE}" kept as a link
    size_t plainLinks = 0;     // a link to no entry, left as its text
    size_t references = 0;     // "<B.C.V>" written in the notation of the language statistics
    size_t plainReferences = 0;
};

// One article line in the article text's markup: "{TITLE}" stays a link when isTitle
// accepts the title, else becomes the plain title; "<REF>" (BOOK.CHAPTER[.VERSE], or two
// of these joined by "-", books counted from 1) becomes "<" and the reference as the
// language statistics format it, ">"; one that does not make a reference stays plain text.
// Escaped characters that the article text would read as markup are written as
// look-alikes: "{" "}" as "[" "]", "<" ">" as the single angle quotes 0x8B and 0x9B.
std::string ConvertArticleLine(const std::string& line, IBibleLangStat* langStat,
                               const std::function<bool(const std::string&)>& isTitle, MarkupCounts* counts);

// The handle of a normalised reference; 0 when it names no reference of the numbering.
int ParseNormalisedReference(const std::string& text, IBibleHandles* handles);
