// The message loop of a program's GUI thread with one pre-translate chain: each message
// goes first to the filters (accelerator tables, modeless dialogs' IsDialogMessage), the
// one added last first, and is translated and dispatched only when none took it.
#pragma once
#include <windows.h>
#include <vector>

class RyMessageLoop;

class RyMessageFilter {
public:
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg) = 0;

protected:
    RyMessageFilter() = default;
    RyMessageFilter(const RyMessageFilter&) = delete;
    RyMessageFilter& operator=(const RyMessageFilter&) = delete;
    // A filter that dies leaves its loop's chain.
    virtual ~RyMessageFilter();

private:
    friend class RyMessageLoop;
    RyMessageLoop* loop_ = nullptr;
};

class RyMessageLoop {
public:
    RyMessageLoop() = default;
    RyMessageLoop(const RyMessageLoop&) = delete;
    RyMessageLoop& operator=(const RyMessageLoop&) = delete;
    ~RyMessageLoop();

    // A filter is in at most one loop; adding it again moves it to the front.
    void AddFilter(RyMessageFilter* filter);
    void RemoveFilter(RyMessageFilter* filter);
    // Runs the chain; true when a filter handled the message.
    bool PreTranslate(MSG& msg);
    // Runs until WM_QUIT; answers its exit code (-1 when GetMessage failed).
    int Run();

private:
    std::vector<RyMessageFilter*> filters_;  // null where a filter left during PreTranslate
    int running_ = 0;
};

// Translates the keys of an accelerator table into WM_COMMAND for one window.
class RyAcceleratorFilter : public RyMessageFilter {
public:
    RyAcceleratorFilter(HWND target, HACCEL table) : target_(target), table_(table) {}
    bool PreTranslateMessage(MSG& msg) override;

private:
    HWND target_;
    HACCEL table_;  // borrowed
};
