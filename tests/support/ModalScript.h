// Driving modal dialogs from inside their own loop: a thread timer runs the steps of a
// script one per tick, in whichever message loop of the thread is running. While a step
// runs, no further step starts (a message box it causes is closed by a MessageBoxCatcher),
// unless the step calls AllowNested before it opens a modal loop of its own, whose
// loop then runs the next steps. A
// watchdog ends every dialog of the thread when the script has not finished in time, so a
// missing message fails the test instead of hanging it.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    using Step = std::function<void()>;

    explicit ModalScript(std::vector<Step> steps, UINT tick = 40, DWORD limit = 20000)
        : steps_(std::move(steps)), limit_(limit) {
        s_current = this;
        started_ = GetTickCount();
        timer_ = SetTimer(nullptr, 0, tick, &Tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // The next steps may run inside the modal loop that the running step opens.
    static void AllowNested() {
        if (s_current) s_current->running_ = false;
    }

    bool Finished() const { return next_ >= steps_.size(); }
    bool TimedOut() const { return timedOut_; }

    // Every dialog window of this thread (the visible ones of the dialog class).
    static std::vector<HWND> ThreadDialogs() {
        std::vector<HWND> found;
        EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM list) {
        char name[16] = {};
        GetClassNameA(hwnd, name, sizeof(name));
        if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(hwnd))
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = s_current;
        if (!self) return;
        if (GetTickCount() - self->started_ > self->limit_) {
            self->timedOut_ = true;
            self->next_ = self->steps_.size();
            for (HWND dialog : ThreadDialogs()) EndDialog(dialog, -2);
            return;
        }
        // A step waits for a dialog on the screen: a modal dialog shows itself only once its
        // loop runs.
        if (self->running_ || self->next_ >= self->steps_.size() || ThreadDialogs().empty()) return;
        const size_t step = self->next_++;
        self->running_ = true;
        self->steps_[step]();
        self->running_ = false;
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD limit_;
    DWORD started_ = 0;
    bool timedOut_ = false;
    bool running_ = false;
    UINT_PTR timer_ = 0;
    static inline ModalScript* s_current = nullptr;
};

// Waits for a message box of this thread for a while, notes its text and closes it; used
// from a step while an action that shows one is still to come (armed before the action).
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        s_current = this;
        timer_ = SetTimer(nullptr, 0, 30, &Tick);
    }
    ~MessageBoxCatcher() {
        KillTimer(nullptr, timer_);
        s_current = nullptr;
    }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    const std::vector<std::string>& Texts() const { return texts_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MessageBoxCatcher* self = s_current;
        if (!self) return;
        for (HWND dialog : ModalScript::ThreadDialogs()) {
            const HWND text = GetDlgItem(dialog, 0xFFFF);  // a message box's text
            if (!text || GetDlgItem(dialog, 1021)) continue;
            char buffer[512] = {};
            GetWindowTextA(text, buffer, sizeof(buffer));
            self->texts_.push_back(buffer);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return;
        }
    }
    std::vector<std::string> texts_;
    UINT_PTR timer_ = 0;
    static inline MessageBoxCatcher* s_current = nullptr;
};
