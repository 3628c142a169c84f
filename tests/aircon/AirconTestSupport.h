#pragma once
// Shared fixtures of the item-graph tests: states from the property library and an inspector
// stand-in that records what the items asked of it.

#include "aircon/ItemInspector.h"
#include "aircon/TxAirconItems.h"
#include "psychro/Aerix43.h"

#include <functional>
#include <string>

inline constexpr double StdPressure = 101.325; // kPa

inline TAirState StateOf(double db, double wb, double P = StdPressure) {
    TAirState s;
    SetState(s, P, db, wb, 0);
    return s;
}

// Records the calls of the items; an invalid one reverts by running OnRevert.
class TFakeInspector : public TItemInspector {
public:
    bool Valid = true;
    int Refreshes = 0;
    int Reverts = 0;
    int RowRules = 0;
    std::function<void()> OnRevert;

    bool ShowsValidState() const override { return Valid; }
    void RevertToLastValid() override {
        ++Reverts;
        Valid = true;
        if (OnRevert) OnRevert();
    }
    void RefreshDisplay() override { ++Refreshes; }
    void RunRowRules() override { ++RowRules; }
};

// Shows a point like the air-state inspector does: reverting writes the backup state back into the
// point and pushes it through the graph.
inline void ShowPoint(TFakeInspector& inspector, TPsyPoint& point, const TAirState& backup) {
    point.Inspector = &inspector;
    inspector.OnRevert = [&point, backup] {
        point.State = backup;
        point.Update(nullptr, point.IsBypassOutlet);
    };
}

// Every field the application reads, compared exactly: a failed operation must leave them alone.
inline bool SameState(const TAirState& a, const TAirState& b) {
    for (int i = 0; i < 11; ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}
