#include "aircon/FloatCheck.h"
#include "aircon/StateSolve.h"
#include "aircon/TxAirconItems.h"
#include "psychro/AirStateText.h"
#include "psychro/MoistAir.h"

#include <cmath>
#include <string>

TByPass::TByPass(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
                 TPsyPoint& AInlet, TPsyPoint& AOutlet, TADPPoint& AADP, double ABypassFactor,
                 double AMassFlow, bool AResetADP)
    : TDutyBranch(AOwner, ACaption, ANumber, APrefix, AInlet, AOutlet)
    , ADP(&AADP) {
    if (ADP == Inlet || ADP == Outlet) throw EAirconError("The dew point must be a point of its own");
    if (ADP->OwnerBranch != nullptr)
        throw EAirconError(ADP->Name() + " is already computed by another branch");
    // The wiring below makes the outlet depend on the inlet and the dew point on the outlet.
    if (Outlet->Reaches(*Inlet) || ADP->Reaches(*Outlet) || ADP->Reaches(*Inlet))
        throw EAirconError("A branch cannot compute a point it depends on");
    BypassFactor = ABypassFactor;
    MassFlow = AMassFlow;
    ADP->OwnerBranch = this;
    Outlet->IsBypassOutlet = true;
    Inlet->Dependents.push_back(Outlet);
    Outlet->Dependents.push_back(ADP);
    ADP->DrivingBranch = this;
    try {
        if (AResetADP) {
            const double wb = Inlet->State.WetBulb;
            ADP->State = SolveADPState(ADP->State.Pressure, wb, wb, 0);
        }
        OutletFromBypassFactor();
    } catch (...) {
        Unwire(); // no destructor runs for a constructor that failed
        throw;
    }
}

TByPass::~TByPass() {
    Unwire();
}

void TByPass::Unwire() {
    if (ADP->OwnerBranch == this) ADP->OwnerBranch = nullptr;
    if (ADP->DrivingBranch == this) ADP->DrivingBranch = nullptr;
    ErasePoint(Inlet->Dependents, Outlet);
    ErasePoint(Outlet->Dependents, ADP);
    bool otherCoil = false;
    for (TBranch* branch : Outlet->Branches)
        if (branch != this && dynamic_cast<TByPass*>(branch) != nullptr && branch->Outlet == Outlet)
            otherCoil = true;
    Outlet->IsBypassOutlet = otherCoil;
}

double TByPass::HumidityAt(double x) const {
    return LineHumidityAt(ADP->State, Inlet->State, x);
}

double TByPass::DryBulbAt(double y) const {
    return LineDryBulbAt(ADP->State, Inlet->State, y);
}

void TByPass::OutletFromBypassFactor() {
    SetBypassFactorAndOutlet(BypassFactor);
}

void TByPass::SetBypassFactorAndOutlet(double bf) {
    Inlet->RevertInspector();
    Outlet->RevertInspector();
    const TAirState& in = Inlet->State;
    const TAirState& adp = ADP->State;
    const double P = Outlet->State.Pressure;
    const double db = Finite((in.DryBulb - adp.DryBulb) * bf + adp.DryBulb);
    // Interpolate the property that varies more along the line. Compared as cross products: the
    // ratios |h_adp / h_in| and |W_adp / W_in| would divide by zero for an inlet at 0 kJ/kg.
    TAirState out;
    if (std::fabs(adp.Enthalpy) * std::fabs(in.Humidity) > std::fabs(adp.Humidity) * std::fabs(in.Enthalpy))
        out = SolveOutlet(P, db, Finite((in.Enthalpy - adp.Enthalpy) * bf + adp.Enthalpy), 1);
    else
        out = SolveOutlet(P, db, Finite((in.Humidity - adp.Humidity) * bf + adp.Humidity), 2);
    TDuties d = Duties();
    CalcDuties(d, in, out);
    BypassFactor = bf;
    Outlet->State = out;
    SetDuties(d);
    Outlet->Update(nullptr, false);
    RefreshInspector();
    Outlet->RefreshInspector();
    ADP->RefreshInspector();
}

void TByPass::BypassFactorFromOutlet() {
    Inlet->RevertInspector();
    Outlet->RevertInspector();
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    const TAirState& adp = ADP->State;
    double bf = BypassFactor;
    if (std::fabs(in.DryBulb - adp.DryBulb) <= 0.1) {
        if (in.Humidity - adp.Humidity != 0)
            bf = Divide(out.Humidity - adp.Humidity, in.Humidity - adp.Humidity);
    } else {
        bf = Divide(out.DryBulb - adp.DryBulb, in.DryBulb - adp.DryBulb);
    }
    TDuties d = Duties();
    CalcDuties(d, in, out);
    BypassFactor = bf;
    SetDuties(d);
    RefreshInspector();
}

