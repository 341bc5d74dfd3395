#pragma once

#include <QString>

#include "numformat/decimal_form.h"

namespace zarame::numformat {

struct Fraction {
    long long numerator = 0;
    long long denominator = 1;
};

// A value as the spreadsheet keeps it (15 significant digits) split at its decimal point: the
// whole part, and the part after the point as fractionDigits / 10^fractionPlaces.
struct SplitDecimal {
    DecimalForm whole;
    long long fractionDigits = 0;
    int fractionPlaces = 0;
};

SplitDecimal SplitAtPoint(const DecimalForm& form);

// The fraction nearest to the part after the point whose denominator does not pass
// `maxDenominator` (at least 1): 0.3 with one-digit denominators gives 2/7.
Fraction NearestFraction(const SplitDecimal& value, long long maxDenominator);

// The part after the point in units of a fixed denominator of at most 18 digits, rounded half
// away from zero on the decimal digits themselves: 0.3 in eighths is 2/8, and 0.3 in
// thousand-millionths is exactly 300000000.
Fraction FractionWithDenominator(const SplitDecimal& value, long long denominator);

// The digits of whole × denominator + numerator: the numerator a fraction without an integer
// part shows. Exact however many digits the whole has (1e20 in halves is 200000000000000000000).
QString ImproperNumerator(const DecimalForm& whole, const Fraction& fraction);

// The whole part plus one, for a fraction that rounds up to a whole (below 1e15).
DecimalForm NextWhole(const DecimalForm& whole);

}  // namespace zarame::numformat
