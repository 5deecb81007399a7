#pragma once
// A value axis for a chart drawn with report controls: round steps (1, 2,
// 2.5 or 5 times a power of ten) from a low end to a high end that cover the
// values, and where a value lands between two positions in twips.
#include <vector>

namespace arc::report {

struct ValueAxis {
    double low = 0, high = 1, step = 1;

    // low, low + step, ..., high.
    std::vector<double> Ticks() const;
    // The position of a value, from bottom at low to top at high (a page's
    // twips grow downwards, so top < bottom).
    int Position(double value, int bottom, int top) const;
};

// An axis over min..max in at most maxSteps round steps.  Equal ends are
// widened around their value, so that the axis always has a length; values
// that are not finite count as 0.
ValueAxis RoundAxis(double min, double max, int maxSteps = 5);

}  // namespace arc::report
