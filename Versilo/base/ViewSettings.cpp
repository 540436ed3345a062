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
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, nullptr, kAppKeyRead) == ERROR_SUCCESS) {
        HKEY k = key.Get();
        ReadRegBool(k, "MultiColumn", &multiColumn_);
        ReadRegDword(k, "ColumnWidth", &columnWidth_);
        ReadRegBool(k, "Justified", &justified_);
        ReadRegDword(k, "MarginWidth", &marginWidth_);
        ReadRegBool(k, "CopyVerseNum", &copyVerseNum_);
        ReadRegBool(k, "VerseNumBeforeText", &verseNumBeforeText_);
        ReadRegBool(k, "ShowActiveBibleInMultiWindow", &showActiveBibleInMultiWindow_);
        LONG color = 0;
        if (ReadRegInt(k, "BibRefColor", &color)) bibRefColor_ = static_cast<COLORREF>(color);
        if (ReadRegInt(k, "LexRefColor", &color)) lexRefColor_ = static_cast<COLORREF>(color);
        ReadRegDword(k, "FontHeigth", &fontHeight_);
        ReadRegString(k, "FontFaceName", face, sizeof(face));
    }
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
    RegKey key;
    if (CreateUserAppKey(key, nullptr, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    HKEY k = key.Get();
    WriteRegBool(k, "MultiColumn", multiColumn_);
    WriteRegDword(k, "ColumnWidth", columnWidth_);
    WriteRegBool(k, "Justified", justified_);
    WriteRegDword(k, "MarginWidth", marginWidth_);
    WriteRegBool(k, "CopyVerseNum", copyVerseNum_);
    WriteRegBool(k, "VerseNumBeforeText", verseNumBeforeText_);
    WriteRegBool(k, "ShowActiveBibleInMultiWindow", showActiveBibleInMultiWindow_);
    WriteRegInt(k, "BibRefColor", static_cast<LONG>(bibRefColor_));
    WriteRegInt(k, "LexRefColor", static_cast<LONG>(lexRefColor_));
    WriteRegDword(k, "FontHeigth", fontHeight_);
    WriteRegString(k, "FontFaceName", fontFace_);
}
