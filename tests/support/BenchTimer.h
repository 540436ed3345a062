// A stopwatch on the performance counter, for the benchmark programs.
#pragma once
#include <windows.h>

class BenchTimer {
public:
    BenchTimer() { QueryPerformanceFrequency(&freq_); Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(freq_.QuadPart);
    }

private:
    LARGE_INTEGER freq_, start_;
};
