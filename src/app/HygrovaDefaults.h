#pragma once
// The chart set-up values that the settings store and the chart data file share: their defaults,
// and the checks that turn a stored value the window cannot use into the default.

#include "platform/PreviewLayout.h"
#include "platform/TCanvas.h"
#include "psychro/ChartRange.h"

#include <string>

inline constexpr TColor DefaultBackground = 16051937;
inline constexpr double DefaultPressure = 101.325;
inline constexpr const char* DefaultRangeText = "0,0,45,0.03";
inline constexpr TChartRange DefaultRange{0, 0, 45, 0.03};

// A stored zoom mode or orientation outside the known values gives the default.
TZoomState ZoomStateOr(int value, TZoomState defaultValue);
TPrintOrientation OrientationOr(int value, TPrintOrientation defaultValue);
// True when a stored value lies within a field's bounds as the field's own range check would
// keep it (0.5 % tolerance); false for NaN.
bool WithinFieldRange(double value, double lo, double hi);

// The four-number range text. A number that does not parse raises EConvertError
// "'<text>' is not a valid floating point value"; a text with fewer than four numbers gives the
// default range.
TChartRange ReadRangeText(const std::string& text);
