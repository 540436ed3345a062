// VoViewOptionsDlg: the options sheet ("Innstillinger") with its three pages, Bible, Font
// and Translations; and RunViewOptions, the options command of the main frame around it.
#pragma once
#include "BibleOptionsPage.h"
#include "FontOptionsPage.h"
#include "MultitransOptionsPage.h"
#include "PropertyFrame.h"
#include "ViewSettings.h"

class VoViewOptionsDlg : public RyPropertyFrame {
public:
    // The pages edit copies of the main window's bible list (borrowed for the sheet's life).
    explicit VoViewOptionsDlg(const VoBibleInfoList& bibles);

    VoBibleOptionsDlg& BiblePage() { return bible_; }
    VoFontOptionsDlg& FontPage() { return font_; }
    VoMultitransOptionsDlg& MultitransPage() { return multitrans_; }

    // The settings into the pages, and back after OK.
    void TakeSettings(const VoViewSettings& settings);
    void GiveSettings(VoViewSettings& settings) const;

private:
    VoBibleOptionsDlg bible_;
    VoFontOptionsDlg font_;
    VoMultitransOptionsDlg multitrans_;
};

// What an accepted options sheet changed beyond the view settings, for the frame to pass on.
struct VoViewOptionsResult {
    bool accepted = false;             // closed with OK: settings and font saved
    bool orderChanged = false;         // the translation order was changed and saved
    bool showActiveChanged = false;    // ShowActiveBibleInMultiWindow changed
    bool activeSettingsChanged = false;  // the active translation's display bits changed
    bool activeShowsReferences = false;  // and then: it shows cross-references (menu 2101)
};

// Shows the sheet over owner for settings and bibles, the active pane's translation
// preselected (-1: none). On OK the settings take the pages' values and the font and are
// saved; translations whose display bits changed save them; a changed order is saved.
// Anything else changes nothing.
VoViewOptionsResult RunViewOptions(HWND owner, VoViewSettings& settings, VoBibleInfoList& bibles, int activeBible);
