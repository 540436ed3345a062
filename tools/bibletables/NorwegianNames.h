// Norwegian book names for the 66-book numbering, and the language statistics built from
// them through VoUtil's exports.
#pragma once
#include <windows.h>
#include "IBibleLangStat.h"
#include "ProtestantCanon.h"

struct NorwegianBookName {
    const char* name;      // the short name references are written with: "1 Mos", "Joh", "Åp"
    const char* fullName;  // the second name: "Første Mosebok"
};

struct NorwegianAlias {
    const char* name;
    int firstBook, lastBook;
};

constexpr int kNorwegianAliasCount = 3;

extern const GUID kNorwegianLanguage;
extern const char kNorwegianLanguageName[];

const NorwegianBookName& NorwegianBook(int book);
const NorwegianAlias& NorwegianAliasAt(int index);

// Language statistics over the given statistics (CreateLangStat; not in the list of
// loaded ones).
HRESULT BuildNorwegianLangStat(IBibleStat* stat, IBibleLangStat** out);
