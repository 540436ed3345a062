// The options sheet and the options command around it.
#include "ViewOptions.h"
#include <commctrl.h>
#include <vector>
#include "OptionsResource.h"

VoViewOptionsDlg::VoViewOptionsDlg(const VoBibleInfoList& bibles)
    : RyPropertyFrame(IDD_VIEW_OPTIONS), bible_(bibles), multitrans_(bibles) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    RyPropertyPage* pages[] = {&bible_, &font_, &multitrans_};
    SetPages(pages, 3);
}

void VoViewOptionsDlg::TakeSettings(const VoViewSettings& settings) {
    bible_.marginWidth = settings.GetMarginWidth();
    bible_.justified = settings.GetJustified();
    bible_.columnWidth = settings.GetColumnWidth();
    bible_.multiColumn = settings.GetMultiColumn();
    bible_.copyVerseNum = settings.GetCopyVerseNum();
    bible_.verseNumBeforeText = settings.GetVerseNumBeforeText();
    lstrcpynA(font_.face, settings.GetFontFace(), sizeof(font_.face));
    font_.points = settings.GetFontHeight() / 10.0;
    font_.bibRefColor = settings.GetBibRefColor();
    font_.lexRefColor = settings.GetLexRefColor();
    multitrans_.showActiveBibleInMultiWindow = settings.GetShowActiveBibleInMultiWindow();
}

void VoViewOptionsDlg::GiveSettings(VoViewSettings& settings) const {
    settings.SetMarginWidth(bible_.marginWidth);
    settings.SetJustified(bible_.justified);
    settings.SetColumnWidth(bible_.columnWidth);
    settings.SetMultiColumn(bible_.multiColumn);
    settings.SetCopyVerseNum(bible_.copyVerseNum);
    settings.SetVerseNumBeforeText(bible_.verseNumBeforeText);
    settings.SetBibRefColor(font_.bibRefColor);
    settings.SetLexRefColor(font_.lexRefColor);
    settings.SetShowActiveBibleInMultiWindow(multitrans_.showActiveBibleInMultiWindow);
    settings.SetFont(font_.face, font_.points);
}

VoViewOptionsResult RunViewOptions(HWND owner, VoViewSettings& settings, VoBibleInfoList& bibles, int activeBible) {
    VoViewOptionsResult result;
    VoViewOptionsDlg sheet(bibles);
    sheet.BiblePage().preselect = activeBible;
    sheet.TakeSettings(settings);
    if (sheet.DoModal(owner) != IDOK) return result;
    result.accepted = true;

    const bool showActiveBefore = settings.GetShowActiveBibleInMultiWindow();
    sheet.GiveSettings(settings);
    settings.Save();
    result.showActiveChanged = showActiveBefore != settings.GetShowActiveBibleInMultiWindow();

    VoBibleInfoList& edited = sheet.BiblePage().Bibles();
    for (int i = 0; i < bibles.GetCount() && i < edited.GetCount(); ++i) {
        VoBibleInfo& bible = bibles.GetAt(i);
        const DWORD settingsNow = edited.GetAt(i).GetSettings();
        if (settingsNow == bible.GetSettings()) continue;
        bible.SetFlagBit0((settingsNow & kBibleShowHeadings) != 0);
        bible.SetFlagBit1((settingsNow & kBibleShowReferences) != 0);
        bible.SetFlagBit2((settingsNow & kBibleHideBrackets) != 0);
        bible.SaveSettings();  // a failed write is ignored: the change holds for this run
        if (i == activeBible) {
            result.activeSettingsChanged = true;
            result.activeShowsReferences = bible.TestFlagBit1();
        }
    }

    const std::vector<int>& order = sheet.MultitransPage().Order();
    bool orderDiffers = static_cast<int>(order.size()) != bibles.GetCount();
    for (int i = 0; !orderDiffers && i < bibles.GetCount(); ++i) orderDiffers = order[static_cast<size_t>(i)] != bibles.GetOrderAt(i);
    if (orderDiffers && bibles.SetOrder(order)) {
        bibles.SaveOrder();
        result.orderChanged = true;
    }
    return result;
}
