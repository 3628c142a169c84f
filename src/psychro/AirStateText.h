#pragma once
// Air states typed as "db/wb" text, their validation messages, and comma-separated number lists.

#include "psychro/Aerix43.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// An air state that cannot be made acceptable; carries the user-visible message.
class EAirStateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "25/17" (dry bulb / wet bulb, °C) or "25" (dry bulb at relative humidity phi0), at pressure P.
// A piece that is not a number raises EConvertError.
TAirState ParseStateText(std::string_view text, double phi0, double P);
// Grid-cell variant: wider dry-bulb limits, saturated cells (apparatus dew point), and a fallback
// to 50 % relative humidity; raises EAirStateError when even that fails.
void ParseTemperaturePair(std::string_view text, double& db, double& wb, bool saturated, double P);
// Empty when the state is acceptable, else the first message that applies.
std::string StateMessage(const TAirState& state);
// Format(fmt + "/" + fmt, dry bulb, wet bulb), for example "25.0/17.0".
std::string FormatStateText(const TAirState& state, std::string_view fmt);
// The same with both temperatures shown as value × factor + offset.
std::string FormatStateTextUnits(const TAirState& state, std::string_view fmt, double factor, double offset);
// Numbers separated by the delimiter; an empty piece raises EConvertError.
std::vector<double> ParseNumberList(std::string_view text, char delimiter);
