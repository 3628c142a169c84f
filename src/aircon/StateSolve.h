#pragma once
// Checked property-library calls shared by the branch calculations (internal to hyg_aircon).

#include "psychro/Aerix43.h"

#include <string>
#include <vector>

class TPsyPoint;

// SetState(P, x1, x2, mode); non-finite input or output is an invalid floating-point operation.
TAirState SolveState(double P, double x1, double x2, int mode);
// SolveState, then the air-state check at once (it reads the library status of this very call);
// a message M fails with "Outlet " + M.
TAirState SolveOutlet(double P, double x1, double x2, int mode);
// The same for a dew-point state, failing with "ADP " + M.
TAirState SolveADPState(double P, double x1, double x2, int mode);
// The air-state check of a state computed earlier: the library status is refreshed by solving the
// state's dry bulb and wet bulb again, so an unrelated earlier failure cannot show through.
std::string CheckedStateMessage(const TAirState& state);
// True when the fields the application reads (pressure to specific heat) are all finite.
bool IsFiniteState(const TAirState& state);
// The straight line from state A to state B: humidity ratio at dry bulb x and dry bulb at humidity
// ratio y, or −99 when the point lies outside the line's middle 98 per cent (or the line has no slope).
double LineHumidityAt(const TAirState& A, const TAirState& B, double x);
double LineDryBulbAt(const TAirState& A, const TAirState& B, double y);
// Removes the first occurrence of point from list, if any.
void ErasePoint(std::vector<TPsyPoint*>& list, const TPsyPoint* point);