TByPass::TCoil TByPass::SolveADP(const TAirState& outlet) const {
    const TAirState& in = Inlet->State;
    const double Padp = ADP->State.Pressure;
    const double t0 = ADP->State.DryBulb;
    const double bf0 = BypassFactor;

    double bf = bf0;
    double t = -99;
    std::int32_t status = -1;
    try {
        t = ApparatusDewPoint(in, outlet, bf);
        status = PsyStatus();
    } catch (const std::exception&) {
        status = -1;
        t = -99;
    }
    if (!std::isfinite(t) || !std::isfinite(bf)) status = -1;

    TCoil coil{outlet, {}, bf};
    if (status != 0 || t < -60 || t > 90 || bf > 1 || bf < 0) {
        bool onNewLine = false;
        if (outlet.DryBulb < in.DryBulb) {
            // A cooling outlet: the coil line through the outlet's dew point.
            try {
                const double td = outlet.DewPoint;
                const TAirState adp = SolveState(Padp, td, td, 0);
                if (StateMessage(adp).empty()) {
                    const double f = Divide(outlet.DryBulb - adp.DryBulb, in.DryBulb - adp.DryBulb);
                    const double w = Finite(adp.Humidity + (in.Humidity - adp.Humidity) * f);
                    const TAirState out = SolveState(outlet.Pressure, outlet.DryBulb, w, 2);
                    if (StateMessage(out).empty()) {
                        coil = {out, adp, f};
                        t = td;
                        onNewLine = true;
                    }
                }
            } catch (const std::exception&) {
            }
        }
        if (!onNewLine) {
            // Keep the old dew point and bypass factor and put the outlet back on the old line.
            t = t0;
            const double db = Finite(t + (in.DryBulb - t) * bf0);
            const double ws = SatHumidity(t, Padp);
            const double w = Finite(ws + (in.Humidity - ws) * bf0);
            coil.Outlet = SolveOutlet(outlet.Pressure, db, w, 2);
            coil.BypassFactor = bf0;
        }
    }
    coil.ADP = SolveState(Padp, t, t, 0);
    return coil;
}

void TByPass::CommitAndPropagateADP(const TCoil& coil) {
    Outlet->State = coil.Outlet;
    ADP->State = coil.ADP;
    BypassFactor = coil.BypassFactor;
    Outlet->Update(nullptr, false);
    Outlet->RefreshInspector();
    ADP->Update(nullptr, false);
    ADP->RefreshInspector();
    RefreshInspector();
}

void TByPass::ReSolveADP() {
    CommitAndPropagateADP(SolveADP(Outlet->State));
}

void TByPass::Calculate(bool MoistureMode, bool HeatMode) {
    // A half-typed invalid state must never feed the calculation; in the normal mode the revert is
    // part of the step whose errors are translated.
    if (HeatMode || MoistureMode) {
        Inlet->RevertInspector();
        Outlet->RevertInspector();
    }
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    const TAirState& adp = ADP->State;
    if (HeatMode) {
        // The user gave both heats: they fix the outlet, and the coil line follows from it.
        ResetReferenceState();
        const double db = Divide(SensibleHeat, CheckedMassFlow(MassFlow) * in.SpecificHeat) + in.DryBulb;
        const double h = PerMassFlow(TotalHeat, MassFlow) + in.Enthalpy;
        const TAirState heated = SolveOutlet(out.Pressure, db, h, 1);
        const double shr = RatioSHR(SensibleHeat, TotalHeat);
        const double dhdw = RatioDhDw(TotalHeat, Humidification);
        const TCoil coil = SolveADP(heated);
        SHR = shr;
        DhDw = dhdw;
        CommitAndPropagateADP(coil);
        return;
    }
    if (MoistureMode) {
        ResetReferenceState();
        const double w = PerMassFlow(Humidification, MassFlow) + in.Humidity;
        Outlet->State = SolveOutlet(out.Pressure, out.DryBulb, w, 2);
    } else {
        try {
            Inlet->RevertInspector();
            Outlet->RevertInspector();
            ResetReferenceState();
            const double h = Finite(in.Enthalpy - (in.Enthalpy - adp.Enthalpy) * (1 - BypassFactor));
            const double db = Finite(in.DryBulb - (in.DryBulb - adp.DryBulb) * (1 - BypassFactor));
            const TAirState coiled = SolveOutlet(out.Pressure, db, h, 1);
            TDuties d = Duties();
            CalcDuties(d, in, coiled);
            Outlet->State = coiled;
            SetDuties(d);
        } catch (const std::exception& e) {
            if (*e.what() == '\0') throw EAirconError("Invalid bypass");
            throw;
        }
    }
    RefreshInspector();
    Outlet->RefreshInspector();
    ADP->RefreshInspector();
}

