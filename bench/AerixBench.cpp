// Speed of the property library: SetState for every input pair at a typical room state, and the
// AirState path of the inspectors.

#include "psychro/Aerix43.h"

#include <benchmark/benchmark.h>

namespace {

struct TModePair {
    int Mode, First, Second;
};
constexpr TModePair kModes[] = {
    {0, 1, 2},  {1, 1, 3},  {2, 1, 4},  {3, 1, 5},  {4, 1, 6},  {5, 1, 7},  {7, 1, 9},
    {8, 2, 3},  {9, 2, 4},  {10, 2, 5}, {11, 2, 6}, {12, 2, 7}, {13, 2, 8}, {14, 2, 9},
    {15, 3, 4}, {16, 3, 5}, {17, 3, 6}, {18, 3, 7}, {19, 3, 8}, {25, 4, 5}, {26, 4, 8},
    {27, 4, 9}, {28, 5, 6}, {29, 5, 7}, {30, 5, 8}, {31, 6, 8}, {32, 7, 8},
};

// 25 °C dry bulb, 17 °C wet bulb at sea level.
TAirState TypicalState() {
    TAirState s;
    SetState(s, 101.325, 25, 17, 0);
    return s;
}

void BM_SetState(benchmark::State& state) {
    const TModePair& m = kModes[state.range(0)];
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
BENCHMARK(BM_SetState)->DenseRange(0, int(std::size(kModes)) - 1);

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

} // namespace
