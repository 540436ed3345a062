// TickClock: where the text window reads the time of presses and auto-scroll steps, so
// that tests can run the timing of its modal loops on a clock of their own.
#pragma once
#include <windows.h>

class TickClock {
public:
    virtual DWORD Now() const = 0;

protected:
    ~TickClock() = default;
};

// The system's tick count.
class SystemTickClock final : public TickClock {
public:
    DWORD Now() const override { return ::GetTickCount(); }
};
