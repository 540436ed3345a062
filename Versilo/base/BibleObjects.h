// VoBibleObjects: the four interfaces of one open bible (the bible, its language
// statistics, its statistics and their reference values), held together, and the routines
// that turn reference values into indices, linear verse ranges and plain verse text.
//
// A record is either empty or complete for one bible: Attach stores all four interfaces or
// changes nothing. It is a value embedded in its owner, not reference counted itself.
#pragma once
#include <windows.h>
#include "IBible.h"
#include "IBibleLangStat.h"
#include "IBibleStat.h"
#include "ComPtr.h"

class VoBibleObjects {
public:
    VoBibleObjects() = default;
    // Attaches bible; the record stays empty when the bible is incomplete.
    explicit VoBibleObjects(IBible* bible) { Attach(bible); }

    // Takes the bible's language statistics, statistics and reference values; true when all
    // were there. On false the record keeps what it held.
    bool Attach(IBible* bible);
    // Releases the reference values, the statistics, the language statistics and the bible.
    void Clear();
    bool IsEmpty() const { return !bible_; }

    // Borrowed pointers; null while the record is empty.
    IBible* GetBible() const { return bible_.Get(); }
    IBibleLangStat* GetLangStat() const { return langStat_.Get(); }
    IBibleStat* GetStat() const { return stat_.Get(); }
    IBibleHandles* GetIndexer() const { return handles_.Get(); }

    // The indices of a reference's start; levels it does not use come back as -1. False
    // when the value is refused.
    bool SplitIndex(int ref, int* book, int* chapter, int* verse) const;
    // The reference of the indices (-1 for an unused level); 0 when they are refused.
    int MakeIndex(int book, int chapter, int verse) const;
    // The last position a reference covers: itself, the end of a counted range, or for an
    // open range the last verse before the next section title.
    bool SplitRangeEnd(int ref, int* book, int* chapter, int* verse) const;
    // The linear verses of a reference: first and one past the last. A value that can't be
    // split gives the empty range 0, 0 and false.
    bool GetVerseRange(int ref, int* first, int* end) const;
    // The verse texts of a reference joined by blanks, white space collapsed, into buffer
    // (size bytes with the NUL; never more). Returns the length of the text written, or
    // with a null buffer the length the whole text has. With cut, a text that does not fit
    // ends after a whole verse with " ..." (counted in the result).
    int GetRangeText(int ref, char* buffer, int size, bool cut) const;

private:
    ComPtr<IBible> bible_;
    ComPtr<IBibleLangStat> langStat_;
    ComPtr<IBibleStat> stat_;
    ComPtr<IBibleHandles> handles_;
};

// Cuts white space at both ends of text and turns every inner run of it into one blank,
// in place. Returns text.
char* CollapseSpaces(char* text);

// Appends text at *out (when *out is not null), at most *remaining - 1 characters, and
// terminates it; *out advances and *remaining shrinks by what was copied. *total grows by
// that count, or by the whole length of text when *out is null (a measuring call).
void AppendBounded(char** out, const char* text, int* total, int* remaining);
