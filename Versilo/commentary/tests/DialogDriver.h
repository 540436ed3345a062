// Drives this thread's modal dialogs and message boxes from a thread timer inside their own
// loops: each tick the enabled dialog on top (a message box disables the dialog under it)
// goes to the next step. A watchdog cancels every dialog of the thread after too many
// ticks, so a missing window fails the test instead of hanging it. Given a list of extras,
// every dialog that shows after the last step is noted there ("title: text") and cancelled,
// so a test counts the boxes it did not expect.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

class DialogDriver {
public:
    // A step gets the dialog and its title; it answers false to be called again next tick
    // (the window it expects is not there yet).
    using Step = std::function<bool(HWND dialog, const std::string& title)>;

    explicit DialogDriver(std::vector<Step> steps, std::vector<std::string>* extras = nullptr)
        : steps_(std::move(steps)), extras_(extras) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        EXPECT_EQ(steps_.size(), next_) << "steps left undone";
        EXPECT_FALSE(timedOut_) << "the watchdog cancelled the dialogs";
    }

    // The text of a message box's text control.
    static std::string MessageText(HWND box) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        return text;
    }
    static void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

private:
    static BOOL CALLBACK Find(HWND window, LPARAM found) {
        char name[32];
        if (GetClassNameA(window, name, sizeof name) && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) &&
            IsWindowEnabled(window))
            *reinterpret_cast<HWND*>(found) = window;
        return TRUE;
    }
    static BOOL CALLBACK Cancel(HWND window, LPARAM) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* d = current_;
        if (!d || d->busy_) return;
        if (++d->ticks_ > 200) {
            d->timedOut_ = true;
            EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::Cancel, 0);
            return;
        }
        if (d->next_ >= d->steps_.size() && !d->extras_) return;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::Find, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        char title[256] = {};
        GetWindowTextA(dialog, title, sizeof title);
        if (d->next_ >= d->steps_.size()) {
            d->extras_->push_back(std::string(title) + ": " + MessageText(dialog));
            Press(dialog, IDCANCEL);
            return;
        }
        d->busy_ = true;  // a step may run a nested loop (a message box it shows)
        if (d->steps_[d->next_](dialog, title)) ++d->next_;
        d->busy_ = false;
    }

    static inline DialogDriver* current_ = nullptr;
    std::vector<Step> steps_;
    std::vector<std::string>* extras_;
    size_t next_ = 0;
    int ticks_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
    UINT_PTR timer_ = 0;
};
