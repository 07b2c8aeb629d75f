#pragma once
// A small timing harness: repeated runs, the median, and one line per figure with its target.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Median wall time in milliseconds of `runs` calls of `work` (after one warm-up call).
inline double medianMs(int runs, const std::function<void()>& work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figure {
    std::string name;
    double value;
    std::string unit;
    double target;  // < 0: no target, the figure is for information
    bool lowerIsBetter = true;
};

inline std::vector<Figure>& figures()
{
    static std::vector<Figure> all;
    return all;
}

inline void report(const std::string& name, double value, const std::string& unit, double target = -1)
{
    figures().push_back({name, value, unit, target});
    if (target < 0)
        std::printf("  %-62s %10.2f %s\n", name.c_str(), value, unit.c_str());
    else
        std::printf("  %-62s %10.2f %s   target <= %.2f %s   %s\n", name.c_str(), value, unit.c_str(), target,
                    unit.c_str(), value <= target ? "met" : "MISSED");
    std::fflush(stdout);
}

inline void section(const char* title)
{
    std::printf("\n%s\n", title);
    std::fflush(stdout);
}

// Figures reported so far that missed their target.
int missedTargets();

// Resident memory of this process in MB.
double residentMegabytes();

// Lets the windows handle what is pending (layout, painting, the window manager) for `ms`, as the
// screen would have settled before the user starts the next command.
void settleScreen(int ms);

}  // namespace bench
