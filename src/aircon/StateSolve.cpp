#include "aircon/StateSolve.h"

#include "aircon/FloatCheck.h"
#include "aircon/TxAirconItems.h"
#include "psychro/AirStateText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int CheckedFields = 11; // pressure .. specific heat

TAirState SolveChecked(double P, double x1, double x2, int mode, const char* prefix) {
    TAirState s = SolveState(P, x1, x2, mode);
    if (const std::string message = StateMessage(s); !message.empty()) throw EAirconError(prefix + message);
    return s;
}

} // namespace

bool IsFiniteState(const TAirState& state) {
    for (int i = 0; i < CheckedFields; ++i)
        if (!std::isfinite(state[i])) return false;
    return true;
}

TAirState SolveState(double P, double x1, double x2, int mode) {
    if (!std::isfinite(P) || !std::isfinite(x1) || !std::isfinite(x2))
        throw EMathError(FloatMessages::InvalidOp);
    TAirState s;
    SetState(s, P, x1, x2, mode);
    if (!IsFiniteState(s)) throw EMathError(FloatMessages::InvalidOp);
    return s;
}

TAirState SolveOutlet(double P, double x1, double x2, int mode) {
    return SolveChecked(P, x1, x2, mode, "Outlet ");
}

TAirState SolveADPState(double P, double x1, double x2, int mode) {
    return SolveChecked(P, x1, x2, mode, "ADP ");
}

std::string CheckedStateMessage(const TAirState& state) {
    if (!IsFiniteState(state)) return "Bad data...";
    bool solved = true;
    try {
        TAirState probe;
        SetState(probe, state.Pressure, state.DryBulb, state.WetBulb, 0);
    } catch (const std::exception&) {
        solved = false;
    }
    std::string message = StateMessage(state);
    if (message.empty() && !solved) message = "Bad data...";
    return message;
}

double LineHumidityAt(const TAirState& A, const TAirState& B, double x) {
    if (!(std::fabs(B.DryBulb - A.DryBulb) >= 0.1)) return -99;
    const double t = (x - A.DryBulb) / (B.DryBulb - A.DryBulb);
    return 0.01 < t && t < 0.99 ? A.Humidity + (B.Humidity - A.Humidity) * t : -99;
}

double LineDryBulbAt(const TAirState& A, const TAirState& B, double y) {
    if (!(std::fabs(B.Humidity - A.Humidity) >= 0.0001)) return -99;
    const double t = (y - A.Humidity) / (B.Humidity - A.Humidity);
    return 0.01 < t && t < 0.99 ? A.DryBulb + (B.DryBulb - A.DryBulb) * t : -99;
}

void ErasePoint(std::vector<TPsyPoint*>& list, const TPsyPoint* point) {
    if (const auto at = std::ranges::find(list, point); at != list.end()) list.erase(at);
}
