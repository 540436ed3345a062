// Small path, text and number routines that the shell's lists and dialogs share.
//
// Paths are ANSI texts of the system code page: every scan walks whole characters, so a
// trail byte with the value of "\" or "." is never taken for one.
#pragma once
#include <windows.h>

// Room of one listed file name, with its NUL; longer names are never listed.
constexpr int kListedNameSize = 32;

// Lists the files of directory whose names end in "." and extension, in the order the
// system delivers them, into names (capacity slots). Sub-directories and names of
// kListedNameSize characters or more are skipped; further names past capacity are
// ignored. Returns the number stored.
int ScanDirectory(const char* directory, const char* extension, char (*names)[kListedNameSize], int capacity);

// Reads text as a decimal number: digits from the start, and nothing after them (an empty
// text is 0). False for any other character, and for a number above 4294967295.
bool ParseUnsigned(const char* text, UINT* value);

enum class NumberParse { kNumber, kNotANumber, kTooLarge };
// ParseUnsigned that tells a number too large for 32 bits from a text that is none.
NumberParse ParseUnsignedNumber(const char* text, UINT* value);

// Appends extension to the path in buffer (capacity bytes with the NUL), with a "." before
// it unless it begins with one. A result that would not fit leaves the path as it was.
// Returns buffer.
char* AppendExtension(char* buffer, int capacity, const char* extension);

// The "." that starts the extension of the path's last component, when a character
// follows it; else the path's terminating NUL.
const char* FindExtension(const char* path);
// The last component of path: what follows its last "\", or the whole path.
const char* GetFileNamePart(const char* path);

// Removes white space at both ends of text, in place. Returns text.
char* TrimBlanks(char* text);

// Copies the whole characters of the first length bytes of text that fit into buffer (size
// bytes with the NUL); a double-byte character is never split. Answers the bytes copied.
// Nothing is written when size is 0 or less.
int CopyWholeCharacters(char* buffer, int size, const char* text, size_t length);

// The prefix of a numbered menu item into buffer (at least 8 bytes): "&N: " for numbers
// below 9, "N: " for others, and "10: " for 9 when tenth is set.
char* FormatMenuNumber(char* buffer, int number, bool tenth);

// The narrowest the docked panes may be, in pixels.
constexpr int DockedPaneMinWidth() { return 50; }
