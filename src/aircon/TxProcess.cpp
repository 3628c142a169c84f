#include "aircon/FloatCheck.h"
#include "aircon/StateSolve.h"
#include "aircon/TxAirconItems.h"
#include "psychro/MoistAir.h"

#include <algorithm>
#include <string>

TProcess::TProcess(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
                   TPsyPoint& AInlet, TPsyPoint& AOutlet, double AMassFlow)
    : TDutyBranch(AOwner, ACaption, ANumber, APrefix, AInlet, AOutlet) {
    MassFlow = AMassFlow;
    Calculate(false, false);
}

TProcess::~TProcess() {
    if (IsDriven()) SetDriven(false);
}

bool TProcess::IsDriven() const {
    return Outlet->DrivingBranch == this;
}

bool TProcess::CanDrive() const {
    if (dynamic_cast<const TMixPoint*>(Outlet) != nullptr || Outlet->IsBypassOutlet) return false;
    if (Outlet->DrivingBranch != nullptr && Outlet->DrivingBranch != this) return false;
    return !Outlet->Reaches(*Inlet);
}

void TProcess::SetDriven(bool ADriven) {
    if (ADriven) {
        if (IsDriven()) return;
        if (!CanDrive())
            throw EAirconError("The outlet of " + ItemName + " cannot follow from its duties...");
        Outlet->DrivingBranch = this;
        Inlet->Dependents.push_back(Outlet);
    } else {
        // Only this process's own drive is switched off; another branch's stays.
        if (!IsDriven()) return;
        Outlet->DrivingBranch = nullptr;
        ErasePoint(Inlet->Dependents, Outlet);
    }
}

void TProcess::Calculate(bool MoistureMode, bool /*HeatMode*/) {
    try {
        // A half-typed invalid state must never feed the calculation.
        Inlet->RevertInspector();
        Outlet->RevertInspector();
        const TAirState& in = Inlet->State;
        TAirState out = Outlet->State;
        const bool driven = IsDriven();
        if (driven) {
            ResetReferenceState();
            if (MoistureMode) {
                const double w = PerMassFlow(Humidification, MassFlow) + in.Humidity;
                out = SolveOutlet(out.Pressure, out.DryBulb, w, 2);
            } else {
                double h = in.Enthalpy;
                double db = in.DryBulb;
                if (TotalHeat != 0) {
                    h = PerMassFlow(TotalHeat, MassFlow) + in.Enthalpy;
                    db = Divide(Finite(SHR * TotalHeat), MassFlow * in.SpecificHeat) + in.DryBulb;
                } else if (SensibleHeat != 0) {
                    db = Divide(SensibleHeat, CheckedMassFlow(MassFlow) * in.SpecificHeat) + in.DryBulb;
                }
                out = SolveOutlet(out.Pressure, db, h, 1);
            }
        } else if (const std::string message = CheckedStateMessage(out); !message.empty()) {
            throw EAirconError("Outlet " + message);
        }
        TDuties d = Duties();
        CalcDuties(d, in, out);
        if (driven) Outlet->State = out;
        SetDuties(d);
    } catch (const std::exception& e) {
        const std::string message = e.what();
        if (message.empty()) throw EAirconError("Invalid process");
        if (message == FloatMessages::InvalidOp) throw EAirconError("Bad data");
        throw;
    }
    Outlet->RefreshInspector();
    RefreshInspector();
}

bool TProcess::ApplyProcessEdit(TEditedQuantity Edited, TEditedQuantity Previous) {
    using Q = TEditedQuantity;
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    const bool driven = IsDriven();
    bool moistureMode = false;
    switch (Edited) {
    case Q::MassFlow:
        CheckedMassFlow(MassFlow);
        break;
    case Q::InletVolume:
        MassFlow = CheckedMassFlow(Finite(InletVolume * in.Density));
        break;
    case Q::OutletVolume:
        MassFlow = CheckedMassFlow(Finite(OutletVolume * out.Density));
        break;
    case Q::Humidification:
        if (driven) {
            if (Previous == Q::SensibleHeat) {
                const double latent = Finite(::LatentHeat(in.DryBulb) * Humidification);
                const double total = Finite(SensibleHeat + latent);
                const double shr = RatioSHR(SensibleHeat, total);
                const double dhdw = RatioDhDw(total, Humidification);
                LatentHeat = latent;
                TotalHeat = total;
                SHR = shr;
                DhDw = dhdw;
            } else {
                const double h = PerMassFlow(TotalHeat, MassFlow) + in.Enthalpy;
                const double w = PerMassFlow(Humidification, MassFlow) + in.Humidity;
                Outlet->State = SolveOutlet(out.Pressure, h, w, 15);
            }
            moistureMode = true;
        } else {
            MassFlow = CheckedMassFlow(Divide(Humidification, out.Humidity - in.Humidity));
        }
        break;
    case Q::SensibleHeat:
        if (driven) {
            if (Previous == Q::Humidification) {
                const double db =
                    Divide(SensibleHeat, CheckedMassFlow(MassFlow) * in.SpecificHeat) + in.DryBulb;
                const double w = PerMassFlow(Humidification, MassFlow) + in.Humidity;
                Outlet->State = SolveOutlet(out.Pressure, db, w, 2);
                moistureMode = true;
            } else if (Previous == Q::SensibleHeat || Previous == Q::TotalHeat) {
                UpdateSHR();
            } else {
                // Keeping the ratio gives the total heat; with no usable ratio the total heat stays.
                try {
                    const double total = Divide(SensibleHeat, SHR);
                    const double dhdw = RatioDhDw(total, Humidification);
                    TotalHeat = total;
                    DhDw = dhdw;
                } catch (const EMathError&) {
                }
            }
        } else if (out.DryBulb - in.DryBulb == 0) {
            MassFlow = CheckedMassFlow(Divide(TotalHeat, out.Enthalpy - in.Enthalpy));
        } else {
            MassFlow = CheckedMassFlow(Divide(SensibleHeat, in.SpecificHeat * (out.DryBulb - in.DryBulb)));
        }
        break;
    case Q::TotalHeat:
        if (driven) {
            if (Previous == Q::SensibleHeat || Previous == Q::TotalHeat) {
                const double shr = RatioSHR(SensibleHeat, TotalHeat);
                const double dhdw = RatioDhDw(TotalHeat, Humidification);
                SHR = shr;
                DhDw = dhdw;
            }
        } else {
            MassFlow = CheckedMassFlow(Divide(TotalHeat, out.Enthalpy - in.Enthalpy));
        }
        break;
    case Q::BypassFactor:
    case Q::Other:
        break;
    }
    return moistureMode;
}
