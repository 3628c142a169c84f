#include "chart/ChartLibrary.h"

#include <bit>
#include <unordered_map>

namespace {

std::string StatusText(std::int32_t status) {
    switch (status) {
    case 1:
        return "unknown property pair";
    case 2:
        return "a value is not a finite number";
    case 3:
        return "barometric pressure out of range";
    case 4:
        return "outside the range of the moist-air properties";
    case 5:
        return "the state lies above saturation";
    case 6:
        return "the state lies below dry air";
    case 7:
        return "vapour pressure at or above the barometric pressure";
    case 8:
        return "the two properties fix no single state";
    case 9:
        return "no state meets the request";
    case 10:
        return "invalid mixing shares";
    case 11:
        return "the calculation did not converge";
    default:
        return "status " + std::to_string(status);
    }
}

enum class TField : std::uint8_t { DryBulb, WetBulb, Humidity, Enthalpy, DewPoint };

struct TKey {
    std::uint64_t P, X1, X2;
    std::int32_t Mode;
    TField Field;
    friend bool operator==(const TKey&, const TKey&) = default;
};

struct TKeyHash {
    std::size_t operator()(const TKey& k) const {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (const std::uint64_t v :
             {k.P, k.X1, k.X2,
              static_cast<std::uint64_t>(k.Mode) << 8 | static_cast<std::uint64_t>(k.Field)}) {
            h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
            h *= 0xBF58476D1CE4E5B9ull;
        }
        return static_cast<std::size_t>(h ^ (h >> 31));
    }
};

struct TResult {
    double Value;
    std::int32_t Status;
};

// A few pages' worth of states; past that the memo starts afresh.
constexpr std::size_t MemoLimit = 250000;

std::unordered_map<TKey, TResult, TKeyHash>& Memo() {
    static std::unordered_map<TKey, TResult, TKeyHash> memo;
    return memo;
}

// Bit patterns as keys: equal inputs give equal results, whatever their value.
TResult Lookup(TField field, double P, double x1, double x2, int mode) {
    const TKey key{std::bit_cast<std::uint64_t>(P), std::bit_cast<std::uint64_t>(x1),
                   std::bit_cast<std::uint64_t>(x2), mode, field};
    auto& memo = Memo();
    if (const auto it = memo.find(key); it != memo.end()) return it->second;
    double v = 0;
    switch (field) {
    case TField::DryBulb:
        v = ::DryBulb(P, x1, x2, mode);
        break;
    case TField::WetBulb:
        v = ::WetBulb(P, x1, x2, mode);
        break;
    case TField::Humidity:
        v = ::Humidity(P, x1, x2, mode);
        break;
    case TField::Enthalpy:
        v = ::Enthalpy(P, x1, x2, mode);
        break;
    case TField::DewPoint:
        v = ::DewPoint(P, x1, x2, mode);
        break;
    }
    const TResult r{v, PsyStatus()};
    if (memo.size() >= MemoLimit) memo.clear();
    memo.emplace(key, r);
    return r;
}

double Checked(TField field, double P, double x1, double x2, int mode) {
    const TResult r = Lookup(field, P, x1, x2, mode);
    if (r.Status != 0) throw ELibraryFailure(r.Status);
    return r.Value;
}

// The property library's highest dry bulb (°C). The oblique mapping slides states along their
// enthalpy lines down to the bottom edge, where the dry bulb of a humid state's enthalpy can lie far
// above it (350 °C for 91 °C at 0.1 kg/kg); beyond it the chart continues enthalpy linearly in the
// dry bulb with the humid specific heat of the top state, the same way in both directions.
constexpr double TopDryBulb = 200;

struct TTopKey {
    std::uint64_t P, W;
    friend bool operator==(const TTopKey&, const TTopKey&) = default;
};
struct TTopKeyHash {
    std::size_t operator()(const TTopKey& k) const { return std::hash<std::uint64_t>()(k.P * 31 + k.W); }
};
struct TTopState {
    bool Valid;
    double Enthalpy;
    double SpecificHeat;
};

TTopState TopState(double P, double W) {
    static std::unordered_map<TTopKey, TTopState, TTopKeyHash> memo;
    const TTopKey key{std::bit_cast<std::uint64_t>(P), std::bit_cast<std::uint64_t>(W)};
    if (const auto it = memo.find(key); it != memo.end()) return it->second;
    TAirState s;
    ::SetState(s, P, TopDryBulb, W, 2);
    const TTopState top{PsyStatus() == 0 && s.SpecificHeat > 0, s.Enthalpy, s.SpecificHeat};
    if (memo.size() >= MemoLimit) memo.clear();
    memo.emplace(key, top);
    return top;
}

void CheckStatus() {
    if (const std::int32_t status = PsyStatus(); status != 0) throw ELibraryFailure(status);
}

} // namespace

