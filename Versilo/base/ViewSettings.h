// VoViewSettings: the display settings handed to every bible pane, with the display font;
// and MakeLogFont, the LOGFONT rule of that font.
//
// The settings are values of the application key under HKEY_CURRENT_USER. A value that
// cannot be read keeps its default; the settings are written only by Save.
#pragma once
#include <windows.h>
#include "Handles.h"

// Fills logFont for the display font of face at points (the screen's LOGPIXELSY, asked once
// per process) and returns its face-name field. At most 31 characters of face are taken.
char* MakeLogFont(LOGFONTA* logFont, const char* face, double points);

class VoViewSettings {
public:
    static constexpr DWORD kFaceCapacity = 32;  // bytes with the NUL

    // Defaults, then whatever the registry holds, then the display font.
    VoViewSettings();
    VoViewSettings(const VoViewSettings&) = delete;
    VoViewSettings& operator=(const VoViewSettings&) = delete;

    // Writes every field to the registry; nothing when the key cannot be created.
    void Save() const;

    // Makes the display font of face at points unless it is the current one; a font that
    // cannot be made leaves the font, height and face as they were.
    void SetFont(const char* face, double points);
    double GetFontPoints() const { return fontHeight_ / 10.0; }
    HFONT GetFont() const { return font_.Get(); }
    DWORD GetFontHeight() const { return fontHeight_; }  // tenths of a point
    const char* GetFontFace() const { return fontFace_; }

    COLORREF GetLexRefColor() const { return lexRefColor_; }
    void SetLexRefColor(COLORREF c) { lexRefColor_ = c; }
    COLORREF GetBibRefColor() const { return bibRefColor_; }
    void SetBibRefColor(COLORREF c) { bibRefColor_ = c; }
    bool GetJustified() const { return justified_; }
    void SetJustified(bool on) { justified_ = on; }
    bool GetMultiColumn() const { return multiColumn_; }
    void SetMultiColumn(bool on) { multiColumn_ = on; }
    bool GetShowActiveBibleInMultiWindow() const { return showActiveBibleInMultiWindow_; }
    void SetShowActiveBibleInMultiWindow(bool on) { showActiveBibleInMultiWindow_ = on; }
    DWORD GetMarginWidth() const { return marginWidth_; }
    void SetMarginWidth(DWORD pixels) { marginWidth_ = pixels; }
    DWORD GetColumnWidth() const { return columnWidth_; }
    void SetColumnWidth(DWORD pixels) { columnWidth_ = pixels; }
    bool GetCopyVerseNum() const { return copyVerseNum_; }
    void SetCopyVerseNum(bool on) { copyVerseNum_ = on; }
    bool GetVerseNumBeforeText() const { return verseNumBeforeText_; }
    void SetVerseNumBeforeText(bool on) { verseNumBeforeText_ = on; }

private:
    COLORREF lexRefColor_ = 0x00FF0000;  // blue
    COLORREF bibRefColor_ = 0x000000FF;  // red
    bool justified_ = true;
    bool multiColumn_ = true;
    bool showActiveBibleInMultiWindow_ = false;
    DWORD marginWidth_ = 12;
    DWORD columnWidth_ = 200;
    bool copyVerseNum_ = true;
    bool verseNumBeforeText_ = false;
    DWORD fontHeight_ = 140;
    char fontFace_[kFaceCapacity] = {};
    FontHandle font_;
};
