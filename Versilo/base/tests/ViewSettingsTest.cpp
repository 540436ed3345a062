// VoViewSettings against the real registry under a scratch HKEY_CURRENT_USER, and the
// display font's LOGFONT.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "ViewSettings.h"
#include "ScratchRegistry.h"

namespace {

int ScreenDpiY() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA lf = {};
    GetObjectA(font, sizeof(lf), &lf);
    return lf;
}

class ViewSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(scratch_.Ready()); }

    DWORD StoredDword(const char* name) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!scratch_.GetRaw(name, &type, &data) || type != REG_DWORD || data.size() != 4) return 0xDEADBEEF;
        DWORD v;
        memcpy(&v, data.data(), 4);
        return v;
    }
    std::string StoredString(const char* name) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!scratch_.GetRaw(name, &type, &data) || type != REG_SZ) return "<none>";
        return std::string(data.begin(), data.end());
    }

    ScratchRegistry scratch_;
};

TEST(MakeLogFontTest, FollowsTheDisplayFontRule) {
    LOGFONTA lf;
    memset(&lf, 0x55, sizeof(lf));
    char* face = MakeLogFont(&lf, "Times New Roman", 14.0);
    EXPECT_EQ(lf.lfFaceName, face);
    EXPECT_STREQ("Times New Roman", face);
    int dpi = ScreenDpiY();
    EXPECT_EQ(-static_cast<LONG>(dpi * 14.0 / 72 + 0.5), lf.lfHeight);
    if (dpi == 96) {
        EXPECT_EQ(-19, lf.lfHeight);
    }
    EXPECT_EQ(0, lf.lfWidth);
    EXPECT_EQ(0, lf.lfEscapement);
    EXPECT_EQ(0, lf.lfOrientation);
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(0, lf.lfUnderline);
    EXPECT_EQ(0, lf.lfStrikeOut);
    EXPECT_EQ(0, lf.lfCharSet);
    EXPECT_EQ(4, lf.lfOutPrecision);
    EXPECT_EQ(0, lf.lfClipPrecision);
    EXPECT_EQ(5, lf.lfQuality);
    EXPECT_EQ(4, lf.lfPitchAndFamily);

    // At most 31 characters of the face.
    std::string longFace(40, 'F');
    MakeLogFont(&lf, longFace.c_str(), 10.5);
    EXPECT_EQ(std::string(31, 'F'), lf.lfFaceName);
    EXPECT_EQ(-static_cast<LONG>(dpi * 10.5 / 72 + 0.5), lf.lfHeight);
}

TEST_F(ViewSettingsTest, WithoutAKeyEverySettingIsItsDefault) {
    VoViewSettings s;
    EXPECT_EQ(0x00FF0000u, s.GetLexRefColor());
    EXPECT_EQ(0x000000FFu, s.GetBibRefColor());
    EXPECT_TRUE(s.GetJustified());
    EXPECT_TRUE(s.GetMultiColumn());
    EXPECT_FALSE(s.GetShowActiveBibleInMultiWindow());
    EXPECT_EQ(12u, s.GetMarginWidth());
    EXPECT_EQ(200u, s.GetColumnWidth());
    EXPECT_TRUE(s.GetCopyVerseNum());
    EXPECT_FALSE(s.GetVerseNumBeforeText());
    EXPECT_EQ(140u, s.GetFontHeight());
    EXPECT_DOUBLE_EQ(14.0, s.GetFontPoints());
    EXPECT_STREQ("Times New Roman", s.GetFontFace());
    ASSERT_NE(nullptr, s.GetFont());
    LOGFONTA lf = FontOf(s.GetFont());
    EXPECT_STREQ("Times New Roman", lf.lfFaceName);
    EXPECT_EQ(-static_cast<LONG>(ScreenDpiY() * 14.0 / 72 + 0.5), lf.lfHeight);
    // Reading makes no key.
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(scratch_.Root(), "Software\\Ordhus AS\\Versilo", 0, KEY_READ, &key));
    if (key) RegCloseKey(key);
}

TEST_F(ViewSettingsTest, UnusableFontValuesKeepTheDefaults) {
    scratch_.SetString("FontHeigth", "105");
    scratch_.SetString("FontFaceName", std::string(32, 'A'));
    VoViewSettings s;
    EXPECT_EQ(140u, s.GetFontHeight());
    EXPECT_STREQ("Times New Roman", s.GetFontFace());

    // 31 characters fit.
    scratch_.SetString("FontFaceName", std::string(31, 'B'));
    VoViewSettings fits;
    EXPECT_EQ(std::string(31, 'B'), fits.GetFontFace());
}

