// The layout of a packaged lexicon (".vrsl"): the streams "Names" (collation name, keys,
// index words), "Stat" (language statistics) and "Text" (a leading record, then a text
// table), and the reader of "Names", which treats the stream as hostile.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "LexEntryList.h"

extern const wchar_t kZipNamesStream[];
extern const wchar_t kZipStatStream[];
extern const wchar_t kZipTextStream[];

// Index words are 32 bits wide when the larger of the row count and the entry count,
// times 4, exceeds 65536 (a 16-bit word holds values below 16384).
bool ZipLexWideWords(unsigned long long rows, unsigned long long entries);

struct ZipLexNames {
    std::string language;      // the collation's name
    std::vector<LexKey> keys;  // texts, then references, then dates, as stored
    std::vector<DWORD> words;  // one index word per key
    DWORD rows = 0;            // the index count: rows of the text table
};

// Reads the whole "Names" stream: every count inside the bytes it has, each title
// terminated inside the pool, references that the reference system reads and splits,
// valid dates, an index word for every entry and article rows below the row count.
// E_FAIL for anything else.
// Order and index words are checked by the caller, which has the collation.
HRESULT DecodeNamesStream(const std::string& bytes, LexRefSystem& refs, ZipLexNames* out);

// E_FAIL unless every key comes strictly after the one before it.
HRESULT CheckStrictKeyOrder(const std::vector<LexKey>& keys, const KeyOrder& order);
