// The main window in the tests of the frame: made over a host, brought up to date and shown
// as the program's start does it, at a fixed place.
#pragma once
#include <windows.h>
#include <memory>
#include "MainFrame.h"

// A new frame over host in *frame, its window made for commandLine and shown; the window, or
// null when it could not be made.
inline HWND OpenFrameOver(AVoBibleWindow* host, const char* commandLine, std::unique_ptr<VoMainWnd>* frame) {
    *frame = std::make_unique<VoMainWnd>(host);
    const RECT place = {20, 20, 1000, 700};
    const HWND hwnd = (*frame)->CreateMain(&place, commandLine);
    if (!hwnd) return nullptr;
    (*frame)->UpdateSelectors(kBibleChanged | kBookChanged | kChapterChanged | kVerseChanged | kSelectionChanged);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
}
