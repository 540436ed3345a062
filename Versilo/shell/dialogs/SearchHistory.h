// The recent queries of the search dialog, kept per word-list language under the
// application key's "Search\<language>" sub-key: DWORD "Count" and the texts "0" to "9",
// "0" the most recent.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

constexpr int kSearchHistorySize = 10;   // queries kept
constexpr int kSearchQuerySize = 128;    // one query with its NUL

// The sub-key of the application key that holds the history of language ("Search\NAME");
// false for a name that cannot name one key (empty, or holding a "\").
bool SearchHistoryKey(const std::string& language, std::string* subKey);

// The stored queries, most recent first: at most kSearchHistorySize of "Count" (read as
// unsigned), skipping values that are missing, not texts or too long.
std::vector<std::string> ReadSearchHistory(const std::string& language);

// Stores the first kSearchHistorySize queries; false when the key can't be written.
bool WriteSearchHistory(const std::string& language, const std::vector<std::string>& queries);
