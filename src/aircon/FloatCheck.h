#pragma once
// Floating-point faults reported the way the rest of the system reports them. IEEE arithmetic
// quietly yields infinities and NaNs; the calculations of the items check every division and
// every result with these helpers before they store anything, so that a fault becomes an
// EMathError with the platform's message and no field ever holds a non-finite number.

#include "psychro/MoistAir.h" // EMathError

namespace FloatMessages {
inline constexpr const char* InvalidOp = "Invalid floating point operation";
inline constexpr const char* ZeroDivide = "Floating point division by zero";
inline constexpr const char* Overflow = "Floating point overflow";
} // namespace FloatMessages

// x itself when finite; "Invalid floating point operation" for a NaN, "Floating point overflow"
// for an infinity.
double Finite(double x);
// a / b: 0/0 (or NaN operands) is an invalid operation, x/0 a division by zero, and the quotient
// is checked as Finite does.
double Divide(double a, double b);
