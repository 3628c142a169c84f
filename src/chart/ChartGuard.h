#pragma once
// Failure containment of the chart's drawing steps: a failure ends the step that raised it and the
// page goes on with the next one. Lines drawn before the failure stay on the page.

#include "chart/ChartMath.h"

#include <exception>

template <class Step>
void ChartGuard(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
        // The step ends here; nothing is reported.
    }
}

// Bounds a tracing loop whose step could fail to advance (a zero, negative or not-a-number step, or
// a value so large that adding the step leaves it unchanged): the step fails instead of hanging.
class TLoopGuard {
public:
    static constexpr int MaxPasses = 100000;
    void Next() {
        if (++FPasses > MaxPasses) throw EChartMathError("Chart line does not end");
    }

private:
    int FPasses = 0;
};
