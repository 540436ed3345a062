#include "LexDates.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One part of a date format: a picture ("dd", "MMMM", "yyyy") or the separator text between
// two pictures, with its quotes resolved.
struct FormatToken {
    bool picture;
    char letter;
    int count;
    std::string text;
};

bool IsPictureLetter(char c) { return c == 'd' || c == 'M' || c == 'y' || c == 'g'; }

std::vector<FormatToken> Tokenize(const std::string& f) {
    std::vector<FormatToken> tokens;
    for (size_t i = 0; i < f.size();) {
        if (IsPictureLetter(f[i])) {
            size_t j = i;
            while (j < f.size() && f[j] == f[i]) ++j;
            tokens.push_back({true, f[i], static_cast<int>(j - i), f.substr(i, j - i)});
            i = j;
            continue;
        }
        if (tokens.empty() || tokens.back().picture) tokens.push_back({false, 0, 0, std::string()});
        if (f[i] == '\'') {
            size_t j = i + 1;
            for (; j < f.size(); ++j) {
                if (f[j] != '\'') { tokens.back().text += f[j]; continue; }
                if (j + 1 < f.size() && f[j + 1] == '\'') { tokens.back().text += '\''; ++j; continue; }
                break;
            }
            i = j + 1;
        } else {
            tokens.back().text += f[i++];
        }
    }
    return tokens;
}

bool Droppable(const FormatToken& t, bool dropWeekday) {
    return t.picture && (t.letter == 'y' || (dropWeekday && t.letter == 'd' && t.count >= 3));
}

// Quotes separator text back into format syntax when it holds letters or quotes.
std::string QuoteLiteral(const std::string& s) {
    bool plain = true;
    for (char c : s)
        if (c == '\'' || isalpha(static_cast<unsigned char>(c))) plain = false;
    if (plain) return s;
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

struct DateTables {
    char longFormat[100];
    char yearlessDisplay[100];
    char parseFormats[4][100];
    char months[12][80];
    char monthAbbrevs[12][80];
    char days[14][80];  // weekday names and their abbreviations
    SYSTEMTIME today;
};

DateTables g_tables;
bool g_tablesBuilt = false;
volatile LONG g_tablesLock = 0;

void CopyFormat(char* dst, const std::string& src) {
    lstrcpynA(dst, src.c_str(), 100);
}

void BuildTables(DateTables& t) {
    memset(&t, 0, sizeof t);
    GetLocalTime(&t.today);
    char shortFormat[100] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortFormat, sizeof shortFormat);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, t.longFormat, sizeof t.longFormat);
    for (int m = 0; m < 12; ++m) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + m, t.months[m], 80);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME1 + m, t.monthAbbrevs[m], 80);
    }
    for (int d = 0; d < 7; ++d) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + d, t.days[d], 80);
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + d, t.days[7 + d], 80);
    }
    try {
        CopyFormat(t.yearlessDisplay, FormatWithoutYear(t.longFormat, true));
        CopyFormat(t.parseFormats[0], FormatWithoutYear(shortFormat, true));
        CopyFormat(t.parseFormats[1], shortFormat);
        CopyFormat(t.parseFormats[2], FormatWithoutYear(t.longFormat, true));
        CopyFormat(t.parseFormats[3], t.longFormat);
    } catch (...) {
        // Without memory for the derived formats only the slash form parses.
    }
}

// Built the first time they are needed; a second thread that finds the lock taken gives
// way and retries until the first has finished.
const DateTables& Tables() {
    for (;;) {
        if (InterlockedIncrement(&g_tablesLock) == 1) {
            if (!g_tablesBuilt) {
                BuildTables(g_tables);
                g_tablesBuilt = true;
            }
            InterlockedDecrement(&g_tablesLock);
            return g_tables;
        }
        InterlockedDecrement(&g_tablesLock);
        Sleep(0);
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\xA0'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return IsCharAlphaA(c) != FALSE; }

void SkipBlanks(const char*& p) {
    while (IsBlank(*p)) ++p;
}

bool SameIgnoringCase(const char* a, const char* b, int n) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, n, b, n) == CSTR_EQUAL;
}

// Up to maxDigits decimal digits; answers the count read (0 when none).
int ReadNumber(const char*& p, int maxDigits, int* value) {
    int n = 0, v = 0;
    while (n < maxDigits && IsDigit(p[n])) v = v * 10 + (p[n++] - '0');
    p += n;
    *value = v;
    return n;
}

// The longest of the names that the text begins with (compared without regard to case);
// answers its index, or −1.
int ReadName(const char*& p, const char (*names)[80], int count) {
    int best = -1, bestLen = 0;
    for (int i = 0; i < count; ++i) {
        int len = lstrlenA(names[i]);
        if (len > bestLen && static_cast<int>(strnlen(p, len)) == len && SameIgnoringCase(p, names[i], len)) {
            bestLen = len;
            best = i;
        }
    }
    p += bestLen;
    return best;
}

// A month name or abbreviation of the locale.
bool ReadMonthName(const char*& p, int* month) {
    const DateTables& t = Tables();
    int m = ReadName(p, t.months, 12);
    if (m < 0) m = ReadName(p, t.monthAbbrevs, 12);
    if (m < 0) return false;
    *month = m + 1;
    return true;
}

int ExpandTwoDigitYear(int y) {
    int current = Tables().today.wYear;
    int c = current % 100, century = current - c;
    if (y < c + 50) return c >= y + 50 ? century + 100 + y : century + y;
    return century - 100 + y;
}

bool MatchSeparator(const char*& p, const std::string& sep) {
    for (char s : sep) {
        SkipBlanks(p);
        if (IsBlank(s)) continue;
        if (!*p || !SameIgnoringCase(p, &s, 1)) return false;
        ++p;
    }
    return true;
}

