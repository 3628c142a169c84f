#include "aircon/FloatCheck.h"

#include <cmath>

double Finite(double x) {
    if (std::isnan(x)) throw EMathError(FloatMessages::InvalidOp);
    if (std::isinf(x)) throw EMathError(FloatMessages::Overflow);
    return x;
}

double Divide(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) throw EMathError(FloatMessages::InvalidOp);
    if (b == 0) throw EMathError(a == 0 ? FloatMessages::InvalidOp : FloatMessages::ZeroDivide);
    return Finite(a / b);
}
