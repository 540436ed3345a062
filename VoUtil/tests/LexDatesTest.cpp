// Date keys by the user's locale: the derived formats without a year, parsing of typed
// titles and the display titles. The Norwegian cases run with LC_ALL=nb_NO.UTF-8, the
// English ones in a second run of this program with LC_ALL=en_US.UTF-8.
#include <gtest/gtest.h>
#include "LexDates.h"

namespace {

bool LocaleIs(const char* name) {
    char buf[LOCALE_NAME_MAX_LENGTH] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SNAME, buf, sizeof buf);
    return lstrcmpiA(buf, name) == 0;
}

struct ParseCase {
    const char* title;
    bool ok;
    int day, month, year;
};

void ExpectParses(const ParseCase* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const ParseCase& c = cases[i];
        DWORD v = 0xDEAD;
        EXPECT_EQ(c.ok, ParseDateTitle(c.title, &v)) << c.title;
        if (c.ok) {
            EXPECT_EQ(MakeDateValue(c.day, c.month, c.year), v) << c.title;
        }
    }
}

TEST(DateFormats, YearAndWeekdayRemovedWithTheirSeparators) {
    const struct { const char* format; bool weekday; const char* expected; } cases[] = {
        {"dddd d. MMMM yyyy", true, "d. MMMM"},
        {"dddd, MMMM d, yyyy", true, "MMMM d"},
        {"d.M.yyyy", true, "d.M"},
        {"M/d/yyyy", false, "M/d"},
        {"yyyy-MM-dd", true, "MM-dd"},
        {"d' de 'MMMM' de 'yyyy", true, "d' de 'MMMM"},
        {"dddd d. MMMM yyyy", false, "dddd d. MMMM"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, FormatWithoutYear(c.format, c.weekday)) << c.format;
}

TEST(SlashDates, FileFormRoundTrips) {
    EXPECT_EQ("/24/12", SlashDateText(MakeDateValue(24, 12, 0)));
    EXPECT_EQ("/01/05/2025", SlashDateText(MakeDateValue(1, 5, 2025)));
    const ParseCase cases[] = {
        {"/24/12", true, 24, 12, 0},   {"/1/5/2025", true, 1, 5, 2025}, {"/29/02", true, 29, 2, 0},
        {"/29/02/2024", true, 29, 2, 2024}, {"/29/02/2023", false, 0, 0, 0}, {"/31/04", false, 0, 0, 0},
        {"/24", false, 0, 0, 0},       {"/24/12/", false, 0, 0, 0},     {"/24/13", false, 0, 0, 0},
        {"/24/12/2025/1", false, 0, 0, 0}, {"/0/12", false, 0, 0, 0}, {"/24/12x", false, 0, 0, 0},
    };
    ExpectParses(cases, sizeof cases / sizeof cases[0]);
}

TEST(NorwegianDates, TitlesParseByTheFourFormats) {
    ASSERT_TRUE(LocaleIs("nb-NO")) << "run with LC_ALL=nb_NO.UTF-8";
    const ParseCase cases[] = {
        {"24.12", true, 24, 12, 0},
        {"24.12.2025", true, 24, 12, 2025},
        {"24. desember", true, 24, 12, 0},
        {"24. des", true, 24, 12, 0},
        {"24. DESEMBER 2025", true, 24, 12, 2025},
        {"onsdag 24. desember 2025", true, 24, 12, 2025},
        {"  1.5  ", true, 1, 5, 0},
        {"31.2", false, 0, 0, 0},
        {"29.2", true, 29, 2, 0},
        {"29.2.2023", false, 0, 0, 0},
        {"24", false, 0, 0, 0},
        {"desember", false, 0, 0, 0},
        {"24. desembr", false, 0, 0, 0},
        {"Abraham", false, 0, 0, 0},
        {"Joh 3:16", false, 0, 0, 0},
    };
    ExpectParses(cases, sizeof cases / sizeof cases[0]);
}

TEST(NorwegianDates, TwoDigitYearsFallNearestToThisYear) {
    ASSERT_TRUE(LocaleIs("nb-NO"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    int c = now.wYear % 100, century = now.wYear - c;
    for (int y : {0, 25, 49, 50, 75, 99}) {
        int expected = y < c + 50 ? (c >= y + 50 ? century + 100 + y : century + y) : century - 100 + y;
        char title[16];
        wsprintfA(title, "1.3.%02d", y);
        DWORD v = 0;
        ASSERT_TRUE(ParseDateTitle(title, &v)) << title;
        EXPECT_EQ(expected, DateYear(v)) << title;
        EXPECT_LE(abs(DateYear(v) - now.wYear), 50) << title;
    }
}

TEST(NorwegianDates, DisplayInTheLongFormat) {
    ASSERT_TRUE(LocaleIs("nb-NO"));
    char buf[64];
    FormatDateTitle(MakeDateValue(24, 12, 2025), buf, sizeof buf);
    EXPECT_STREQ("onsdag 24. desember 2025", buf);
    FormatDateTitle(MakeDateValue(24, 12, 0), buf, sizeof buf);
    EXPECT_STREQ("24. desember", buf);
    FormatDateTitle(MakeDateValue(29, 2, 0), buf, sizeof buf);
    EXPECT_STREQ("29. februar", buf);
    FormatDateTitle(MakeDateValue(24, 12, 0), buf, 5);
    EXPECT_STREQ("24. ", buf);
}

TEST(EnglishDates, TitlesAndDisplay) {
    ASSERT_TRUE(LocaleIs("en-US")) << "run with LC_ALL=en_US.UTF-8";
    const ParseCase cases[] = {
        {"12/24", true, 24, 12, 0},
        {"12/24/2025", true, 24, 12, 2025},
        {"December 24", true, 24, 12, 0},
        {"dec 24, 2025", true, 24, 12, 2025},
        {"Wednesday, December 24, 2025", true, 24, 12, 2025},
        {"24.12", false, 0, 0, 0},
        {"/24/12", true, 24, 12, 0},
    };
    ExpectParses(cases, sizeof cases / sizeof cases[0]);
    char buf[64];
    FormatDateTitle(MakeDateValue(24, 12, 2025), buf, sizeof buf);
    EXPECT_STREQ("Wednesday, December 24, 2025", buf);
    FormatDateTitle(MakeDateValue(24, 12, 0), buf, sizeof buf);
    EXPECT_STREQ("December 24", buf);
}

}  // namespace
