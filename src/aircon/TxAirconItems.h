#pragma once
// The air-conditioning item graph: state points and the branches (process, coil with bypass, mix)
// that join them and compute duties and further points. No user interface: an item sees the
// inspector window that shows it only through TItemInspector.
//
// Every branch calculation works on copies and stores its results only once all of them are
// computed and checked, so a failed calculation leaves the branch and its points as they were and no
// field ever holds an infinity or a NaN; what a successful one then pushes on to further branches
// can fail on its own. Errors are exceptions carrying the user-visible message.

#include "aircon/ItemInspector.h"
#include "aircon/TComponent.h"
#include "psychro/Aerix43.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// An item operation failed; the message is shown to the user as it stands.
class EAirconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A position on the screen, in pixels.
struct TScreenPos {
    int X = 0;
    int Y = 0;
};

class TBranch;
class TByPass;
class TMixBranch;
class TProcess;

// Base of every item: a named component with the name shown to the user, the inspector that shows
// it (not owned) and the screen position at which that inspector opens.
class TAirconItem : public TComponent {
public:
    // The component name is APrefix followed by ANumber in decimal (Inlet1, ADP3); ItemName is the
    // caption, or the component name when the caption is empty.
    TAirconItem(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix);

    std::string ItemName;
    // Set by an inspector window while it shows this item, null otherwise.
    TItemInspector* Inspector = nullptr;
    // −99 (anything below −98) means not set.
    int FormLeft = -99;
    int FormTop = -99;

    // Left and Top of −98 or more are stored; a position still unset afterwards takes the mouse
    // cursor's, so an inspector with no stored position opens where the user clicked.
    void PlaceAt(int Left, int Top);
    // Asks the inspector, if any, to show the item's values again.
    void RefreshInspector() const;

    // Where the mouse cursor is; the application sets it (to the windowing system's cursor
    // position). Unset, the cursor counts as being at 0, 0.
    static inline std::function<TScreenPos()> MouseCursorPos;
};

// One moist-air state of the graph.
class TPsyPoint : public TAirconItem {
public:
    TPsyPoint(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
              const TAirState& AState);

    TAirState State;
    // Branches with this point as inlet or outlet (not owned; each branch enters itself).
    std::vector<TBranch*> Branches;
    // Points whose state is computed from this one (not owned).
    std::vector<TPsyPoint*> Dependents;
    // The branch that computes this point's state, or null.
    TBranch* DrivingBranch = nullptr;
    // True for the outlet point of a coil with bypass.
    bool IsBypassOutlet = false;

    // The state may be typed in: nothing computes it and it is no mixed point.
    bool IsFree() const;
    // Another branch's end computes this point (a coil's own outlet excepted), or it is a mixed point.
    bool IsDependent() const;
    // The first coil with bypass whose outlet this point is, when IsBypassOutlet; otherwise null.
    TByPass* BypassOfOutlet() const;
    bool IsBypassOutletOf(const TByPass* B) const;
    // Target is reachable from this point through Dependents (this point itself only through a cycle).
    bool Reaches(const TPsyPoint& Target) const;
    // No inspector, or the inspector shows a valid state.
    bool IsValid() const;
    // An inspector showing an invalid state restores its last valid one (which also propagates).
    void RevertInspector();
    // Recomputes the whole state from the two properties that Mode names. An apparatus dew point
    // always solves from dry bulb = wet bulb (Mode becomes 0). Fails with "Invalid air state" when
    // the library cannot solve the pair (State keeps what was typed), or with the air-state check's message
    // when the solved state is out of range (State already replaced; the inspector reverts later).
    void SolveFromPair(int& Mode);
    // Pushes a change of this point through its branches, skipping Exclude (the branch that caused
    // the change). ReSolveADP: a moved coil outlet finds a new dew point and bypass factor, otherwise
    // only the bypass factor follows.
    virtual void Update(TBranch* Exclude, bool ReSolveADP);
};

// The mixed state of a mix; never typed in.
class TMixPoint : public TPsyPoint {
public:
    using TPsyPoint::TPsyPoint;
    TMixBranch* OwnerBranch = nullptr;
    // First re-derives the mix's inlet share from this point, then propagates.
    void Update(TBranch* Exclude, bool ReSolveADP) override;
};

// The apparatus dew point of a coil with bypass; always saturated.
class TADPPoint : public TPsyPoint {
public:
    using TPsyPoint::TPsyPoint;
    TByPass* OwnerBranch = nullptr;
};

// The quantity the user typed last in a branch inspector, which decides what an edit recomputes.
enum class TEditedQuantity {
    MassFlow,
    InletVolume,
    OutletVolume,
    BypassFactor,
    Humidification,
    SensibleHeat,
    TotalHeat,
    Other, // the name or a state row
};

// What happens to the air between an inlet and an outlet point.
class TBranch : public TAirconItem {
public:
    // Enters the branch into Branches of both points. The two points must differ.
    TBranch(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
            TPsyPoint& AInlet, TPsyPoint& AOutlet);
    ~TBranch() override;

    TPsyPoint* const Inlet;
    TPsyPoint* const Outlet;

    // Humidity ratio at dry bulb x on the branch's straight line; −99 outside its middle 98 %.
    virtual double HumidityAt(double x) const = 0;
    // Dry bulb at humidity ratio y on the line; −99 outside its middle 98 %.
    virtual double DryBulbAt(double y) const = 0;
    virtual void Calculate(bool MoistureMode, bool HeatMode) = 0;
};

// A branch that carries an air mass flow and the duties between its two states.
class TDutyBranch : public TBranch {
public:
    // Stands for an undefined ratio: SHR with no total heat, DhDw with no humidification.
    static constexpr double UndefinedRatio = 1E14;

