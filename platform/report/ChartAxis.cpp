#include "ChartAxis.h"

#include <algorithm>
#include <cmath>

namespace arc::report {

std::vector<double> ValueAxis::Ticks() const {
    std::vector<double> ticks;
    long steps = std::lround((high - low) / step);
    for (long i = 0; i <= steps; ++i) ticks.push_back(low + static_cast<double>(i) * step);
    return ticks;
}

int ValueAxis::Position(double value, int bottom, int top) const {
    double share = (value - low) / (high - low);
    return bottom - static_cast<int>(std::lround(share * (bottom - top)));
}

ValueAxis RoundAxis(double min, double max, int maxSteps) {
    if (!std::isfinite(min)) min = 0;
    if (!std::isfinite(max)) max = 0;
    if (min > max) std::swap(min, max);
    maxSteps = std::max(1, maxSteps);
    if (max == min) {
        double pad = max == 0 ? 1 : std::fabs(max) / 10;
        min -= pad;
        max += pad;
    }
    double raw = (max - min) / maxSteps;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    // The smallest round step whose whole multiples around the values take
    // no more than maxSteps steps.
    for (int round = 0; round < 4; ++round, power *= 10) {
        for (double m : {1.0, 2.0, 2.5, 5.0}) {
            double step = m * power;
            double low = std::floor(min / step) * step, high = std::ceil(max / step) * step;
            if (std::lround((high - low) / step) <= maxSteps) return ValueAxis{low, high, step};
        }
    }
    return ValueAxis{min, max, max - min};
}

}  // namespace arc::report
