// VoPaneContext: the display settings a bible pane's item server reads, from the view
// settings and the translation's installed-bible record, with the answers used while either
// is missing.
#pragma once
#include <windows.h>
#include "BibleInfo.h"
#include "ViewSettings.h"

class VoPaneContext {
public:
    static constexpr int kDefaultMargin = 5;
    static constexpr int kDefaultColumnWidth = 220;

    // Both borrowed; either may be null.
    void SetViewSettings(VoViewSettings* settings) { settings_ = settings; }
    void SetBibleRecord(VoBibleInfo* record) { record_ = record; }
    VoViewSettings* GetViewSettings() const { return settings_; }
    VoBibleInfo* GetBibleRecord() const { return record_; }

    bool ShowSectionTitles() const { return record_ && record_->TestFlagBit0(); }
    bool ShowReferences() const { return !record_ || record_->TestFlagBit1(); }
    bool HideBrackets() const { return !record_ || record_->TestFlagBit2(); }
    COLORREF GetLexRefColor() const { return settings_ ? settings_->GetLexRefColor() : 0x00FF0000; }
    COLORREF GetBibRefColor() const { return settings_ ? settings_->GetBibRefColor() : 0x000000FF; }
    bool IsJustified() const { return !settings_ || settings_->GetJustified(); }
    bool IsMultiColumn() const { return !settings_ || settings_->GetMultiColumn(); }
    int GetColumnWidth() const { return settings_ ? static_cast<int>(settings_->GetColumnWidth()) : kDefaultColumnWidth; }
    bool CopyVerseNumbers() const { return !settings_ || settings_->GetCopyVerseNum(); }
    bool VerseNumberBeforeText() const { return settings_ && settings_->GetVerseNumBeforeText(); }
    // The margin of a column of width pixels: the setting, at most a quarter of the width.
    int GetMargin(int width) const {
        const int margin = settings_ ? static_cast<int>(settings_->GetMarginWidth()) : kDefaultMargin;
        return margin < width / 4 ? margin : width / 4;
    }

private:
    VoViewSettings* settings_ = nullptr;
    VoBibleInfo* record_ = nullptr;
};
