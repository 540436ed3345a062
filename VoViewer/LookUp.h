// The hand-over of a verse to the main program: the look-up request ("<bible id>
// <reference>") goes by WM_COPYDATA to a running main window, or the main program is
// started with it as its command line.
#pragma once
#include <windows.h>

enum class LookUpRoute {
    kSent,     // a running main program took the request
    kStarted,  // the main program was started with it
    kFailed,   // neither (the text did not fit, the running program did not answer in time,
               // or the program could not be started)
};

// The look-up text: bible, a blank and reference, into text (size bytes); false when it
// does not fit.
bool MakeLookUpText(const char* bible, const char* reference, char* text, int size);
// The main program's command line: its path in quotes, a blank and text, into commandLine
// (size bytes); false when it does not fit.
bool MakeMainProgramCommandLine(const char* programPath, const char* text, char* commandLine, int size);
// Sends the look-up of reference in bible to the main program's window (wParam is from,
// the verse dialog) and brings that window to the front, or starts programPath with it.
LookUpRoute LookUpInVersilo(HWND from, const char* programPath, const char* bible, const char* reference);