ELibraryFailure::ELibraryFailure(std::int32_t status)
    : std::runtime_error("Psychrometric calculation failed: " + StatusText(status))
    , FStatus(status) {}

namespace ChartLibrary {

double DryBulb(double P, double x1, double x2, int mode) {
    if (mode == 15) {
        double T;
        if (TryDryBulbFromEnthalpy(P, x1, x2, T)) return T;
        throw ELibraryFailure(Lookup(TField::DryBulb, P, x1, x2, mode).Status);
    }
    const TResult r = Lookup(TField::DryBulb, P, x1, x2, mode);
    if (r.Status == 0) return r.Value;
    if (mode == 9) {
        // Wet bulb and humidity beyond the top dry bulb: the adiabatic-saturation balance gives the
        // enthalpy, h = hs(b) - (Ws(b) - W)·cw·b, and the enthalpy the dry bulb.
        const double b = x1, W = x2;
        TAirState sat;
        ::SetState(sat, P, b, b, 0);
        double T;
        if (PsyStatus() == 0 &&
            TryDryBulbFromEnthalpy(P, sat.Enthalpy - (sat.Humidity - W) * 4.186 * b, W, T) && T > TopDryBulb)
            return T;
    }
    throw ELibraryFailure(r.Status);
}
double WetBulb(double P, double x1, double x2, int mode) {
    return Checked(TField::WetBulb, P, x1, x2, mode);
}
double Humidity(double P, double x1, double x2, int mode) {
    return Checked(TField::Humidity, P, x1, x2, mode);
}
double Enthalpy(double P, double x1, double x2, int mode) {
    double h;
    if (mode == 2 && TryEnthalpy(P, x1, x2, h)) return h;
    return Checked(TField::Enthalpy, P, x1, x2, mode);
}
double DewPoint(double P, double x1, double x2, int mode) {
    return Checked(TField::DewPoint, P, x1, x2, mode);
}

void SetState(TAirState& result, double P, double x1, double x2, int mode) {
    ::SetState(result, P, x1, x2, mode);
    CheckStatus();
}

void AirState(TAirState& result, const TAirState& state, int mode) {
    ::AirState(result, state, mode);
    CheckStatus();
}

void MixFlows(TAirState& result, const TAirState* streams, int highIndex) {
    ::MixFlows(result, streams, highIndex);
    CheckStatus();
}

double ApparatusDewPoint(const TAirState& inlet, const TAirState& outlet, double& bypassFactor) {
    const double adp = ::ApparatusDewPoint(inlet, outlet, bypassFactor);
    CheckStatus();
    return adp;
}

bool TryEnthalpy(double P, double T, double W, double& h) {
    const TResult r = Lookup(TField::Enthalpy, P, T, W, 2);
    h = r.Value;
    if (r.Status == 0) return true;
    if (T > TopDryBulb) {
        if (const TTopState top = TopState(P, W); top.Valid) {
            h = top.Enthalpy + top.SpecificHeat * (T - TopDryBulb);
            return true;
        }
    }
    return false;
}

bool TryDryBulbFromEnthalpy(double P, double h, double W, double& T) {
    const TResult r = Lookup(TField::DryBulb, P, h, W, 15);
    T = r.Value;
    if (r.Status == 0) return true;
    if (const TTopState top = TopState(P, W); top.Valid && h > top.Enthalpy) {
        T = TopDryBulb + (h - top.Enthalpy) / top.SpecificHeat;
        return true;
    }
    return false;
}

void ClearMemo() {
    Memo().clear();
}
std::size_t MemoSize() {
    return Memo().size();
}

} // namespace ChartLibrary
