// VoViewSettings and the display font's LOGFONT.
#include "ViewSettings.h"
#include "Registry.h"
#include "ScreenMetrics.h"

namespace {

const char kDefaultFace[] = "Times New Roman";

// Limits v to [low, high], so that an absurd size cannot overflow the integer it is cut to.
double Clamp(double v, double low, double high) {
    return v < low ? low : v > high ? high : v;
}

}  // namespace

char* MakeLogFont(LOGFONTA* logFont, const char* face, double points) {
    *logFont = LOGFONTA{};
    logFont->lfHeight = -static_cast<LONG>(Clamp(GetScreenLogPixelsY() * points / 72.0 + 0.5, 0.0, 2147483647.0));
    logFont->lfWeight = FW_NORMAL;
    logFont->lfCharSet = ANSI_CHARSET;
    logFont->lfOutPrecision = OUT_TT_PRECIS;
    logFont->lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont->lfQuality = CLEARTYPE_QUALITY;
    logFont->lfPitchAndFamily = 4;
    lstrcpynA(logFont->lfFaceName, face ? face : "", LF_FACESIZE);
    return logFont->lfFaceName;
}

VoViewSettings::VoViewSettings() {
    char face[kFaceCapacity];
    lstrcpynA(face, kDefaultFace, sizeof(face));
    const AppSettingsKey key(nullptr, AppSettingsKey::kRead);
    key.Read("MultiColumn", &multiColumn_);
    key.Read("ColumnWidth", &columnWidth_);
    key.Read("Justified", &justified_);
    key.Read("MarginWidth", &marginWidth_);
    key.Read("CopyVerseNum", &copyVerseNum_);
    key.Read("VerseNumBeforeText", &verseNumBeforeText_);
    key.Read("ShowActiveBibleInMultiWindow", &showActiveBibleInMultiWindow_);
    key.Read("BibRefColor", &bibRefColor_);
    key.Read("LexRefColor", &lexRefColor_);
    key.Read("FontHeigth", &fontHeight_);
    key.Read("FontFaceName", face, sizeof(face));
    SetFont(face, fontHeight_ / 10.0);
}

void VoViewSettings::SetFont(const char* face, double points) {
    if (!face) face = "";
    DWORD height = static_cast<DWORD>(Clamp(points * 10.0 + 0.5, 0.0, 4294967295.0));
    // With no font made yet (a stored empty face equals the empty start face) the font is
    // made all the same: the panes always get a font.
    if (font_ && height == fontHeight_ && lstrcmpiA(face, fontFace_) == 0) return;
    LOGFONTA logFont;
    MakeLogFont(&logFont, face, points);
    HFONT made = CreateFontIndirectA(&logFont);
    if (!made) return;
    font_.Reset(made);
    fontHeight_ = height;
    lstrcpynA(fontFace_, face, sizeof(fontFace_));
}

void VoViewSettings::Save() const {
    const AppSettingsKey key(nullptr, AppSettingsKey::kWrite);
    key.Write("MultiColumn", multiColumn_);
    key.Write("ColumnWidth", columnWidth_);
    key.Write("Justified", justified_);
    key.Write("MarginWidth", marginWidth_);
    key.Write("CopyVerseNum", copyVerseNum_);
    key.Write("VerseNumBeforeText", verseNumBeforeText_);
    key.Write("ShowActiveBibleInMultiWindow", showActiveBibleInMultiWindow_);
    key.Write("BibRefColor", bibRefColor_);
    key.Write("LexRefColor", lexRefColor_);
    key.Write("FontHeigth", fontHeight_);
    key.Write("FontFaceName", fontFace_);
}
