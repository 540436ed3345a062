// VoViewer.exe: the program's start. One viewer runs at a time: a second start hands its
// command to the first and ends. The first one initialises the verse engine and then keeps
// an owner window in the notification area, made again after every shown verse, until the
// reader ends the program.
#include <windows.h>
#include "DataDirectories.h"
#include "Instance.h"
#include "MessageText.h"
#include "OwnerWnd.h"
#include "RyMessageLoop.h"
#include "ViewerApp.h"
#include "ViewerIds.h"
#include "ViewerPrompts.h"

namespace {

// A path shorter than this can't be the program's own: something is badly wrong.
constexpr DWORD kShortestOwnPath = 10;
// How long a second start tries to reach the running viewer's window (it may be starting,
// or between two verses).
constexpr DWORD kHandOverTimeout = 10000;

void TellInitFailure(AViewerPrompts& prompts, VoViewerInitResult result, const char* biblesDirectory) {
    const UINT id = result == kViewerNoBible ? kIdsNoBibles : result == kViewerNoList ? kIdsNoLists : kIdsInitFailed;
    ShowViewerMessage(prompts, nullptr, MB_OK | MB_ICONSTOP, id, biblesDirectory);
}

// The owner window's life: made, fed a first timer tick unless a start-up run waits, and
// made again after each verse until the reader ends the program.
void RunOwnerWindow(VoViewerOwnerWnd& owner, bool startup) {
    for (bool first = true;; first = false) {
        if (!owner.Create()) return;
        if (first && !(startup && owner.GetThreshold() > 0))
            PostMessageA(owner.Handle(), WM_TIMER, VOVIEWER_TIMER_MINUTE, 0);
        RyMessageLoop loop;
        loop.Run();
        // A quit message from elsewhere leaves the window standing: it ends the program too.
        if (owner.IsWindow()) {
            DestroyWindow(owner.Handle());
            return;
        }
        if (owner.ShouldExit()) return;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR commandLine, int) {
    SetResourceModule(module);
    VoViewerPrompts prompts;
    VoViewerApp app;
    char ownPath[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, ownPath, sizeof(ownPath)) < kShortestOwnPath) {
        ShowViewerMessage(prompts, nullptr, MB_OK | MB_ICONSTOP, kIdsViewerUnknownError);
        return 0;
    }
    char path[MAX_PATH];
    const ViewerCommand command = ParseViewerCommand(commandLine, path, sizeof(path));
    if (command == ViewerCommand::kFile) MakeFoundPathFull(path, sizeof(path));
    const bool startup = command == ViewerCommand::kStartup;
    if (startup && !app.GetSettings().autoStart) return 0;

    // The mutex first: whoever holds it is the one viewer. Any other start hands over its
    // command (a start-up run has none) and ends, unless the other viewer ended meanwhile.
    VoViewerInstance viewer;
    if (!viewer.IsFirst()) {
        if (startup) return 0;
        if (HandOverToRunningViewer(viewer, command, path, kHandOverTimeout) != HandOverResult::kBecameFirst)
            return 0;
    }

    const VoViewerInitResult init = app.Init();
    if (init != kViewerReady) {
        TellInitFailure(prompts, init, app.GetBiblesDirectory());
        return 0;
    }
    VoViewerOwnerWnd owner(app, prompts, startup, command == ViewerCommand::kFile ? path : nullptr);
    RunOwnerWindow(owner, startup);
    return 0;
}
