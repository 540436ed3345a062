// The viewer's owner window: notification icon, minute counter and the verse dialog's runs.
#include "OwnerWnd.h"
#include <shellapi.h>
#include "Instance.h"
#include "UserHandles.h"
#include "VerseDlg.h"
#include "ViewerApp.h"
#include "ViewerIds.h"

VoViewerOwnerWnd::VoViewerOwnerWnd(VoViewerApp& app, AViewerPrompts& prompts, bool startup,
                                   const char* fileArgument)
    : app_(app), prompts_(prompts) {
    lstrcpynA(tip_, app.GetCaption(), sizeof(tip_));
    threshold_ = CurrentThreshold();
    counter_ = startup ? 0 : threshold_;
    if (fileArgument) lstrcpynA(pending_, fileArgument, sizeof(pending_));
}

void VoViewerOwnerWnd::GetWindowClass(ry::WindowClass& wc) {
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kViewerWindowClass;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hIcon = LoadIconA(wc.hInstance, kViewerWindowClass);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
}

HWND VoViewerOwnerWnd::Create() {
    RyCreateParams params;
    params.title = kViewerWindowClass;
    return RyWindowImpl::Create(params);
}

bool VoViewerOwnerWnd::ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result) {
    using Self = VoViewerOwnerWnd;
    static const RyMessageEntry<Self> map[] = {
        {WM_CREATE, RyOnCreate<&Self::OnCreate>},
        {WM_DESTROY, RyOnVoid<&Self::OnDestroy>},
        {WM_TIMER, RyOnTimer<&Self::OnTimer>},
        {WM_COPYDATA, RyMsg<&Self::OnCopyData>},
        {VOVIEWER_WM_SHOWNOW, RyMsg<&Self::OnShowNow>},
        {VOVIEWER_WM_TRAY, RyMsg<&Self::OnTray>},
        {WM_QUERYENDSESSION, RyMsg<&Self::OnQueryEndSession>},
        {WM_ENDSESSION, RyMsg<&Self::OnEndSession>},
    };
    return RyDispatchMessage(*this, map, hwnd, message, wParam, lParam, result);
}

HWND VoViewerOwnerWnd::GetVerseDialog() const {
    return dialog_ ? dialog_->Handle() : nullptr;
}

int VoViewerOwnerWnd::CurrentThreshold() const {
    return app_.WasVerseShown() ? app_.GetSettings().interval : app_.GetSettings().firstInterval;
}

int VoViewerOwnerWnd::OnCreate(const ry::CreateStruct&) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = hwnd_;
    icon.uID = VOVIEWER_TRAY_ID;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = VOVIEWER_WM_TRAY;
    IconHandle small(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), kViewerWindowClass, IMAGE_ICON, 16, 16, 0)));
    icon.hIcon = small.Get();
    lstrcpynA(icon.szTip, tip_, sizeof(icon.szTip));
    Shell_NotifyIconA(NIM_ADD, &icon);  // without a notification area the viewer still counts
    SetTimer(hwnd_, VOVIEWER_TIMER_MINUTE, kMinuteMilliseconds, nullptr);
    if (showAgain_) {
        showAgain_ = false;
        PostMessageA(hwnd_, WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
    }
    return 0;
}

void VoViewerOwnerWnd::OnDestroy() {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = hwnd_;
    icon.uID = VOVIEWER_TRAY_ID;
    Shell_NotifyIconA(NIM_DELETE, &icon);
    KillTimer(hwnd_, VOVIEWER_TIMER_MINUTE);
    PostQuitMessage(0);
}

void VoViewerOwnerWnd::OnTimer(UINT_PTR) {
    if (showing_) return;
    ++counter_;
    // Reaching the threshold means at least it: a count that starts at the threshold, or a
    // threshold lowered meanwhile, still shows the verse.
    if (counter_ < threshold_) return;
    SetForegroundWindow(hwnd_);
    ShowVerseDialog();
}

LRESULT VoViewerOwnerWnd::OnShowNow(WPARAM, LPARAM) {
    ShowNow();
    return 0;
}

LRESULT VoViewerOwnerWnd::OnTray(WPARAM id, LPARAM mouseMessage) {
    if (id == VOVIEWER_TRAY_ID && static_cast<UINT>(mouseMessage) == WM_LBUTTONUP) {
        SetForegroundWindow(hwnd_);
        PostMessageA(hwnd_, VOVIEWER_WM_SHOWNOW, 0, 0);
    }
    return 0;
}

LRESULT VoViewerOwnerWnd::OnCopyData(WPARAM, LPARAM lParam) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != VOVIEWER_COPYDATA_FILE) return 0;
    char path[MAX_PATH];
    if (!CopyDataText(data, path, sizeof(path))) return 0;
    lstrcpyA(pending_, path);
    ShowNow();
    return TRUE;
}

LRESULT VoViewerOwnerWnd::OnEndSession(WPARAM ending, LPARAM lParam) {
    // Windows ends the process after this: an open verse dialog keeps its verse and place
    // as its close would, and the program's end writes its settings now.
    if (!ending) return 0;
    if (HWND dialog = GetVerseDialog()) SendMessageA(dialog, WM_ENDSESSION, ending, lParam);
    app_.SaveOnExit();
    return 0;
}

void VoViewerOwnerWnd::ShowNow() {
    if (showing_) {
        HWND dialog = GetVerseDialog();
        if (!dialog) {
            // The dialog is being made or torn down (the window's end handles messages
            // sent by a second start): show again, with the pending list, once the window
            // is made anew.
            showAgain_ = true;
            return;
        }
        SetForegroundWindow(dialog);
        if (pending_[0]) {
            COPYDATASTRUCT data = {};
            data.dwData = VOVIEWER_COPYDATA_FILE;
            data.cbData = static_cast<DWORD>(lstrlenA(pending_) + 1);
            data.lpData = pending_;
            SendMessageA(dialog, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_), reinterpret_cast<LPARAM>(&data));
            pending_[0] = '\0';
        }
        return;
    }
    // Posted rather than sent, so that a second start's request returns at once instead of
    // waiting for the reader to close the dialog.
    counter_ = threshold_;
    PostMessageA(hwnd_, WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
}

void VoViewerOwnerWnd::ShowVerseDialog() {
    showing_ = true;
    showAgain_ = false;
    INT_PTR result;
    {
        VoViewerWnd dialog(app_, prompts_, pending_[0] ? pending_ : nullptr);
        pending_[0] = '\0';  // the dialog has it
        dialog_ = &dialog;
        result = dialog.DoModal(hwnd_);
        dialog_ = nullptr;
    }
    exit_ = result == kViewerEndProgram;
    DestroyWindow(hwnd_);
    showing_ = false;
    threshold_ = CurrentThreshold();
    counter_ = showAgain_ ? threshold_ : 0;
}
