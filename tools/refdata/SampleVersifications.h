// Sample numberings that differ from the common 66-book one where real translations do,
// the conversion tables between them, and a "Bibles" folder that holds them:
// - the variant numbering: psalm titles counted as verses (Psalm 3: one title verse with no
//   counterpart; Psalm 51: two title verses, taken with verse 1 as one block of three),
//   Joel 2:28-32 as Joel 3 (so Joel 3 becomes Joel 4), Malachi 4 folded into Malachi 3,
//   and Romans 16:25-27 placed after Romans 14:23 (no counterpart either way);
// - the folded-Malachi numbering: only Malachi 4 folded into Malachi 3.
// The common numbering is the reference versification ("kv61.vos") of the folder.
#pragma once
#include <string>
#include "RefDataWriters.h"

extern const GUID kVariantIdentity;
extern const GUID kVariantVersification;
extern const GUID kFoldedMalachiIdentity;
extern const GUID kFoldedMalachiVersification;

// Book indices (zero-based) of the books the samples change.
constexpr int kPsalmsBook = 18, kJoelBook = 28, kMalachiBook = 38, kRomansBook = 44;
// Rows per book in the sample tables: the most chapters a book has (Psalms).
constexpr int kSampleRowsPerKey = 150;

HRESULT BuildVariantStat(IBibleStat** out);
HRESULT BuildFoldedMalachiStat(IBibleStat** out);

// The rows between the common numbering (side A) and the variant (side B).
std::vector<ConversionBook> VariantTableBooks();
// The rows between the folded-Malachi numbering (side A) and the common one (side B).
std::vector<ConversionBook> FoldedMalachiTableBooks();

// Writes folder\kv61.vos (the common numbering), folder\variant.brt (own byte order) and
// folder\malachi.brt (bytes reversed). The folder must exist.
HRESULT WriteSampleBiblesFolder(const std::string& folder);
