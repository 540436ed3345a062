// The dialogs of commands 2007, 2501 and 2502.
#include "DialogCommands.h"
#include "AboutBox.h"

INT_PTR RunSearchCommand(HWND owner, IBible* bible, HFONT font, VoSearchOutcome* outcome) {
    *outcome = VoSearchOutcome();
    VoSearchDlg dialog(bible, font);
    const INT_PTR result = dialog.DoModal(owner);
    if (result != IDOK) return result;
    const int count = dialog.GetHitCount();
    outcome->hits.reserve(static_cast<size_t>(count));
    char text[kFormatRefBufferSize];
    for (int i = 0; i < count; ++i) outcome->hits.push_back({dialog.GetHitText(i, text), dialog.GetHitRef(i)});
    outcome->chosenHit = dialog.GetChosenHit();
    outcome->chosenRef = dialog.GetChosenHitRef();
    return result;
}

INT_PTR RunBibleInfoCommand(HWND owner, IBible* bible) {
    if (!bible) return 0;
    VoBibleInfoDlg dialog(bible);
    return dialog.DoModal(owner);
}

INT_PTR RunAboutCommand(HWND owner) {
    VoAboutBox dialog;
    return dialog.DoModal(owner);
}
