// Speed of the property library: SetState for every input pair at a typical room state, the AirState
// path of the inspectors, and the scalar calls with which the chart traces its lines.

#include "psychro/Aerix43.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr double Patm = 101.325;

// 25 °C dry bulb, 17 °C wet bulb at sea level.
TAirState TypicalState() {
    TAirState s;
    SetState(s, Patm, 25, 17, 0);
    return s;
}

void BM_SetState(benchmark::State& state) {
    const TPsyModePair& m = PsyModePairs[state.range(0)];
    const TAirState ref = TypicalState();
    const double x1 = ref[m.First], x2 = ref[m.Second];
    TAirState r;
    for (auto _ : state) {
        SetState(r, ref.Pressure, x1, x2, m.Mode);
        benchmark::DoNotOptimize(r);
    }
    if (PsyStatus() != psOk) state.SkipWithError("SetState failed");
    state.SetLabel("mode " + std::to_string(m.Mode));
}
BENCHMARK(BM_SetState)->DenseRange(0, int(std::size(PsyModePairs)) - 1);

void BM_AirStateMode0(benchmark::State& state) {
    const TAirState ref = TypicalState();
    TAirState r;
    for (auto _ : state) {
        AirState(r, ref, 0);
        benchmark::DoNotOptimize(r);
    }
    if (PsyStatus() != psOk) state.SkipWithError("AirState failed");
}
BENCHMARK(BM_AirStateMode0);

// States across the default chart (−5..45 °C, 10..90 % RH), visited in turn as a redraw does.
std::vector<TAirState> ChartStates() {
    std::vector<TAirState> states;
    for (int i = 0; i < 64; ++i) {
        TAirState s;
        SetState(s, Patm, -5 + 50.0 * (i % 16) / 15, 0.1 + 0.8 * (i / 16) / 3, 3);
        states.push_back(s);
    }
    return states;
}

// One scalar call of the chart with its arguments taken from a state (W0: the bottom edge's
// humidity ratio, 0 on the default chart).
enum TChartCall {
    ccEnthalpyTW, // page mapping: Enthalpy(P, t, W, 2)
    ccDryBulbHW,  // page mapping: DryBulb(P, h, W0, 15)
    ccHumidityTF, // RH curves every 0.05 K: Humidity(P, t, RH, 3)
    ccDryBulbWF,  // RH curves at the edges: DryBulb(P, W, RH, 25)
    ccDewPointWF, // RH labels: DewPoint(P, W, RH, 25)
    ccWetBulbTW,  // wet-bulb lines: WetBulb(P, t, W, 2)
    ccDryBulbBW,  // wet-bulb lines: DryBulb(P, b, W, 9)
    ccHumidityTB, // wet-bulb lines: Humidity(P, t, b, 0)
};

double ChartCall(TChartCall call, const TAirState& s) {
    switch (call) {
    case ccEnthalpyTW:
        return Enthalpy(Patm, s.DryBulb, s.Humidity, 2);
    case ccDryBulbHW:
        return DryBulb(Patm, s.Enthalpy, 0, 15);
    case ccHumidityTF:
        return Humidity(Patm, s.DryBulb, s.RelHumidity, 3);
    case ccDryBulbWF:
        return DryBulb(Patm, s.Humidity, s.RelHumidity, 25);
    case ccDewPointWF:
        return DewPoint(Patm, s.Humidity, s.RelHumidity, 25);
    case ccWetBulbTW:
        return WetBulb(Patm, s.DryBulb, s.Humidity, 2);
    case ccDryBulbBW:
        return DryBulb(Patm, s.WetBulb, s.Humidity, 9);
    case ccHumidityTB:
        return Humidity(Patm, s.DryBulb, s.WetBulb, 0);
    }
    return 0;
}

void BM_ChartScalar(benchmark::State& state) {
    const auto call = static_cast<TChartCall>(state.range(0));
    const std::vector<TAirState> states = ChartStates();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ChartCall(call, states[i]));
        i = (i + 1) % states.size();
    }
    if (PsyStatus() != psOk) state.SkipWithError("scalar call failed");
    static const char* const labels[] = {"Enthalpy tw", "DryBulb hw (W 0)", "Humidity tf", "DryBulb wf",
                                         "DewPoint wf", "WetBulb tw",       "DryBulb bw",  "Humidity tb"};
    state.SetLabel(labels[call]);
}
BENCHMARK(BM_ChartScalar)->DenseRange(ccEnthalpyTW, ccHumidityTB);

// The library's share of the default chart's relative-humidity curves (−5..45 °C, 0..0.03 kg/kg,
// the bulk of a redraw): each of the nine curves every 0.05 K up to the top edge, and every point
// placed on the page through its enthalpy and the dry bulb of that enthalpy on the bottom edge.
void BM_ChartRHCurves(benchmark::State& state) {
    int points = 0;
    for (auto _ : state) {
        points = 0;
        for (int k = 1; k <= 9; ++k) {
            const double phi = k / 10.0;
            for (double T = -5; T < 45; T += 0.05) {
                const double W = Humidity(Patm, T, phi, 3);
                if (W >= 0.03) break;
                const double h = Enthalpy(Patm, T, W, 2);
                benchmark::DoNotOptimize(DryBulb(Patm, h, 0, 15));
                ++points;
            }
        }
    }
    if (PsyStatus() != psOk) state.SkipWithError("scalar call failed");
    state.counters["points"] = points;
}
BENCHMARK(BM_ChartRHCurves)->Unit(benchmark::kMillisecond);

} // namespace
