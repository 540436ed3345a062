// Collation: the built-in "StdLang" language's tables and its comparison, prefix test and
// word breaking over single-byte Windows-1252 text. The tables are process-wide, built
// once (when RyTxtUtl.dll loads, or on first use in a tool) and only read afterwards.
#pragma once
#include <windows.h>

class Collation {
public:
    // The built-in language. Built on first call; thread-safe.
    static const Collation& Std();

    static constexpr const char* kName = "StdLang";

    // -1, 0 or 1 as a sorts before, equal to or after b. Letter groups first, then the
    // first accent difference, then the markers (a following apostrophe or hyphen): a
    // difference in the markers after the last characters, else the first one.
    int Compare(const char* a, const char* b) const;
    // Compares the letter groups of word's beginning with those of prefix: -1, 0 (word
    // begins with prefix by IsPrefixedBy) or 1.
    int ComparePrefixGroups(const char* word, const char* prefix) const;
    // True when super begins with prefix, comparing letter groups only.
    bool IsPrefixedBy(const char* super, const char* prefix) const;
    // The next word from pos: true with the offsets of its first character and of the
    // character after it; false (both offsets at the end) when there is none.
    bool NextWord(const char* pos, long* begin, long* end) const;

    // Letter group 1-42 of a byte, 0 for none.
    BYTE Class(BYTE c) const { return class_[c]; }
    BYTE Accent(BYTE c) const { return accent_[c]; }
    // A byte that may stand in a word: a letter, a digit, an apostrophe or a hyphen.
    bool IsWordByte(BYTE c) const { return class_[c] != 0 || c == '\'' || c == '-'; }
    // Numbers 0, 1, 2 ... of the bytes the language never uses, -1 for all others.
    const long* UnusedIndices() const { return unused_; }
    long UnusedCount() const { return unusedCount_; }

    // The system's ANSI case mapping of single bytes.
    char Upper(char c) const { return static_cast<char>(upper_[static_cast<BYTE>(c)]); }
    char Lower(char c) const { return static_cast<char>(lower_[static_cast<BYTE>(c)]); }

private:
    Collation();

    BYTE class_[256] = {};
    BYTE accent_[256] = {};
    long unused_[256] = {};
    long unusedCount_ = 0;
    BYTE upper_[256] = {};
    BYTE lower_[256] = {};
};
