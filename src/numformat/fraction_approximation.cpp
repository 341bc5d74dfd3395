#include "numformat/fraction_approximation.h"

#include <cmath>

namespace zarame::numformat {

Fraction NearestFraction(double value, long long maxDenominator) {
    // Continued-fraction convergents p/q, then the best semiconvergent within the bound.
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double x = value;
    for (int step = 0; step < 64; ++step) {
        const double whole = std::floor(x);
        if (q1 > 0 && whole > static_cast<double>(maxDenominator - q0) / static_cast<double>(q1)) {
            break;
        }
        const auto a = static_cast<long long>(whole);
        const long long p2 = p0 + a * p1;
        const long long q2 = q0 + a * q1;
        p0 = p1;
        q0 = q1;
        p1 = p2;
        q1 = q2;
        const double rest = x - whole;
        if (rest < 1e-12) {
            break;
        }
        x = 1 / rest;
    }
    const long long k = (maxDenominator - q0) / q1;
    const Fraction convergent{p1, q1};
    const Fraction semiconvergent{p0 + k * p1, q0 + k * q1};
    const auto distance = [value](const Fraction& f) {
        return std::fabs(value -
                         static_cast<double>(f.numerator) / static_cast<double>(f.denominator));
    };
    return distance(semiconvergent) < distance(convergent) ? semiconvergent : convergent;
}

Fraction FractionWithDenominator(double value, long long denominator) {
    return {static_cast<long long>(std::floor(value * static_cast<double>(denominator) + 0.5)),
            denominator};
}

}  // namespace zarame::numformat
