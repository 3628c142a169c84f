#pragma once
// Bounded one-dimensional root finding for the property library's monotone relations.

#include <cmath>
#include <limits>

namespace aerix {

// One evaluation: the function value and, where cheap, an estimate of its slope (NaN when unknown).
struct TEval {
    double f = 0;
    double slope = std::numeric_limits<double>::quiet_NaN();
};

// Finds x in [lo, hi] with f(x) = 0 for a function that is monotone on the interval (increasing when
// `increasing`), starting at x0. Steps are secant steps, or a Newton step on the evaluation's own slope
// estimate while no earlier point is at hand. A step that leaves the bracket known so far gives way
// to bisection, and so do two steps in a row that fail to halve |f|. Monotonicity tells which side of
// the root each evaluation lies on, so the ends of the interval are evaluated only when the search
// runs into them. Converged when the next correction is below tol after |f| fell tenfold (the slope
// estimate alone never ends the search), or when the bracket is narrower than tol. Returns false when the
// root lies outside [lo, hi] or f is not finite. At most 200 evaluations.
template <class F>
bool SolveMonotone(F&& f, double lo, double hi, double x0, double tol, bool increasing, double& root) {
    if (!(lo <= hi)) return false;
    const double sign = increasing ? 1.0 : -1.0;
    double a = lo, b = hi; // sign·f(a) < 0 < sign·f(b) wherever evaluated
    bool aKnown = false, bKnown = false;
    double x = x0 < lo ? lo : (x0 > hi ? hi : x0);
    double xp = 0, fp = 0;
    bool havePrev = false;
    int slow = 0;
    for (int i = 0; i < 200; ++i) {
        const TEval e = f(x);
        const double fx = sign * e.f;
        if (!std::isfinite(fx)) return false;
        if ((x == lo && fx > 0) || (x == hi && fx < 0)) return false; // the root lies beyond an end
        if (fx == 0) {
            root = x;
            return true;
        }
        if (fx < 0) {
            a = x;
            aKnown = true;
        } else {
            b = x;
            bKnown = true;
        }
        double next;
        if (havePrev && fx != fp)
            next = x - fx * (x - xp) / (fx - fp);
        else if (std::isfinite(e.slope) && e.slope != 0)
            next = x - fx / (sign * e.slope);
        else
            next = 0.5 * (a + b);
        const bool fast = havePrev && std::abs(fx) <= 0.1 * std::abs(fp);
        if (std::isfinite(next) && std::abs(next - x) <= tol && fast) {
            root = next < a ? a : (next > b ? b : next);
            return true;
        }
        if (b - a <= tol) {
            root = 0.5 * (a + b);
            if (aKnown && bKnown) return true;
            next = aKnown ? b : a; // close on the end never evaluated
        } else {
            slow = havePrev && std::abs(fx) > 0.5 * std::abs(fp) ? slow + 1 : 0;
            if (slow >= 2) {
                next = 0.5 * (a + b);
                slow = 0;
            }
        }
        if (!std::isfinite(next) || !(next >= a && next <= b) || (next == a && aKnown) ||
            (next == b && bKnown)) {
            // Outside the bracket: try the end never evaluated when the step points there, else bisect.
            if (next <= a && !aKnown)
                next = a;
            else if (next >= b && !bKnown)
                next = b;
            else
                next = 0.5 * (a + b);
        }
        xp = x;
        fp = fx;
        havePrev = true;
        x = next;
    }
    return false;
}

} // namespace aerix
