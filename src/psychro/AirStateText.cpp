#include "psychro/AirStateText.h"

#include "psychro/Format.h"
#include "psychro/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace {

constexpr int ModeTb = 0; // dry bulb, wet bulb
constexpr int ModeTf = 3; // dry bulb, relative humidity

constexpr double DryBulbMin = -60;
constexpr double StateDryBulbMax = 99;
constexpr double CellDryBulbMax = 150;

// The message of a state that failed in the library without breaking one of the field rules.
constexpr const char* BadData = "Bad data...";

// The wet bulb at 50 % relative humidity, or nothing when the library cannot give it.
std::optional<double> HalfHumidityWetBulb(double P, double db) {
    try {
        const double wb = WetBulb(P, db, 0.5, ModeTf);
        if (PsyStatus() == 0 && std::isfinite(wb)) return wb;
    } catch (const std::runtime_error&) {
    }
    return std::nullopt;
}

std::string MessageOf(double P, double db, double wb) {
    TAirState s;
    s.Pressure = P;
    s.DryBulb = db;
    s.WetBulb = wb;
    const std::string message = StateMessage(s);
    return message.empty() ? BadData : message;
}

} // namespace

TAirState ParseStateText(std::string_view text, double phi0, double P) {
    double db = 0;
    double wb = 0;
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) {
        db = std::clamp(StrToFloat(text), DryBulbMin, StateDryBulbMax);
        wb = WetBulb(P, db, phi0, ModeTf);
    } else {
        db = StrToFloat(text.substr(0, slash));
        wb = StrToFloat(text.substr(slash + 1));
        db = std::clamp(db, DryBulbMin, StateDryBulbMax);
        wb = std::min(wb, db);
        wb = std::max(wb, WetBulb(P, db, 0.01, ModeTf));
    }
    TAirState state;
    SetState(state, P, db, wb, ModeTb);
    return state;
}

void ParseTemperaturePair(std::string_view text, double& db, double& wb, bool saturated, double P) {
    // db and wb are assigned only at the end, so a failure leaves them as they were.
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) {
        const double t = std::clamp(StrToFloat(text), DryBulbMin, CellDryBulbMax);
        double b = t;
        if (!saturated) {
            // Above about 120 °C no air at 50 % exists at normal pressures.
            const auto half = HalfHumidityWetBulb(P, t);
            if (!half) throw EAirStateError(MessageOf(P, t, t));
            b = *half;
        }
        db = t;
        wb = b;
        return;
    }
    const double t = std::clamp(StrToFloat(text.substr(0, slash)), DryBulbMin, CellDryBulbMax);
    double b = StrToFloat(text.substr(slash + 1));
    if (saturated) b = t;

    TAirState s;
    s.Pressure = P;
    s.DryBulb = t;
    s.WetBulb = b;
    std::string message;
    try {
        SetState(s, P, t, b, ModeTb);
        // A failed state holds no temperatures; the message then speaks of the typed ones.
        message = PsyStatus() != 0 ? MessageOf(P, t, b) : StateMessage(s);
    } catch (const std::runtime_error&) {
        message = MessageOf(P, t, b);
    }
    if (!message.empty()) {
        // Keep the dry bulb and fall back to 50 % relative humidity.
        ResetReferenceState();
        const auto half = HalfHumidityWetBulb(P, t);
        if (!half) throw EAirStateError(message);
        b = *half;
    }
    db = t;
    wb = b;
}

std::string StateMessage(const TAirState& state) {
    if (state.DryBulb > 99) return "Dry bulb too high...";
    if (state.WetBulb > 99) return "Wet bulb too high...";
    if (state.DryBulb < -60) return "Dry bulb too low...";
    if (state.WetBulb < -60) return "Wet bulb too low...";
    // The margin lets a typed "25/25.1" pass although 25.1 - 25 is a little above 0.1 in binary.
    if (state.WetBulb - state.DryBulb > 0.1 + 1e-9) return "Wet Bulb > Dry Bulb \u00b0C...";
    if (state.RelHumidity < -0.01) return "Low Relative Humidity...";
    if (state.RelHumidity > 1.01) return "High Relative Humidity...";
    if (state.Humidity < -0.00001) return "Absolute Humidity < 0 g/kg...";
    // Fields that are not numbers pass every comparison above.
    const bool finite = std::isfinite(state.DryBulb) && std::isfinite(state.WetBulb) &&
                        std::isfinite(state.RelHumidity) && std::isfinite(state.Humidity);
    if (PsyStatus() != 0 || !finite) return BadData;
    return {};
}

std::string FormatStateText(const TAirState& state, std::string_view fmt) {
    return FormatStateTextUnits(state, fmt, 1, 0);
}

std::string FormatStateTextUnits(const TAirState& state, std::string_view fmt, double factor, double offset) {
    std::string pattern(fmt);
    pattern += '/';
    pattern += fmt;
    return Format(pattern, {state.DryBulb * factor + offset, state.WetBulb * factor + offset});
}

std::vector<double> ParseNumberList(std::string_view text, char delimiter) {
    std::vector<double> numbers;
    std::string rest = Trim(text);
    for (auto pos = rest.find(delimiter); pos != std::string::npos; pos = rest.find(delimiter)) {
        numbers.push_back(StrToFloat(std::string_view(rest).substr(0, pos)));
        rest = Trim(std::string_view(rest).substr(pos + 1));
    }
    if (!rest.empty()) numbers.push_back(StrToFloat(rest));
    return numbers;
}
