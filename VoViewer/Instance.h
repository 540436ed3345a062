// The viewer's command line and its instance protocol: one viewer runs at a time, holding a
// named mutex for its whole life; a second start finds the first one's owner window and
// hands it the list path of its command line (WM_COPYDATA) or asks it to show the verse now
// (WM_USER), and ends.
#pragma once
#include <windows.h>
#include "Handles.h"

enum class ViewerCommand {
    kShow,     // empty: show a verse at once
    kStartup,  // "-Startup" (any letter case, only its first 8 characters compared)
    kFile,     // a list path
};

// Reads the command line (without the program): blanks around it are ignored and one pair
// of quotes around a path removed. The path (kFile) goes into path, cut to size - 1.
ViewerCommand ParseViewerCommand(const char* commandLine, char* path, int size);

// A list path of the command line, as this start's own folder names it: the full path when
// a file is there, so that a running viewer, whose folder may be another, finds the same
// file; otherwise it stays as typed (and the viewer tells that it does not exist).
void MakeFoundPathFull(char* path, int size);

// The text a WM_COPYDATA carries into buffer (size bytes): at most size - 1 bytes, up to the
// first NUL, always terminated. False when the message carries no usable text (no record,
// or a null pointer with a length).
bool CopyDataText(const COPYDATASTRUCT* data, char* buffer, int size);

// The named mutex that marks the running viewer.
class VoViewerInstance {
public:
    VoViewerInstance();
    ~VoViewerInstance();
    VoViewerInstance(const VoViewerInstance&) = delete;
    VoViewerInstance& operator=(const VoViewerInstance&) = delete;

    // True when this process holds the mutex: it is the running viewer.
    bool IsFirst() const { return owned_; }
    // Tries once more to take the mutex (a viewer that ended leaves it free).
    bool TryTakeOver();

private:
    KernelHandle mutex_;
    bool owned_ = false;
};

// The owner window of the running viewer, or null.
HWND FindViewerWindow();

// Hands a second start's command to the running viewer: the list path by WM_COPYDATA, or
// the request to show the verse now. Does not wait longer than timeout milliseconds for a
// viewer that does not answer. True when the viewer took it.
bool HandOverToViewer(HWND viewer, ViewerCommand command, const char* path, DWORD timeout);

enum class HandOverResult {
    kHandedOver,   // the running viewer took the command
    kBecameFirst,  // the other viewer ended meanwhile: this start holds the mutex now
    kGaveUp,       // no window of the running viewer answered within the time
};
// Hands the command to the running viewer within timeout milliseconds. Its owner window is
// missing while it starts and made anew after every verse, so a window that is not there,
// or that went away before it answered, is looked for again.
HandOverResult HandOverToRunningViewer(VoViewerInstance& instance, ViewerCommand command, const char* path,
                                       DWORD timeout);
