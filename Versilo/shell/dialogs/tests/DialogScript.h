// Driving a modal dialog from inside its own loop in a test: a thread timer finds the
// dialog this thread shows and runs a script on it (typing, choosing, pressing), and a
// watchdog ends a dialog that the script never closes; and its screenshot.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "DialogDriving.h"
#include "TestWindows.h"
#include "WindowCapture.h"

// Runs open (which shows a modal dialog and answers its result) with script run once on
// the dialog from a timer of its loop. The script closes the dialog; when it does not, the
// watchdog ends it with -2 after timeoutMs and the test fails.
class DialogScript {
public:
    using Script = std::function<void(HWND)>;
    template <class Open>
    static INT_PTR Run(Open open, Script script, UINT timeoutMs = 20000) {
        static const BOOL controls = [] {
            INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
            return InitCommonControlsEx(&icc);
        }();
        (void)controls;
        Current() = std::move(script);
        ran_ = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Fire);
        INT_PTR result;
        {
            Watchdog watchdog(timeoutMs, &Expire);
            result = open();
        }
        KillTimer(nullptr, timer);
        EXPECT_TRUE(ran_) << "the script never ran";
        EXPECT_FALSE(Watchdog::Fired()) << "the dialog was left open";
        return result;
    }

private:
    static Script& Current() {
        static Script script;
        return script;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = ThreadDialog();
        if (!dialog || ran_) return;
        KillTimer(nullptr, id);
        ran_ = true;
        Current()(dialog);
    }
    static void Expire() {
        if (HWND dialog = ThreadDialog()) EndDialog(dialog, -2);
    }
    static inline bool ran_ = false;
};

// Saves the dialog as build/ARCH/tests/artifacts/NAME.bmp.
inline bool SaveDialogArtifact(HWND dialog, const char* name) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(100);
    return Capture::Of(dialog, true).SaveArtifact(std::string(name) + ".bmp");
}