bool MatchFormat(const char* text, const char* format, DWORD* v) {
    if (!*format) return false;
    std::vector<FormatToken> tokens = Tokenize(format);
    int day = 0, month = 0, year = 0;
    const char* p = text;
    bool skipSeparator = false;
    for (const FormatToken& tok : tokens) {
        if (!tok.picture) {
            if (!skipSeparator && !MatchSeparator(p, tok.text)) return false;
            skipSeparator = false;
            continue;
        }
        skipSeparator = false;
        SkipBlanks(p);
        switch (tok.letter) {
        case 'd':
            if (tok.count >= 3) {
                // A weekday may be typed or left out (with the separator after it); it
                // decides nothing.
                if (ReadName(p, Tables().days, 14) < 0) skipSeparator = true;
            } else if (!ReadNumber(p, 2, &day)) {
                return false;
            }
            break;
        case 'M':
            if (!ReadNumber(p, 2, &month) && !ReadMonthName(p, &month)) return false;
            break;
        case 'y': {
            int digits = ReadNumber(p, 4, &year);
            if (!digits) return false;
            if (digits <= 2) year = ExpandTwoDigitYear(year);
            else if (year == 0) return false;
            break;
        }
        default:  // era names are not typed
            while (IsLetter(*p)) ++p;
            break;
        }
    }
    SkipBlanks(p);
    if (*p || !day || !month) return false;
    DWORD value = MakeDateValue(day, month, year);
    if (!IsValidDateValue(value)) return false;
    *v = value;
    return true;
}

}  // namespace

std::string FormatWithoutYear(const std::string& format, bool dropWeekday) {
    std::vector<FormatToken> tokens = Tokenize(format);
    for (size_t i = 0; i < tokens.size();) {
        if (!Droppable(tokens[i], dropWeekday)) { ++i; continue; }
        bool firstPicture = true;
        for (size_t j = 0; j < i; ++j) if (tokens[j].picture) firstPicture = false;
        size_t from = i, to = i + 1;
        if (!firstPicture && i > 0 && !tokens[i - 1].picture) from = i - 1;
        else if (firstPicture && to < tokens.size() && !tokens[to].picture) ++to;
        tokens.erase(tokens.begin() + from, tokens.begin() + to);
        i = from;
    }
    std::string out;
    for (const FormatToken& t : tokens) out += t.picture ? t.text : QuoteLiteral(t.text);
    return out;
}

DWORD MakeDateValue(int day, int month, int year) {
    return static_cast<DWORD>(day & 0xFF) | static_cast<DWORD>(month & 0xFF) << 8 |
           static_cast<DWORD>(year & 0xFFFF) << 16;
}

bool IsValidDateValue(DWORD v) {
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int d = DateDay(v), m = DateMonth(v), y = DateYear(v);
    if (m < 1 || m > 12 || d < 1 || d > kDays[m - 1] || y > 9999) return false;
    if (m == 2 && d == 29 && y != 0) return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return true;
}

std::string SlashDateText(DWORD v) {
    char buf[32];
    if (DateYear(v)) snprintf(buf, sizeof buf, "/%02i/%02i/%04i", DateDay(v), DateMonth(v), DateYear(v));
    else snprintf(buf, sizeof buf, "/%02i/%02i", DateDay(v), DateMonth(v));
    return buf;
}

bool ParseSlashDate(const char* text, size_t length, DWORD* v) {
    const char* p = text;
    const char* end = text + length;
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (p < end && count < 3) {
        if (*p != '/') return false;
        ++p;
        int n = 0, value = 0;
        while (p < end && IsDigit(*p) && n < 5) value = value * 10 + (*p++ - '0'), ++n;
        if (!n) return false;
        parts[count++] = value;
    }
    if (p != end || count < 2) return false;
    DWORD value = MakeDateValue(parts[0], parts[1], parts[2]);
    if (parts[0] > 255 || parts[1] > 255 || parts[2] > 9999) return false;
    if (!IsValidDateValue(value)) return false;
    *v = value;
    return true;
}

bool ParseDateTitle(const char* text, DWORD* v) {
    if (text[0] == '/') return ParseSlashDate(text, strlen(text), v);
    try {
        const DateTables& t = Tables();
        for (const char* format : t.parseFormats)
            if (MatchFormat(text, format, v)) return true;
    } catch (...) {
    }
    return false;
}

void FormatDateTitle(DWORD v, char* buf, size_t size) {
    if (!size) return;
    const DateTables& t = Tables();
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(DateYear(v) ? DateYear(v) : 2000);
    st.wMonth = static_cast<WORD>(DateMonth(v));
    st.wDay = static_cast<WORD>(DateDay(v));
    // The weekday comes from the date itself.
    FILETIME ft;
    if (SystemTimeToFileTime(&st, &ft)) FileTimeToSystemTime(&ft, &st);
    const char* format = DateYear(v) ? t.longFormat : t.yearlessDisplay;
    char out[200];
    if (*format && GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, format, out, sizeof out)) {
        lstrcpynA(buf, out, static_cast<int>(size));
        return;
    }
    // A date the system cannot format still shows, in its file form.
    char fallback[32];
    if (DateYear(v)) snprintf(fallback, sizeof fallback, "%d.%d.%d", DateDay(v), DateMonth(v), DateYear(v));
    else snprintf(fallback, sizeof fallback, "%d.%d.", DateDay(v), DateMonth(v));
    lstrcpynA(buf, fallback, static_cast<int>(size));
}

DWORD TodayDateValue() {
    const SYSTEMTIME& t = Tables().today;
    return MakeDateValue(t.wDay, t.wMonth, t.wYear);
}
