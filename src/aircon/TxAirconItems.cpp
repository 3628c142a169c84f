#include "aircon/TxAirconItems.h"

#include "aircon/FloatCheck.h"
#include "aircon/StateSolve.h"
#include "psychro/AirStateText.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

// ---- TAirconItem ----------------------------------------------------------------------------------

TAirconItem::TAirconItem(TComponent* AOwner, const std::string& ACaption, int ANumber,
                         const std::string& APrefix)
    : TComponent(AOwner, APrefix + std::to_string(ANumber))
    , ItemName(ACaption.empty() ? Name() : ACaption) {}

void TAirconItem::PlaceAt(int Left, int Top) {
    if (Left >= -98) FormLeft = Left;
    if (Top >= -98) FormTop = Top;
    if (FormLeft >= -98 && FormTop >= -98) return;
    const TScreenPos cursor = MouseCursorPos ? MouseCursorPos() : TScreenPos{};
    if (FormLeft < -98) FormLeft = cursor.X;
    if (FormTop < -98) FormTop = cursor.Y;
}

void TAirconItem::RefreshInspector() const {
    if (Inspector != nullptr) Inspector->RefreshDisplay();
}

// ---- TPsyPoint ------------------------------------------------------------------------------------

TPsyPoint::TPsyPoint(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
                     const TAirState& AState)
    : TAirconItem(AOwner, ACaption, ANumber, APrefix)
    , State(AState) {}

bool TPsyPoint::IsFree() const {
    return DrivingBranch == nullptr && dynamic_cast<const TMixPoint*>(this) == nullptr;
}

bool TPsyPoint::IsDependent() const {
    if (dynamic_cast<const TMixPoint*>(this) != nullptr) return true;
    const TByPass* ownBypass = BypassOfOutlet();
    for (const TBranch* branch : Branches) {
        const TPsyPoint* other = branch->Inlet == this ? branch->Outlet : branch->Inlet;
        if (std::ranges::find(other->Dependents, this) == other->Dependents.end()) continue;
        // A coil computes its outlet's position only as a default; the user may still type it.
        if (IsBypassOutlet && ownBypass != nullptr && other == ownBypass->Inlet) continue;
        return true;
    }
    return false;
}

TByPass* TPsyPoint::BypassOfOutlet() const {
    if (!IsBypassOutlet) return nullptr;
    for (TBranch* branch : Branches)
        if (auto* bypass = dynamic_cast<TByPass*>(branch); bypass != nullptr && bypass->Outlet == this)
            return bypass;
    return nullptr;
}

bool TPsyPoint::IsBypassOutletOf(const TByPass* B) const {
    return IsBypassOutlet && B != nullptr && B->Outlet == this;
}

bool TPsyPoint::Reaches(const TPsyPoint& Target) const {
    // Depth first over Dependents; the visited set keeps even a malformed graph from looping.
    std::unordered_set<const TPsyPoint*> visited;
    std::vector<const TPsyPoint*> pending(Dependents.begin(), Dependents.end());
    while (!pending.empty()) {
        const TPsyPoint* point = pending.back();
        pending.pop_back();
        if (point == &Target) return true;
        if (!visited.insert(point).second) continue;
        pending.insert(pending.end(), point->Dependents.begin(), point->Dependents.end());
    }
    return false;
}

bool TPsyPoint::IsValid() const {
    return Inspector == nullptr || Inspector->ShowsValidState();
}

void TPsyPoint::RevertInspector() {
    if (Inspector != nullptr && !Inspector->ShowsValidState()) Inspector->RevertToLastValid();
}

void TPsyPoint::SolveFromPair(int& Mode) {
    TAirState input = State;
    if (dynamic_cast<const TADPPoint*>(this) != nullptr) {
        // A dew point stays saturated whatever pair the user highlighted.
        Mode = 0;
        input.WetBulb = input.DryBulb;
    }
    // The library reports a pair it cannot solve by its status (or, elsewhere, by raising); the
    // point then keeps the values the user typed so that the inspector can show them.
    TAirState solved;
    try {
        AirState(solved, input, Mode);
    } catch (const std::exception&) {
        throw EAirconError("Invalid air state");
    }
    if (PsyStatus() != 0 || !IsFiniteState(solved)) throw EAirconError("Invalid air state");
    const std::string message = StateMessage(solved);
    State = solved;
    if (!message.empty()) throw EAirconError(message);
}

