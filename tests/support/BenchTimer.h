// A stopwatch on the performance counter, and the median of timings, for the benchmark
// programs.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

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

// The median of values (the upper one of an even count); 0 for no values.
inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