TEST_F(ViewSettingsTest, TenthsOfAPointRoundTrip) {
    scratch_.SetDword("FontHeigth", 105);
    scratch_.SetString("FontFaceName", "Arial");
    VoViewSettings s;
    EXPECT_DOUBLE_EQ(10.5, s.GetFontPoints());
    EXPECT_STREQ("Arial", s.GetFontFace());
    LOGFONTA lf = FontOf(s.GetFont());
    EXPECT_EQ(-static_cast<LONG>(ScreenDpiY() * 10.5 / 72 + 0.5), lf.lfHeight);
    scratch_.SetDword("FontHeigth", 1);
    s.Save();
    EXPECT_EQ(105u, StoredDword("FontHeigth"));
    EXPECT_EQ(std::string("Arial", 6), StoredString("FontFaceName"));
}

TEST_F(ViewSettingsTest, ColourOfAllBitsIsKeptUnchanged) {
    scratch_.SetDword("BibRefColor", 0xFFFFFFFF);
    VoViewSettings s;
    EXPECT_EQ(0xFFFFFFFFu, s.GetBibRefColor());
    s.Save();
    EXPECT_EQ(0xFFFFFFFFu, StoredDword("BibRefColor"));
}

TEST_F(ViewSettingsTest, EveryFieldIsReadAndSavedUnderItsName) {
    VoViewSettings first;
    first.SetLexRefColor(0x00123456);
    first.SetBibRefColor(0x00654321);
    first.SetJustified(false);
    first.SetMultiColumn(false);
    first.SetShowActiveBibleInMultiWindow(true);
    first.SetMarginWidth(20);
    first.SetColumnWidth(500);
    first.SetCopyVerseNum(false);
    first.SetVerseNumBeforeText(true);
    first.SetFont("Arial", 12.0);
    first.Save();

    const struct {
        const char* name;
        DWORD value;
    } stored[] = {
        {"MultiColumn", 0}, {"ColumnWidth", 500}, {"Justified", 0}, {"MarginWidth", 20},
        {"CopyVerseNum", 0}, {"VerseNumBeforeText", 1}, {"ShowActiveBibleInMultiWindow", 1},
        {"BibRefColor", 0x00654321}, {"LexRefColor", 0x00123456}, {"FontHeigth", 120},
    };
    for (const auto& v : stored) EXPECT_EQ(v.value, StoredDword(v.name)) << v.name;
    EXPECT_EQ(std::string("Arial", 6), StoredString("FontFaceName"));

    VoViewSettings second;
    EXPECT_EQ(0x00123456u, second.GetLexRefColor());
    EXPECT_EQ(0x00654321u, second.GetBibRefColor());
    EXPECT_FALSE(second.GetJustified());
    EXPECT_FALSE(second.GetMultiColumn());
    EXPECT_TRUE(second.GetShowActiveBibleInMultiWindow());
    EXPECT_EQ(20u, second.GetMarginWidth());
    EXPECT_EQ(500u, second.GetColumnWidth());
    EXPECT_FALSE(second.GetCopyVerseNum());
    EXPECT_TRUE(second.GetVerseNumBeforeText());
    EXPECT_EQ(120u, second.GetFontHeight());
    EXPECT_STREQ("Arial", second.GetFontFace());

    // Any non-zero DWORD is true.
    scratch_.SetDword("Justified", 7);
    VoViewSettings third;
    EXPECT_TRUE(third.GetJustified());
}

TEST_F(ViewSettingsTest, SetFontChangesTheFontOnlyWhenSomethingChanged) {
    VoViewSettings s;
    HFONT before = s.GetFont();
    s.SetFont("times new roman", 14.04);  // same face ignoring case, same tenths
    EXPECT_EQ(before, s.GetFont());
    EXPECT_STREQ("Times New Roman", s.GetFontFace());

    s.SetFont("Times New Roman", 10.54);
    EXPECT_NE(before, s.GetFont());
    EXPECT_EQ(105u, s.GetFontHeight());
    EXPECT_EQ(0u, GetObjectA(before, sizeof(LOGFONTA), nullptr)) << "the old font is deleted";

    HFONT sized = s.GetFont();
    s.SetFont("Arial", 10.5);
    EXPECT_NE(sized, s.GetFont());
    EXPECT_STREQ("Arial", s.GetFontFace());
    EXPECT_STREQ("Arial", FontOf(s.GetFont()).lfFaceName);
}

TEST_F(ViewSettingsTest, StoredEmptyFaceStillGivesAFont) {
    scratch_.SetString("FontFaceName", "");
    VoViewSettings s;
    EXPECT_STREQ("", s.GetFontFace());
    EXPECT_NE(nullptr, s.GetFont());
}

TEST_F(ViewSettingsTest, AbsurdFontHeightIsHandledWithoutOverflow) {
    scratch_.SetDword("FontHeigth", 0xFFFFFFFF);
    VoViewSettings s;  // must neither crash nor leave a height that differs from its font
    if (s.GetFont()) {
        EXPECT_EQ(0xFFFFFFFFu, s.GetFontHeight());
    }
    s.SetFont("Times New Roman", 12.0);
    EXPECT_NE(nullptr, s.GetFont());
    EXPECT_EQ(120u, s.GetFontHeight());
}

}  // namespace
