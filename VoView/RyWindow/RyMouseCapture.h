// RyMouseCapture: the mouse capture of one window for a scope, as held by a press that
// tracks the mouse in a loop of its own. The capture goes back on every way out of the
// scope, but only when the window still holds it: releasing a capture that another window
// of the thread took since would steal it from that window.
#pragma once
#include <windows.h>

class RyMouseCapture {
public:
    explicit RyMouseCapture(HWND hwnd) : hwnd_(hwnd) {
        if (hwnd_) ::SetCapture(hwnd_);
    }
    ~RyMouseCapture() { Release(); }
    RyMouseCapture(const RyMouseCapture&) = delete;
    RyMouseCapture& operator=(const RyMouseCapture&) = delete;

    bool Held() const { return hwnd_ && ::GetCapture() == hwnd_; }
    void Release() {
        if (Held()) ::ReleaseCapture();
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_;
};
