// Real text windows for the input tests: made on a clock the test sets, with helpers to set
// the modifier keys and buttons of the thread's key state, to place the cursor, to read the
// selection, and a watchdog that ends a modal loop that waits for a message that never comes.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "TextWindowHost.h"
#include "TickClock.h"
#include "VirtualListViewCtrl.h"

// The time the window reads, set by the test.
class ScriptClock final : public TickClock {
public:
    DWORD Now() const override { return now; }
    DWORD now = 0;
};

inline ScriptClock& TestClock() {
    static ScriptClock clock;
    return clock;
}

inline HWND WINAPI CreateOnTestClock(HWND parent, IVoItemServer* server, IVoBibleTextWindowSink* sink,
                                     const RECT* rect, UINT id) {
    return RyVirtualListViewCtrl::CreateTextWindow(parent, server, sink, rect, id, &TestClock());
}

// Sets keys of this thread's key state (what GetKeyState reads; posted key messages do not
// change it).
inline void SetKeys(std::initializer_list<std::pair<int, bool>> keys) {
    BYTE state[256];
    GetKeyboardState(state);
    for (const auto& k : keys) state[k.first] = k.second ? 0x80 : 0;
    SetKeyboardState(state);
}
inline void SetModifiers(bool shift, bool ctrl) { SetKeys({{VK_SHIFT, shift}, {VK_CONTROL, ctrl}}); }

// A thread timer for a scope: proc runs from whatever loop dispatches messages then.
class ThreadTimer {
public:
    ThreadTimer(UINT ms, TIMERPROC proc) : id_(SetTimer(nullptr, 0, ms, proc)) {}
    ~ThreadTimer() { KillTimer(nullptr, id_); }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    UINT_PTR id_;
};

// Ends a press, band or drag that waits too long: takes the capture away and presses both
// buttons (which cancels a drag). Fired() tells the test that a message never came.
class Watchdog {
public:
    explicit Watchdog(UINT ms = 4000) : timer_(ms, &Fire) { fired() = false; }
    ~Watchdog() { SetKeys({{VK_LBUTTON, false}, {VK_RBUTTON, false}}); }
    static bool Fired() { return fired(); }

private:
    static bool& fired() {
        static bool f = false;
        return f;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        fired() = true;
        ReleaseCapture();
        SetKeys({{VK_LBUTTON, true}, {VK_RBUTTON, true}});
    }
    ThreadTimer timer_;
};

class TextInputTest : public TextWindowTest {
protected:
    static constexpr int kItemH = 20;  // the test server's default height

    void SetUp() override {
        ASSERT_NE(nullptr, host_);
        create_ = &CreateOnTestClock;
        notifications().clear();
        TestClock().now = 0;
        SetKeys({{VK_SHIFT, false}, {VK_CONTROL, false}, {VK_LBUTTON, false}, {VK_RBUTTON, false}});
        ParkCursor(host_, {kClientW + 200, kClientH + 100});  // off the text windows
    }
    void TearDown() override {
        SetKeys({{VK_SHIFT, false}, {VK_CONTROL, false}, {VK_LBUTTON, false}, {VK_RBUTTON, false}});
        TextWindowTest::TearDown();
    }

    // A focused text window of count items over the host, with nothing heard yet.
    HWND Make(int count, const RECT* rect = nullptr) {
        server_.SetCount(count);
        HWND hwnd = Create(rect);
        server_.window = hwnd;
        SetFocus(hwnd);
        Pump();
        sink_.events.clear();
        server_.calls.clear();
        return hwnd;
    }

    static POINT ItemPoint(int item, int x = 100) { return {x, item * kItemH + kItemH / 2}; }
    static LPARAM At(POINT pt) { return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)); }

    // Puts the cursor over a client point of hwnd and lets the moves it makes pass.
    static void ParkCursor(HWND hwnd, POINT pt) {
        ClientToScreen(hwnd, &pt);
        SetCursorPos(pt.x, pt.y);
        Sleep(20);
        Pump();
    }

    static std::vector<int> Selected(HWND hwnd) {
        std::vector<int> items;
        for (int i = 0; Send(hwnd, TWM_ISSELECTED, static_cast<WPARAM>(i)) >= 0; ++i)
            if (Send(hwnd, TWM_ISSELECTED, static_cast<WPARAM>(i)) == 1) items.push_back(i);
        return items;
    }
    static int Caret(HWND hwnd) { return static_cast<int>(Send(hwnd, TWM_GETCARET)); }
};
