// The verse dialog and its text box.
#include "VerseDlg.h"
#include "DataDirectories.h"
#include "Instance.h"
#include "LookUp.h"
#include "MessageText.h"
#include "OptionsDlg.h"
#include "UserHandles.h"
#include "ViewerApp.h"
#include "ViewerIds.h"
#include "ViewerPaths.h"
#include "ViewerPrompts.h"

namespace {

// Room of the verse text the engine gives.
constexpr int kVerseTextSize = 1024;
// A dialog moved less than this far from the centre stays centred.
constexpr int kCentredSlack = 40;
constexpr int kPositionScale = 10000;

RECT DesktopRect() {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    return desktop;
}

RECT WindowRect(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

// The top-left corner that centres a window of size w by h on the desktop.
POINT CentredCorner(const RECT& desktop, int w, int h) {
    return {desktop.left + (desktop.right - desktop.left - w) / 2, desktop.top + (desktop.bottom - desktop.top - h) / 2};
}

bool IsKeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool VoViewerTextWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
    using Self = VoViewerTextWnd;
    static const RyMessageEntry<Self> map[] = {
        {WM_CONTEXTMENU, RyOnContextMenu<&Self::OnContextMenu>},
        {WM_LBUTTONDBLCLK, RyOnMouse<&Self::OnDoubleClick>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

void VoViewerTextWnd::OnContextMenu(HWND, POINT screen, bool) {
    dialog_.ShowContextMenu(screen);
}

void VoViewerTextWnd::OnDoubleClick(UINT, POINT) {
    dialog_.LookUp();
}

VoViewerWnd::VoViewerWnd(VoViewerApp& app, AViewerPrompts& prompts, const char* pendingList)
    : RyDialog(IDD_VIEWER), app_(app), prompts_(prompts), text_(*this) {
    if (pendingList) lstrcpynA(pending_, pendingList, sizeof(pending_));
}

bool VoViewerWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    using Self = VoViewerWnd;
    static const RyMessageEntry<Self> map[] = {
        {WM_INITDIALOG, RyOnInitDialog<&Self::OnInitDialog>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
        {WM_TIMER, RyOnTimer<&Self::OnTimer>},
        {WM_COPYDATA, RyMsgMaybe<&Self::OnCopyData>},
        {WM_CTLCOLORSTATIC, RyOnCtlColor<&Self::OnCtlColorStatic>},
        {WM_CONTEXTMENU, RyOnContextMenu<&Self::OnDialogContextMenu>},
        {WM_QUERYENDSESSION, RyMsg<&Self::OnQueryEndSession>},
        {WM_ENDSESSION, RyMsg<&Self::OnEndSession>},
        RyCommand<Self>(IDOK, RyOnCommand<&Self::OnOk>),
        RyCommand<Self>(IDCANCEL, RyOnCommand<&Self::OnCancel>),
        RyCommand<Self>(kCmdClose, RyOnCommand<&Self::OnCloseToTray>),
        RyCommand<Self>(IDC_QUIT, RyOnCommand<&Self::OnQuit>),
        RyCommand<Self>(kCmdQuit, RyOnCommand<&Self::OnQuit>),
        RyCommand<Self>(IDC_NEXT_VERSE, RyOnCommand<&Self::OnNextVerse>),
        RyCommand<Self>(kCmdNextVerse, RyOnCommand<&Self::OnNextVerse>),
        RyCommand<Self>(IDC_OPTIONS, RyOnCommand<&Self::OnOptions>),
        RyCommand<Self>(kCmdOptions, RyOnCommand<&Self::OnOptions>),
        RyCommand<Self>(kCmdCopy, RyOnCommand<&Self::OnCopy>),
        RyCommand<Self>(kCmdLookUp, RyOnCommand<&Self::OnLookUpCommand>),
        RyCommandCode<Self>(IDC_VERSE_TEXT, EN_ERRSPACE, RyOnCommand<&Self::OnOutOfSpace>),
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

bool VoViewerWnd::OnInitDialog(HWND, LPARAM) {
    text_.Attach(Item(IDC_VERSE_TEXT));
    buttonsHidden_ = app_.GetSettings().hiddenButtons;
    PlaceDialog();
    SendMessageA(Item(IDC_VERSE_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(app_.GetVerseFont()), FALSE);
    ShowCurrentVerse();
    SetFocus(Item(IDC_VERSE_TEXT));
    SendMessageA(Item(IDC_VERSE_TEXT), EM_SETSEL, 0, 0);
    if (pending_[0]) SetTimer(hwnd_, VOVIEWER_TIMER_FILEARG, kFileArgMilliseconds, nullptr);
    return false;  // the focus is set
}

void VoViewerWnd::PlaceDialog() {
    const RECT desktop = DesktopRect();
    const RECT dialog = WindowRect(hwnd_);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    RECT text;
    GetClientRect(Item(IDC_VERSE_TEXT), &text);
    designedText_ = {text.right, text.bottom};
    stripHeight_ = dialog.bottom - WindowRect(Item(IDOK)).top;
    designedHeight_ = height;

    const VoViewerSettings& settings = app_.GetSettings();
    POINT corner = CentredCorner(desktop, width, StartHeight());
    if (!settings.centered) {
        corner.x = desktop.left + MulDiv(desktop.right - desktop.left, settings.x, kPositionScale);
        corner.y = desktop.top + MulDiv(desktop.bottom - desktop.top, settings.y, kPositionScale);
    }
    SetWindowPos(hwnd_, nullptr, corner.x, corner.y, width, StartHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

int VoViewerWnd::StartHeight() const {
    return buttonsHidden_ ? designedHeight_ - stripHeight_ : designedHeight_;
}

void VoViewerWnd::ShowCurrentVerse() {
    char text[kVerseTextSize] = {};
    const int ref = app_.GetCurrentVerse(text, sizeof(text));
    char formatted[kFormatRefBufferSize] = {};
    reference_[0] = '\0';
    if (ref && app_.GetLangStat() && SUCCEEDED(app_.GetLangStat()->FormatRef(formatted, ref, 0, 0, 0, TRUE))) {
        char caption[kViewerMessageSize];
        SetWindowTextA(hwnd_, FormatViewerText(caption, kIdsVerseCaption, formatted));
        lstrcpynA(reference_, formatted, sizeof(reference_));
    } else {
        SetWindowTextA(hwnd_, app_.GetCaption());
    }

    const HWND box = Item(IDC_VERSE_TEXT);
    SetWindowTextA(box, text);
    GetWindowTextA(box, text, sizeof(text));
    // Where the edit control puts its first character: its margins on every side.
    const LRESULT first = SendMessageA(box, EM_POSFROMCHAR, 0, 0);
    const int marginX = first == -1 ? 0 : static_cast<short>(LOWORD(first));
    const int marginY = first == -1 ? 0 : static_cast<short>(HIWORD(first));
    RECT client;
    GetClientRect(box, &client);
    RECT measure = {0, 0, client.right - 2 * marginX, 0};
    TEXTMETRICA metrics = {};
    {
        WindowDc dc(box);
        SelectedObject font(dc.Get(), app_.GetVerseFont());
        DrawTextA(dc.Get(), text, -1, &measure, DT_EDITCONTROL | DT_CALCRECT | DT_WORDBREAK);
        GetTextMetricsA(dc.Get(), &metrics);
    }
    // The text box may wrap a little differently from DrawText (its right margin): its own
    // line count decides when it needs more room, so that no line is cut off.
    const int lines = static_cast<int>(SendMessageA(box, EM_GETLINECOUNT, 0, 0));
    int textHeight = measure.bottom - measure.top;
    if (lines * metrics.tmHeight > textHeight) textHeight = lines * metrics.tmHeight;
    int needed = textHeight + 2 * marginY;
    if (needed < designedText_.cy) needed = designedText_.cy;
    const int dy = needed - client.bottom;
    if (dy == 0) return;
    const RECT boxRect = WindowRect(box);
    SetWindowPos(box, nullptr, 0, 0, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeBy(dy);
    MoveButtonsBy(dy);
}

void VoViewerWnd::ResizeBy(int dy) {
    const RECT dialog = WindowRect(hwnd_);
    SetWindowPos(hwnd_, nullptr, 0, 0, dialog.right - dialog.left, dialog.bottom - dialog.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void VoViewerWnd::MoveButtonsBy(int dy) {
    for (int id : {IDOK, IDC_QUIT, IDC_NEXT_VERSE, IDC_OPTIONS}) {
        const HWND button = Item(id);
        RECT rc = WindowRect(button);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
        SetWindowPos(button, nullptr, rc.left, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void VoViewerWnd::OnDestroy() {
    KillTimer(hwnd_, VOVIEWER_TIMER_FILEARG);
    text_.Detach();
}

void VoViewerWnd::OnTimer(UINT_PTR id) {
    if (id != VOVIEWER_TIMER_FILEARG) return;
    KillTimer(hwnd_, id);
    ProcessPendingList();
}

LRESULT VoViewerWnd::OnCopyData(WPARAM, LPARAM lParam, bool& handled) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    handled = false;
    if (!data) return 0;
    if (data->dwData == VOVIEWER_COPYDATA_QUIT) {
        // Ending the program, not only this dialog: the owner window is not made again.
        handled = true;
        EndDialog(kViewerEndProgram);
        return TRUE;
    }
    if (data->dwData != VOVIEWER_COPYDATA_FILE || !CopyDataText(data, pending_, sizeof(pending_))) return 0;
    handled = true;
    ProcessPendingList();
    return TRUE;
}

HBRUSH VoViewerWnd::OnCtlColorStatic(HDC dc, HWND control) {
    if (control != Item(IDC_VERSE_TEXT)) return nullptr;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

void VoViewerWnd::OnDialogContextMenu(HWND, POINT, bool) {
    prompts_.Beep();
}

LRESULT VoViewerWnd::OnEndSession(WPARAM ending, LPARAM) {
    // Windows ends the process after this without closing the dialog: what closing and
    // the program's end write is written now, once (the owner window passes it on too).
    if (!ending || sessionEnded_) return 0;
    sessionEnded_ = true;
    ConsumeAndRemember();
    app_.SaveOnExit();
    return 0;
}

void VoViewerWnd::OnOk(UINT, UINT, HWND) {
    Close(kViewerBackToTray);
}

void VoViewerWnd::OnCancel(UINT, UINT, HWND) {
    // Escape closes to the tray; Alt+F4 arrives as the same command and ends the program.
    Close(IsKeyDown(VK_F4) && IsKeyDown(VK_MENU) ? kViewerEndProgram : kViewerBackToTray);
}

void VoViewerWnd::OnCloseToTray(UINT, UINT, HWND) {
    Close(kViewerBackToTray);
}

void VoViewerWnd::OnQuit(UINT, UINT, HWND) {
    Close(kViewerEndProgram);
}

void VoViewerWnd::Close(INT_PTR result) {
    ConsumeAndRemember();
    EndDialog(result);
}

void VoViewerWnd::ConsumeAndRemember() {
    app_.NextVerse();
    const RECT desktop = DesktopRect();
    const RECT dialog = WindowRect(hwnd_);
    // Centred means where the next start centres it: at its height as designed, not at the
    // height a long verse made it grow to.
    const POINT centred = CentredCorner(desktop, dialog.right - dialog.left, StartHeight());
    VoViewerSettings& settings = app_.GetSettings();
    settings.centered = abs(dialog.left - centred.x) < kCentredSlack && abs(dialog.top - centred.y) < kCentredSlack;
    settings.x = MulDiv(kPositionScale, dialog.left - desktop.left, desktop.right - desktop.left);
    settings.y = MulDiv(kPositionScale, dialog.top - desktop.top, desktop.bottom - desktop.top);
}

void VoViewerWnd::OnNextVerse(UINT, UINT, HWND) {
    app_.NextVerse();
    ShowCurrentVerse();
    SetFocus(Item(IDOK));
}

void VoViewerWnd::OnOptions(UINT, UINT, HWND) {
    optionsOpen_ = true;
    VoViewerOptionsDlg options(app_, prompts_);
    if (options.DoModal(hwnd_) == 1) {
        const bool hide = app_.GetSettings().hiddenButtons;
        if (hide != buttonsHidden_) {
            if (hide) ShowViewerMessage(prompts_, hwnd_, MB_OK | MB_ICONINFORMATION, kIdsButtonsHidden);
            buttonsHidden_ = hide;
            ResizeBy(hide ? -stripHeight_ : stripHeight_);
        }
        // A new bible or list shows its own verse.
        ShowCurrentVerse();
    }
    optionsOpen_ = false;
    SetFocus(Item(IDOK));
}

void VoViewerWnd::OnCopy(UINT, UINT, HWND) {
    const HWND box = Item(IDC_VERSE_TEXT);
    DWORD start = 0, end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end) {
        SendMessageA(box, WM_COPY, 0, 0);
        return;
    }
    SendMessageA(box, EM_SETSEL, 0, -1);
    SendMessageA(box, WM_COPY, 0, 0);
    SendMessageA(box, EM_SETSEL, start, start);
}

bool VoViewerWnd::CanLookUp() const {
    return app_.GetMainProgramPath()[0] && reference_[0];
}

void VoViewerWnd::LookUp() {
    if (!CanLookUp()) {
        prompts_.Beep();
        return;
    }
    LookUpInVersilo(hwnd_, app_.GetMainProgramPath(), app_.GetSettings().bible, reference_);
}

void VoViewerWnd::OnLookUpCommand(UINT, UINT, HWND) {
    LookUp();
}

void VoViewerWnd::OnOutOfSpace(UINT, UINT, HWND) {
    prompts_.ShowMessage(hwnd_, "Edit control out of space.", MB_OK | MB_ICONERROR);
}

void VoViewerWnd::ShowContextMenu(POINT screen) {
    MenuHandle menu(CreatePopupMenu());
    if (!menu) return;
    auto add = [&](UINT id) {
        char text[kTextCapacity];
        AppendMenuA(menu.Get(), MF_STRING, id, LoadResString(text, id));
    };
    if (CanLookUp()) {
        add(kCmdLookUp);
        SetMenuDefaultItem(menu.Get(), kCmdLookUp, FALSE);
    }
    for (UINT id : {kCmdCopy, kCmdNextVerse, kCmdOptions, kCmdClose, kCmdQuit}) add(id);
    const UINT command = prompts_.TrackMenu(menu.Get(), hwnd_, screen);
    if (!command) {
        prompts_.Beep();
        return;
    }
    SendMessageA(hwnd_, WM_COMMAND, command, 0);
}

void VoViewerWnd::ProcessPendingList() {
    char path[MAX_PATH];
    lstrcpyA(path, pending_);
    pending_[0] = '\0';
    if (!path[0]) return;
    if (optionsOpen_) {
        prompts_.Beep();
        return;
    }
    VoViewerSettings settings = app_.GetSettings();
    if (lstrcmpiA(path, settings.refList) == 0) return;
    // The file is checked, and the setting takes it, by its full path: a bare file name
    // would be read back as a list name of the bibles directory, and a relative path
    // depends on the folder the viewer runs in.
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof(full), full, nullptr);
    if (length > 0 && length < sizeof(full) && lstrcmpiA(full, settings.refList) == 0) return;
    if (length == 0 || length >= sizeof(full) || !IsExistingFile(full)) {
        ShowViewerMessage(prompts_, hwnd_, MB_OK | MB_ICONERROR, kIdsFileMissing, path);
        return;
    }
    ComPtr<IRefList> list;
    if (FAILED(OpenRefListFile(full, list.Put()))) {
        ShowViewerMessage(prompts_, hwnd_, MB_OK | MB_ICONERROR, kIdsNotAList, path);
        return;
    }
    char name[MAX_PATH], shown[MAX_PATH + 4];
    wsprintfA(shown, "...\\%s", CopyListName(name, sizeof(name), full));
    if (ShowViewerMessage(prompts_, hwnd_, MB_YESNO | MB_ICONWARNING, kIdsChangeList, shown) != IDYES) return;
    lstrcpynA(settings.refList, full, sizeof(settings.refList));
    app_.ApplySettings(settings, nullptr, list.Get());
    ShowCurrentVerse();
}
