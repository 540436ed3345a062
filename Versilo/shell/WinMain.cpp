// The whole life of Versilo.exe: the process's facilities, the bible panes' host and the
// main window, the one message loop, and the teardown in a fixed order.
#include <windows.h>
#include <ole2.h>
#include <memory>
#include <optional>
#include "BibleWindowHost.h"
#include "FrameIds.h"
#include "FrameStart.h"
#include "Handles.h"
#include "MainFrame.h"
#include "MessageText.h"
#include "OleHandles.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCmd) {
    PrepareProgramModule(instance);

    MarkStartStep("WinMain");
    ModuleHandle richEdit(::LoadLibraryA("RICHED20.DLL"));
    if (!richEdit) return 1;
    std::optional<OleInitialization> ole;
    ole.emplace();
    if (!ole->Ok()) return 1;

    ComPtr<AVoBibleWindow> host = VoBibleWindowHost::Create();
    if (!host) return 1;
    auto frame = std::make_unique<VoMainWnd>(host.Get());
    MarkStartStep("frame constructed (bible, commentary and library lists)");
    if (frame->GetBibleList()->GetCount() == 0) {
        char text[kTextCapacity];
        VoMessageBox(nullptr, LoadResString(text, frame_id::kIdsNoBibles), MB_ICONHAND);
        return 0;
    }
    if (!CreateAndPlaceMainWindow(*frame, commandLine ? commandLine : "", showCmd)) return 0;

    MarkStartStep("main window shown");
    RyMessageLoop loop;
    VoFrameAccelerators accelerators(frame->Handle(),
                                     ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(frame_id::kAccelerators)));
    loop.AddFilter(&accelerators);
    loop.Run();

    // Copied verses stay on the clipboard after the program ends: the data goes into the
    // clipboard itself while the data source still owns it, before OLE is shut down.
    ::OleFlushClipboard();
    ole.reset();
    frame.reset();
    host.Reset();
    return 1;
}
