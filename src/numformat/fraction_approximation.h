#pragma once

namespace zarame::numformat {

struct Fraction {
    long long numerator = 0;
    long long denominator = 1;
};

// The fraction nearest to `value` (not negative, below 1e15) whose denominator does not pass
// `maxDenominator` (at least 1): 0.3 with one-digit denominators gives 2/7.
Fraction NearestFraction(double value, long long maxDenominator);

// `value` in units of a fixed denominator, rounded half away from zero: 0.3 in eighths is 2/8.
Fraction FractionWithDenominator(double value, long long denominator);

}  // namespace zarame::numformat
