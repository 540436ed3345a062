// ReadTextLines: the texts of a file with one text per line, as the writer's tools and the
// benchmarks read their corpora (for example "BOOK<TAB>CHAPTER<TAB>VERSE<TAB>TEXT" lines).
#pragma once
#include <string>
#include <vector>

// A trailing CR of each line is dropped; a final line break ends the last line. With
// field N > 1 the text of a line is what follows its (N-1)-th tab. False with a message
// for an unreadable file or a line with fewer fields.
bool ReadTextLines(const std::string& path, int field, std::vector<std::string>* texts, std::string* error);
