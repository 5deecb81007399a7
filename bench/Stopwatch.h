#pragma once
// Timing with the performance counter, and the median of several runs.
#include <windows.h>

#include <algorithm>
#include <vector>

namespace arc::bench {

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double ElapsedMs() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// The median of some times; 0 when there are none.
inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    if (n == 0) return 0;
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The median of the times of several runs of an action, in milliseconds;
// the preparation before each run is not timed.
template <class Action, class Prepare>
double MedianMs(int runs, Action&& action, Prepare&& prepare) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        Stopwatch watch;
        action();
        times.push_back(watch.ElapsedMs());
    }
    return Median(times);
}

template <class Action>
double MedianMs(int runs, Action&& action) {
    return MedianMs(runs, action, [] {});
}

}  // namespace arc::bench
