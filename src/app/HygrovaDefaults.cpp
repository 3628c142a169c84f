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

double PressureOr(double value, double defaultValue) {
    return std::isfinite(value) && value > 0 ? value : defaultValue;
}

TChartRange ReadRangeText(const std::string& text) {
    const std::vector<double> numbers = ParseNumberList(text, ',');
    if (numbers.size() < 4) return DefaultRange;
    return TChartRange{numbers[0], numbers[1], numbers[2], numbers[3]};
}