    using TBranch::TBranch;

    double MassFlow = 0;       // kg/s dry air
    double TotalHeat = 0;      // kW
    double SensibleHeat = 0;   // kW
    double LatentHeat = 0;     // kW
    double InletVolume = 0;    // m³/s
    double OutletVolume = 0;   // m³/s
    double Humidification = 0; // kg/s, negative when moisture is removed
    double SHR = 0;            // sensible heat ratio
    double DhDw = 0;           // kJ/kg, slope of the process on the dh/dW protractor

    double HumidityAt(double x) const override;
    double DryBulbAt(double y) const override;
    // The duty calculation: flows and duties from the two states at MassFlow.
    void Calculate(bool MoistureMode, bool HeatMode) override;
    void UpdateSHR();
    void UpdateDhDw();

protected:
    struct TDuties {
        double MassFlow, TotalHeat, SensibleHeat, LatentHeat, InletVolume, OutletVolume, Humidification, SHR,
            DhDw;
    };
    TDuties Duties() const;
    void SetDuties(const TDuties& d);
    // The duty calculation on d (at d.MassFlow) from the two states; d is left alone on failure.
    static void CalcDuties(TDuties& d, const TAirState& in, const TAirState& out);
    static double RatioSHR(double sensible, double total);
    static double RatioDhDw(double total, double humidification);
    // x / MassFlow; "Mass flow must be greater than 0..." unless the mass flow is positive.
    static double PerMassFlow(double x, double massFlow);
    // A mass flow computed by an edit rule, refused unless positive and finite.
    static double CheckedMassFlow(double massFlow);
};

// A heating or cooling process. Driven (its outlet's DrivingBranch), the outlet follows from the
// duties; otherwise the duties follow from the two states.
class TProcess : public TDutyBranch {
public:
    // Wires the process in, stores the mass flow and calculates; the process starts not driven.
    TProcess(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
             TPsyPoint& AInlet, TPsyPoint& AOutlet, double AMassFlow);
    ~TProcess() override;

    bool IsDriven() const;
    // Errors: "Outlet " + the air-state check's message; an empty message becomes "Invalid process",
    // "Invalid floating point operation" becomes "Bad data"; others pass unchanged.
    void Calculate(bool MoistureMode, bool HeatMode) override;
    // The outlet may be driven: no mixed point or coil outlet, not computed by another branch, and
    // the inlet not reachable from it (which would close a loop).
    bool CanDrive() const;
    // Switching on while CanDrive is false is refused with an EAirconError.
    void SetDriven(bool ADriven);
    // The edit rule after the user typed the quantity Edited (already stored); returns the
    // MoistureMode flag for the Calculate that follows.
    bool ApplyProcessEdit(TEditedQuantity Edited, TEditedQuantity Previous);
};

// The two flags of a bypass edit for the Calculate that follows it.
struct TBypassEditFlags {
    bool MoistureMode = false;
    bool HeatMode = false;
};

// A cooling coil with bypass: BypassFactor of the inlet air passes untreated, the rest leaves at the
// apparatus dew point; the outlet lies on the straight line from the dew point to the inlet.
class TByPass : public TDutyBranch {
public:
    // Wires the coil in (the outlet depends on the inlet, the dew point on the outlet, the bypass
    // computes the dew point). AResetADP makes the dew point saturated air at the inlet's wet bulb.
    // Finally the outlet is put on the coil line.
    TByPass(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
            TPsyPoint& AInlet, TPsyPoint& AOutlet, TADPPoint& AADP, double ABypassFactor, double AMassFlow,
            bool AResetADP);
    ~TByPass() override;

    TADPPoint* const ADP;
    double BypassFactor = 0;

    double HumidityAt(double x) const override;
    double DryBulbAt(double y) const override;
    // HeatMode: the outlet from both heats, then a new dew point; MoistureMode: the outlet's humidity
    // from Humidification; otherwise the outlet from the dew point and the bypass factor.
    void Calculate(bool MoistureMode, bool HeatMode) override;
    void OutletFromBypassFactor();
    void BypassFactorFromOutlet();
    // Finds the dew point and bypass factor of the coil line through inlet and outlet, with a
    // fallback when the library gives no usable answer.
    void ReSolveADP();
    TBypassEditFlags ApplyBypassEdit(TEditedQuantity Edited, TEditedQuantity Previous);

private:
    struct TCoil {
        TAirState Outlet;
        TAirState ADP;
        double BypassFactor;
    };
    TCoil SolveADP(const TAirState& outlet) const;
    void CommitAndPropagateADP(const TCoil& coil);
    void SetBypassFactorAndOutlet(double bf);
    void Unwire();
};

// The mixing of two streams: PercentInlet per cent of inlet air, the rest outlet air.
class TMixBranch : public TBranch {
public:
    // Wires the mix in (the mixed point depends on both ends), stores the share and calculates.
    TMixBranch(TComponent* AOwner, const std::string& ACaption, int ANumber, const std::string& APrefix,
               TPsyPoint& AInlet, TPsyPoint& AOutlet, TMixPoint& AMixPoint, double APercentInlet);
    ~TMixBranch() override;

    TMixPoint* const MixPoint;
    double PercentInlet = 0;

    double HumidityAt(double x) const override;
    double DryBulbAt(double y) const override;
    // The mixed state, linear in dry bulb and humidity ratio; any failure is "Invalid mix".
    void Calculate(bool MoistureMode, bool HeatMode) override;
    void PercentFromMixPoint();

private:
    void Unwire();
};
