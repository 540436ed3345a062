// WordListWriter: writes the word-list stream of RyTxtUtl.dll's IRyDictionary from a set
// of words: sorted by the "StdLang" collation, each record borrowing the beginning of one
// of the previous 17 words (prefix codes) and ending in a code for a frequent ending.
#pragma once
#include <string>
#include <vector>

// Sorts words by the "StdLang" collation; words that compare equal keep byte order.
void SortWords(std::vector<std::string>* words);

// The stream for words already sorted by SortWords and without duplicates. Each word must
// be 1-127 bytes of letters, digits, apostrophes and hyphens. False with a message when a
// word breaks these rules.
bool WriteWordList(const std::vector<std::string>& sortedWords, std::string* stream, std::string* error);
