#include "psychro/ChartRange.h"

#include "psychro/AirStateText.h"
#include "psychro/Format.h"

TChartRange ParseRange(std::string_view text) {
    const std::vector<double> numbers = ParseNumberList(text, ',');
    if (numbers.size() < 4) throw EConvertError("'" + std::string(text) + "' is not a valid chart range");
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::string FormatRange(const TChartRange& range) {
    return Format("%0.4g,%0.4g,%0.4g,%0.4g", {range.TempLo, range.HumLo, range.TempHi, range.HumHi});
}
