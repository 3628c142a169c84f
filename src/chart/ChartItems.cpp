// Plotted items: single states, processes (inlet to outlet), mixtures of two streams and coil
// processes with bypass, their drawing on top of the chart, and the range that encloses them all.

#include "chart/ChartLibrary.h"
#include "chart/THygrova.h"
#include "psychro/AirStateText.h"
#include "psychro/MoistAir.h"

#include <algorithm>
#include <array>

int THygrova::AddState(const TAirState& state) {
    FStates.push_back(state);
    return static_cast<int>(FStates.size()) - 1;
}

int THygrova::AddProcess(const std::string& name, const TAirState& inlet, const TAirState& outlet) {
    const int index = static_cast<int>(FProcesses.size());
    FProcesses.push_back(TChartProcess{name, 0, 0});
    const int from = AddState(inlet);
    const int to = AddState(outlet);
    FProcesses[index].FromIndex = from;
    FProcesses[index].ToIndex = to;
    return index;
}

int THygrova::AddMixture(const std::string& name, const TAirState& inlet, double share,
                         const TAirState& outlet) {
    std::array<TAirState, 2> streams = {inlet, outlet};
    streams[0].MassShare = share;
    streams[1].MassShare = 1 - share;
    // The mixing line between the two streams, then the mixed state on it.
    const int index = AddProcess(name, streams[0], streams[1]);
    TAirState mixed;
    ChartLibrary::MixFlows(mixed, streams.data(), 1);
    AddState(mixed);
    return index;
}

int THygrova::AddBypass(const std::string& name, const TAirState& inlet, const TAirState& outlet,
                        double bypassFactor) {
    double factor = bypassFactor;
    const double adp = ChartLibrary::ApparatusDewPoint(inlet, outlet, factor);
    TAirState apparatus;
    ChartLibrary::SetState(apparatus, FPressure, adp, adp, 0);
    // The line runs from the warmer state to the apparatus dew point; the other is a single point.
    int index;
    if (inlet.DryBulb > outlet.DryBulb) {
        index = AddProcess(name, inlet, apparatus);
        AddState(outlet);
    } else {
        index = AddProcess(name, outlet, apparatus);
        AddState(inlet);
    }
    return index;
}

void THygrova::ClearItems() {
    FStates.clear();
    FProcesses.clear();
}

void THygrova::FitAll(TChartRange& range, double ws, double ts) {
    if (FStates.empty()) {
        range = TChartRange{FTempLo, FHumLo, FTempHi, FHumHi};
        return;
    }
    double tMin = FStates.front().DryBulb, tMax = tMin;
    double wMin = FStates.front().Humidity, wMax = wMin;
    for (const TAirState& s : FStates) {
        tMin = std::min(tMin, s.DryBulb);
        tMax = std::max(tMax, s.DryBulb);
        wMin = std::min(wMin, s.Humidity);
        wMax = std::max(wMax, s.Humidity);
    }
    range = TChartRange{RoundMultiple(ts, tMin - ts), RoundMultiple(ws, wMin - ws),
                        RoundMultiple(ts, tMax + ts), RoundMultiple(ws, wMax + ws)};
    ApplyRange(range);
    UpdateScales();
}

void THygrova::DrawItems() {
    // Processes first, so that the state markers lie on top.
    for (const TChartProcess& process : FProcesses) {
        const TAirState& from = FStates.at(process.FromIndex);
        const TAirState& to = FStates.at(process.ToIndex);
        UsePen(8);
        MoveToState(from.DryBulb, from.Humidity);
        LineToState(to.DryBulb, to.Humidity);
        if (FShowLabels)
            LabelAt(process.Name, FPenColors[8], (from.DryBulb + to.DryBulb) / 2,
                    (from.Humidity + to.Humidity) / 2, 1);
    }
    for (const TAirState& state : FStates) {
        UsePen(8);
        const TPoint p = StatePoint(state.DryBulb, state.Humidity);
        FCanvas->Ellipse(p.X - 3, p.Y - 3, p.X + 3, p.Y + 3);
        UseFontSize(14);
        UseFontColor(14);
        if (FShowLabels)
            LabelAt(FormatStateTextUnits(state, "%0.1f", FTemperatureUnit.Factor, FTemperatureUnit.Offset),
                    FPenColors[8], state.DryBulb, state.Humidity, 1);
    }
}
