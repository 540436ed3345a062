// The common Protestant numbering of 66 books (1,189 chapters, 31,102 verses): the table
// and the statistics object built from it through VoUtil's exports.
#pragma once
#include <windows.h>
#include "IBibleStat.h"

constexpr int kProtestantBookCount = 66;
constexpr int kProtestantChapterCount = 1189;
constexpr int kProtestantVerseCount = 31102;

struct CanonBook {
    int id;                        // book identifier, 1 (Genesis) to 66 (Revelation)
    const char* englishName;
    int chapters;
    const unsigned char* verses;   // verses of each chapter
};

// Book 0..65.
const CanonBook& ProtestantBook(int book);

extern const GUID kProtestantIdentity;
extern const GUID kProtestantVersification;

// A complete statistics object of this numbering (CreateBibleStat and AddBook for every
// book), under the given identity or the table's own.
HRESULT BuildProtestantStat(IBibleStat** out, const GUID* identity = nullptr);
