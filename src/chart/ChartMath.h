#pragma once
// Integer conversions and divisions with the semantics the chart's drawing rules are written in:
// Trunc cuts towards zero, Round halves to even, Div rounds towards zero. A value that has no integer
// (not finite, or beyond the 32-bit range of a page coordinate) and a division by zero raise
// EChartMathError, which the drawing step's guard catches.

#include <cmath>
#include <limits>
#include <stdexcept>

class EChartMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace ChartMath {

inline int CheckedInt(long double v) {
    if (!std::isfinite(v)) throw EChartMathError("Invalid floating point operation");
    if (v < static_cast<long double>(std::numeric_limits<int>::min()) ||
        v > static_cast<long double>(std::numeric_limits<int>::max()))
        throw EChartMathError("Invalid floating point operation");
    return static_cast<int>(v);
}

// Towards zero.
inline int Trunc(long double v) {
    return CheckedInt(std::trunc(v));
}

// Towards minus infinity.
inline int Floor(long double v) {
    return CheckedInt(std::floor(v));
}

// Nearest integer, halves to the even neighbour.
inline int Round(long double v) {
    if (!std::isfinite(v)) throw EChartMathError("Invalid floating point operation");
    return CheckedInt(std::nearbyint(v)); // the default rounding mode is to nearest, ties to even
}

// Integer division rounding towards zero (C++ already does); kept for the rules' wording.
inline int Div(int a, int b) {
    if (b == 0) throw EChartMathError("Division by zero");
    return a / b;
}

// Floating-point division that fails like the platform's does instead of producing inf or NaN.
inline long double FDiv(long double a, long double b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) throw EChartMathError("Invalid floating point operation");
        throw EChartMathError("Floating point division by zero");
    }
    const long double q = a / b;
    if (std::isinf(q) && std::isfinite(a) && std::isfinite(b))
        throw EChartMathError("Floating point overflow");
    return q;
}

} // namespace ChartMath
