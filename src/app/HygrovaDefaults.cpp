#include "app/HygrovaDefaults.h"

#include "psychro/AirStateText.h"

#include <cmath>
#include <vector>

TZoomState ZoomStateOr(int value, TZoomState defaultValue) {
    return value >= zsZoomOther && value <= zsZoomToFit ? static_cast<TZoomState>(value) : defaultValue;
}

TPrintOrientation OrientationOr(int value, TPrintOrientation defaultValue) {
    return value == poPortrait || value == poLandscape ? static_cast<TPrintOrientation>(value) : defaultValue;
}

bool WithinFieldRange(double value, double lo, double hi) {
    return value >= lo - std::fabs(lo) * 0.005 && value <= hi + std::fabs(hi) * 0.005;
}

TChartRange ReadRangeText(const std::string& text) {
    const std::vector<double> numbers = ParseNumberList(text, ',');
    if (numbers.size() < 4) return DefaultRange;
    return TChartRange{numbers[0], numbers[1], numbers[2], numbers[3]};
}
