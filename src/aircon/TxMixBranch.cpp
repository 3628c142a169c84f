#include "aircon/FloatCheck.h"
#include "aircon/StateSolve.h"
#include "aircon/TxAirconItems.h"

#include <cmath>
#include <string>

TMixBranch::TMixBranch(TComponent* AOwner, const std::string& ACaption, int ANumber,
                       const std::string& APrefix, TPsyPoint& AInlet, TPsyPoint& AOutlet,
                       TMixPoint& AMixPoint, double APercentInlet)
    : TBranch(AOwner, ACaption, ANumber, APrefix, AInlet, AOutlet)
    , MixPoint(&AMixPoint) {
    if (MixPoint == Inlet || MixPoint == Outlet)
        throw EAirconError("The mixed point must be a point of its own");
    if (MixPoint->OwnerBranch != nullptr)
        throw EAirconError(MixPoint->Name() + " is already computed by another branch");
    // The wiring below makes the mixed point depend on both streams.
    if (MixPoint->Reaches(*Inlet) || MixPoint->Reaches(*Outlet))
        throw EAirconError("A branch cannot compute a point it depends on");
    MixPoint->OwnerBranch = this;
    Inlet->Dependents.push_back(MixPoint);
    Outlet->Dependents.push_back(MixPoint);
    PercentInlet = APercentInlet;
    try {
        Calculate(false, false);
    } catch (...) {
        Unwire(); // no destructor runs for a constructor that failed
        throw;
    }
}

TMixBranch::~TMixBranch() {
    Unwire();
}

void TMixBranch::Unwire() {
    if (MixPoint->OwnerBranch == this) MixPoint->OwnerBranch = nullptr;
    ErasePoint(Inlet->Dependents, MixPoint);
    ErasePoint(Outlet->Dependents, MixPoint);
}

double TMixBranch::HumidityAt(double x) const {
    return LineHumidityAt(Outlet->State, Inlet->State, x);
}

double TMixBranch::DryBulbAt(double y) const {
    return LineDryBulbAt(Outlet->State, Inlet->State, y);
}

void TMixBranch::Calculate(bool /*MoistureMode*/, bool /*HeatMode*/) {
    Inlet->RevertInspector();
    Outlet->RevertInspector();
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    TAirState mixed;
    try {
        const double e = PercentInlet / 100;
        mixed = SolveState(MixPoint->State.Pressure, out.DryBulb + (in.DryBulb - out.DryBulb) * e,
                           out.Humidity + (in.Humidity - out.Humidity) * e, 2);
        if (PsyStatus() != 0) throw EAirconError("Invalid mix");
    } catch (const std::exception&) {
        throw EAirconError("Invalid mix");
    }
    MixPoint->State = mixed;
    MixPoint->RefreshInspector();
    RefreshInspector();
}

void TMixBranch::PercentFromMixPoint() {
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    const TAirState& mix = MixPoint->State;
    double percent = PercentInlet;
    if (std::fabs(in.DryBulb - out.DryBulb) <= 0.1) {
        if (in.Humidity - out.Humidity != 0)
            percent = Divide((mix.Humidity - out.Humidity) * 100, in.Humidity - out.Humidity);
    } else {
        percent = Divide((mix.DryBulb - out.DryBulb) * 100, in.DryBulb - out.DryBulb);
    }
    PercentInlet = percent;
    RefreshInspector();
}
