// Date keys of the lexicons: the 32-bit value day | month << 8 | year << 16 (year 0 = every
// year), its "/dd/mm[/yyyy]" form in files, parsing of typed titles by the user's locale,
// and the display in the locale's long date format. The locale's formats, month names and
// today's date are read once per process.
#pragma once
#include <windows.h>
#include <string>

DWORD MakeDateValue(int day, int month, int year);
inline int DateDay(DWORD v) { return static_cast<int>(v & 0xFF); }
inline int DateMonth(DWORD v) { return static_cast<int>((v >> 8) & 0xFF); }
inline int DateYear(DWORD v) { return static_cast<int>(v >> 16); }
// True for a day that exists in its month (29 February in every year without a year).
bool IsValidDateValue(DWORD v);

// "/%02i/%02i" or "/%02i/%02i/%04i" (day, month, year). May throw std::bad_alloc.
std::string SlashDateText(DWORD v);
// Reads the slash form above; false when the text is not exactly one valid date.
bool ParseSlashDate(const char* text, size_t length, DWORD* v);

// A typed title as a date: the slash form, or the user's short date format without its
// year, the short date format, the long date format without its year, the long date format.
bool ParseDateTitle(const char* text, DWORD* v);

// The display title: the long date format, or for a date without a year that format without
// its year and weekday. Cut to size − 1 characters.
void FormatDateTitle(DWORD v, char* buf, size_t size);

// Today as a date value with its year, taken once per process.
DWORD TodayDateValue();

// The format with its year part (and, when asked, its weekday part) removed together with
// the separators next to them: "dddd d. MMMM yyyy" gives "d. MMMM". Exposed for the tests.
std::string FormatWithoutYear(const std::string& format, bool dropWeekday);
