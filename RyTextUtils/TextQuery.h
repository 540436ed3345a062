// TextQuery: the query language of IRyTextTab::Find, parsed and evaluated over a table.
//
//   sequence     = alternatives { ["&"] alternatives }
//   alternatives = primary { "/" primary }
//   primary      = word ["*"] | "(" sequence ")"
//
// "/" is either, "&" both anywhere in the text, and two members written one after the
// other form a phrase (the second directly follows the first). Members of a sequence are
// evaluated rarest first, each within the texts found so far.
#pragma once
#include <windows.h>
#include <vector>
#include "TextTable.h"
#include "WordList.h"

// Limits that keep any query's work bounded: deeper nesting or more words fail (E_FAIL).
constexpr unsigned kMaxQueryDepth = 32;
constexpr unsigned kMaxQueryTerms = 64;
constexpr unsigned kMaxQueryWordBytes = 127;

// The matching texts of [begin, end), ascending. S_OK when some were found (or the query
// holds no words at all), S_FALSE when none, E_FAIL for a malformed query, E_OUTOFMEMORY.
HRESULT RunTextQuery(const TextTable& table, const WordList& words, const char* query, DWORD begin, DWORD end,
                     std::vector<DWORD>* found);