void TPsyPoint::Update(TBranch* Exclude, bool ReSolveADP) {
    // A copy: a branch calculation may reach code that looks at this list.
    const std::vector<TBranch*> branches = Branches;
    for (TBranch* branch : branches) {
        if (branch == Exclude) continue;
        if (auto* bypass = dynamic_cast<TByPass*>(branch)) {
            if (IsBypassOutletOf(bypass)) {
                if (ReSolveADP)
                    bypass->ReSolveADP();
                else
                    bypass->BypassFactorFromOutlet();
            } else if (bypass->Inlet == this) {
                bypass->Calculate(false, false);
                bypass->Outlet->Update(bypass, false);
                bypass->ADP->Update(bypass, false);
            }
        } else if (auto* process = dynamic_cast<TProcess*>(branch)) {
            process->Calculate(false, false);
            if (process->IsDriven()) process->Outlet->Update(process, false);
        } else if (auto* mix = dynamic_cast<TMixBranch*>(branch)) {
            mix->Calculate(false, false);
            mix->MixPoint->Update(mix, false);
        }
    }
}

// ---- TMixPoint ------------------------------------------------------------------------------------

void TMixPoint::Update(TBranch* Exclude, bool /*ReSolveADP*/) {
    if (OwnerBranch != nullptr) OwnerBranch->PercentFromMixPoint();
    TPsyPoint::Update(Exclude, false);
}

// ---- TBranch --------------------------------------------------------------------------------------

namespace {

TPsyPoint& DistinctOutlet(TPsyPoint& inlet, TPsyPoint& outlet) {
    if (&inlet == &outlet) throw EAirconError("Inlet and outlet must be different points");
    return outlet;
}

} // namespace

TBranch::TBranch(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
                 TPsyPoint& AInlet, TPsyPoint& AOutlet)
    : TAirconItem(AOwner, ACaption, ANumber, APrefix)
    , Inlet(&AInlet)
    , Outlet(&DistinctOutlet(AInlet, AOutlet)) {
    Inlet->Branches.push_back(this);
    Outlet->Branches.push_back(this);
}

TBranch::~TBranch() {
    std::erase(Inlet->Branches, this);
    std::erase(Outlet->Branches, this);
}

// ---- TDutyBranch ----------------------------------------------------------------------------------

double TDutyBranch::HumidityAt(double /*x*/) const {
    return -1;
}

double TDutyBranch::DryBulbAt(double /*y*/) const {
    return -99;
}

TDutyBranch::TDuties TDutyBranch::Duties() const {
    return {MassFlow,     TotalHeat,      SensibleHeat, LatentHeat, InletVolume,
            OutletVolume, Humidification, SHR,          DhDw};
}

void TDutyBranch::SetDuties(const TDuties& d) {
    MassFlow = d.MassFlow;
    TotalHeat = d.TotalHeat;
    SensibleHeat = d.SensibleHeat;
    LatentHeat = d.LatentHeat;
    InletVolume = d.InletVolume;
    OutletVolume = d.OutletVolume;
    Humidification = d.Humidification;
    SHR = d.SHR;
    DhDw = d.DhDw;
}

double TDutyBranch::RatioSHR(double sensible, double total) {
    return total == 0 ? UndefinedRatio : Divide(sensible, total);
}

double TDutyBranch::RatioDhDw(double total, double humidification) {
    return humidification == 0 ? UndefinedRatio : Divide(total, humidification);
}

double TDutyBranch::PerMassFlow(double x, double massFlow) {
    if (!(massFlow > 0) || !std::isfinite(massFlow))
        throw EAirconError("Mass flow must be greater than 0...");
    return Divide(x, massFlow);
}

double TDutyBranch::CheckedMassFlow(double massFlow) {
    if (!(massFlow > 0) || !std::isfinite(massFlow))
        throw EAirconError("Mass flow must be greater than 0...");
    return massFlow;
}

void TDutyBranch::CalcDuties(TDuties& d, const TAirState& in, const TAirState& out) {
    const double m = Finite(d.MassFlow);
    TDuties r = d;
    r.InletVolume = Divide(m, in.Density);
    r.OutletVolume = Divide(m, out.Density);
    r.SensibleHeat = Finite(m * in.SpecificHeat * (out.DryBulb - in.DryBulb));
    r.TotalHeat = Finite(m * (out.Enthalpy - in.Enthalpy));
    r.Humidification = Finite(m * (out.Humidity - in.Humidity));
    r.LatentHeat = Finite(r.TotalHeat - r.SensibleHeat);
    if (r.LatentHeat == 0) r.Humidification = 0;
    r.SHR = RatioSHR(r.SensibleHeat, r.TotalHeat);
    r.DhDw = RatioDhDw(r.TotalHeat, r.Humidification);
    d = r;
}

void TDutyBranch::Calculate(bool /*MoistureMode*/, bool /*HeatMode*/) {
    Inlet->RevertInspector();
    Outlet->RevertInspector();
    TDuties d = Duties();
    CalcDuties(d, Inlet->State, Outlet->State);
    SetDuties(d);
}

void TDutyBranch::UpdateSHR() {
    SHR = RatioSHR(SensibleHeat, TotalHeat);
}

void TDutyBranch::UpdateDhDw() {
    DhDw = RatioDhDw(TotalHeat, Humidification);
}
