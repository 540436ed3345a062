// Language statistics from a book list "BOOK<TAB>OSIS<TAB>SHORT<TAB>ABBREVIATION<TAB>LONG"
// (the importers' books.txt): the short name is the name references are written with,
// the long title the second name.
#pragma once
#include <string>
#include "IBibleLangStat.h"

extern const GUID kEnglishLanguage;

// False with a message for an unreadable list or one whose books disagree with stat.
bool BuildBookListLangStat(IBibleStat* stat, const std::string& path, const char* languageName,
                           IBibleLangStat** out, std::string* error);
