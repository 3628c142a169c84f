#pragma once
// The chart's range record and its "%0.4g,%0.4g,%0.4g,%0.4g" text form.

#include <string>
#include <string_view>

struct TChartRange {
    double TempLo = 0; // low dry bulb, °C
    double HumLo = 0;  // low humidity ratio, kg/kg
    double TempHi = 0; // high dry bulb, °C
    double HumHi = 0;  // high humidity ratio, kg/kg
};

// The first four numbers of a comma-separated text; fewer than four raise EConvertError.
TChartRange ParseRange(std::string_view text);
std::string FormatRange(const TChartRange& range);
