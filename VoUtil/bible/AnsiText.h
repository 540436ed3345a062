// Character classes and case folding of the single-byte texts (code page 1252) that book
// names and typed references are made of; fixed tables, independent of the user's locale.
#pragma once

// The lower-case form of a letter, other bytes unchanged.
unsigned char FoldCase(unsigned char c);
bool IsLetter(unsigned char c);
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsLetterOrDigit(unsigned char c) { return IsLetter(c) || IsDigit(c); }
inline bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether text begins with prefix, case ignored; equal texts also answer true.
bool StartsWithFolded(const char* text, const char* prefix);
bool EqualsFolded(const char* a, const char* b);
