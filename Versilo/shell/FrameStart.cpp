// The program's process-wide start, the main window's placement at start and the program's
// accelerator filter.
#include "FrameStart.h"
#include <commctrl.h>
#include "HtmlHost.h"
#include "MainFrame.h"
#include "MessageText.h"
#include "Registry.h"

void PrepareProgramModule(HINSTANCE instance) {
    SetResourceModule(instance);
    InitHtmlHostModule(instance);
    INITCOMMONCONTROLSEX controls = {8, 0x2FF};
    ::InitCommonControlsEx(&controls);
}

void MarkStartStep(const char* step) {
    char text[96];
    wsprintfA(text, "Versilo start: %.60s\n", step);
    ::OutputDebugStringA(text);
}

bool ReadSavedPlacement(VoSavedPlacement* out) {
    RegKey key;
    if (OpenAppKey(key, HKEY_CURRENT_USER, "Position", kAppKeyRead) != ERROR_SUCCESS) return false;
    LONG values[5] = {};
    static const char* const names[5] = {"Left", "Top", "Rigth", "Bottom", "ShowCmd"};
    for (int i = 0; i < 5; ++i)
        if (!ReadRegInt(key.Get(), names[i], &values[i])) return false;
    out->rect = {values[0], values[1], values[2], values[3]};
    out->showCmd = static_cast<int>(values[4]);
    return true;
}

bool CreateAndPlaceMainWindow(VoMainWnd& frame, const char* commandLine, int showCmd) {
    RECT rect = {};
    const RECT* where = nullptr;
    VoSavedPlacement saved;
    if (::GetKeyState(VK_SHIFT) >= 0 && ReadSavedPlacement(&saved)) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (::GetMonitorInfoA(::MonitorFromRect(&saved.rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const VoSavedPlacement placed = PlaceOnWorkArea(saved, monitor.rcWork);
            rect = placed.rect;
            where = &rect;
            showCmd = placed.showCmd;
        }
    }
    if (!frame.CreateMain(where, commandLine)) return false;
    frame.UpdateSelectors(kVerseChanged | kChapterChanged | kBookChanged | kBibleChanged | kSelectionChanged);
    frame.UpdateSelectionCommands();
    ::ShowWindow(frame.Handle(), showCmd);
    ::UpdateWindow(frame.Handle());
    return true;
}

bool IsPlainSignKeyForEdit(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) return false;
    if (msg.wParam != VK_OEM_PLUS && msg.wParam != VK_OEM_MINUS) return false;
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    char cls[32] = "";
    if (!msg.hwnd || !::GetClassNameA(msg.hwnd, cls, sizeof cls)) return false;
    return lstrcmpiA(cls, "Edit") == 0 || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, cls, 8, "RichEdit", 8) == CSTR_EQUAL;
}

bool VoFrameAccelerators::PreTranslateMessage(MSG& msg) {
    if (IsPlainSignKeyForEdit(msg)) return false;
    return RyAcceleratorFilter::PreTranslateMessage(msg);
}
