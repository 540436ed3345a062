// Helpers of the window-base tests: pumping the thread's messages for a while, and a
// watchdog that ends a modal loop or message loop which never ends by itself.
#pragma once
#include <windows.h>

inline void Pump(DWORD milliseconds = 0) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

// A thread timer that runs inside any message loop of the thread and calls onExpiry once.
class Watchdog {
public:
    using Expiry = void (*)();
    Watchdog(UINT milliseconds, Expiry onExpiry) {
        s_expiry = onExpiry;
        id_ = SetTimer(nullptr, 0, milliseconds, &Fire);
    }
    ~Watchdog() { KillTimer(nullptr, id_); }
    static bool Fired() { return s_fired; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        s_fired = true;
        if (s_expiry) s_expiry();
    }
    UINT_PTR id_;
    static inline Expiry s_expiry = nullptr;
    static inline bool s_fired = false;
};