TBypassEditFlags TByPass::ApplyBypassEdit(TEditedQuantity Edited, TEditedQuantity Previous) {
    using Q = TEditedQuantity;
    TBypassEditFlags flags;
    const TAirState& in = Inlet->State;
    const TAirState& out = Outlet->State;
    const TAirState& adp = ADP->State;
    // Total heat from the two states, then both ratios.
    const auto finish = [&in](TDuties& d, const TAirState& o) {
        d.TotalHeat = Finite((o.Enthalpy - in.Enthalpy) * d.MassFlow);
        d.SHR = RatioSHR(d.SensibleHeat, d.TotalHeat);
        d.DhDw = RatioDhDw(d.TotalHeat, d.Humidification);
    };
    switch (Edited) {
    case Q::MassFlow: {
        TDuties d = Duties();
        CheckedMassFlow(d.MassFlow);
        d.SensibleHeat = Finite(d.MassFlow * in.SpecificHeat * (out.DryBulb - in.DryBulb));
        finish(d, out);
        SetDuties(d);
        break;
    }
    case Q::InletVolume:
        MassFlow = CheckedMassFlow(Finite(InletVolume * in.Density));
        break;
    case Q::OutletVolume:
        MassFlow = CheckedMassFlow(Finite(OutletVolume * out.Density));
        break;
    case Q::BypassFactor:
        OutletFromBypassFactor();
        flags.MoistureMode = true;
        break;
    case Q::Humidification: {
        // First try the bypass factor that gives this moisture with the dew point kept.
        const double a = Finite((adp.Humidity - in.Humidity) * MassFlow);
        if (a != 0) {
            const double bf = 1 - Divide(Humidification, a);
            if (0 < bf && bf < 1) {
                SetBypassFactorAndOutlet(bf);
                flags.MoistureMode = true;
                break;
            }
        }
        // Otherwise the dew point moves: saturated at the humidity ratio the bypass factor needs.
        const double w = PerMassFlow(Humidification, MassFlow) + in.Humidity;
        const double wadp = Divide(w - BypassFactor * in.Humidity, 1 - BypassFactor);
        const TAirState newADP = SolveADPState(adp.Pressure, wadp, 1.0, 25);
        const double db = Finite((in.DryBulb - newADP.DryBulb) * BypassFactor + newADP.DryBulb);
        const TAirState newOut = SolveOutlet(out.Pressure, db, w, 2);
        TDuties d = Duties();
        finish(d, newOut);
        ADP->State = newADP;
        Outlet->State = newOut;
        SetDuties(d);
        break;
    }
    case Q::SensibleHeat: {
        if (Previous == Q::TotalHeat) {
            flags.HeatMode = true;
            break;
        }
        if (Previous == Q::BypassFactor) {
            TDuties d = Duties();
            d.MassFlow =
                CheckedMassFlow(Divide(Divide(SensibleHeat, in.SpecificHeat), out.DryBulb - in.DryBulb));
            finish(d, out);
            SetDuties(d);
            break;
        }
        // First try the bypass factor that gives this sensible heat with the dew point kept; a dew
        // point at the inlet's dry bulb gives no sensible heat at any factor.
        const double b = Finite(MassFlow * in.SpecificHeat * (adp.DryBulb - in.DryBulb));
        if (b != 0) {
            const double bf = 1 - Divide(SensibleHeat, b);
            if (0 < bf && bf < 1) {
                SetBypassFactorAndOutlet(bf);
                flags.MoistureMode = true;
                break;
            }
        }
        const double db = Divide(SensibleHeat, CheckedMassFlow(MassFlow) * in.SpecificHeat) + in.DryBulb;
        const double tadp = Divide(db - BypassFactor * in.DryBulb, 1 - BypassFactor);
        const TAirState newADP = SolveADPState(adp.Pressure, tadp, tadp, 0);
        const double w = Finite((in.Humidity - newADP.Humidity) * BypassFactor + newADP.Humidity);
        const TAirState newOut = SolveOutlet(out.Pressure, db, w, 2);
        TDuties d = Duties();
        finish(d, newOut);
        ADP->State = newADP;
        Outlet->State = newOut;
        SetDuties(d);
        break;
    }
    case Q::TotalHeat:
        if (Previous == Q::SensibleHeat) {
            flags.HeatMode = true;
            const double shr = RatioSHR(SensibleHeat, TotalHeat);
            const double dhdw = RatioDhDw(TotalHeat, Humidification);
            SHR = shr;
            DhDw = dhdw;
        }
        break;
    case Q::Other:
        break;
    }
    return flags;
}
