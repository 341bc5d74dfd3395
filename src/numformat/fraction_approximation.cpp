#include "numformat/fraction_approximation.h"

#include <algorithm>
#include <cmath>

namespace zarame::numformat {
namespace {

// A fraction's arithmetic is done in 128 bits: 15 significant digits times an 18-digit
// denominator is below 10^33, so no product of the two can overflow or lose a digit.
using Wide = unsigned __int128;

// The significant digits of a form, read as a whole number (at most 15 digits).
long long DigitsValue(const DecimalForm& form, int from, int to) {
    long long value = 0;
    for (int index = from; index < to; ++index) {
        value = value * 10 + (form.digits[index] - '0');
    }
    return value;
}

QString WideDigits(Wide value) {
    char text[40];
    int length = 0;
    do {
        text[length++] = static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    } while (value != 0);
    std::reverse(text, text + length);
    return QString::fromLatin1(text, length);
}

}  // namespace

SplitDecimal SplitAtPoint(const DecimalForm& form) {
    SplitDecimal split;
    const int wholeCount = std::clamp(form.pointPosition, 0, form.count);
    if (wholeCount > 0) {
        // Zeros inside the whole part stay digits: a whole with a fraction has no exponent.
        split.whole = form;
        split.whole.count = wholeCount;
    }
    split.fractionDigits = DigitsValue(form, wholeCount, form.count);
    split.fractionPlaces = form.count - form.pointPosition;
    if (split.fractionDigits == 0) {
        split.fractionPlaces = 0;
    }
    return split;
}

Fraction NearestFraction(const SplitDecimal& value, long long maxDenominator) {
    const double rest = static_cast<double>(value.fractionDigits) /
                        std::pow(10.0, static_cast<double>(value.fractionPlaces));
    // Continued-fraction convergents p/q, then the best semiconvergent within the bound. The
    // value is below 1, so no term passes the bound and no product overflows.
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double x = rest;
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
        const double left = x - whole;
        if (left < 1e-12) {
            break;
        }
        x = 1 / left;
    }
    const long long k = (maxDenominator - q0) / q1;
    const Fraction convergent{p1, q1};
    const Fraction semiconvergent{p0 + k * p1, q0 + k * q1};
    const auto distance = [rest](const Fraction& f) {
        return std::fabs(rest -
                         static_cast<double>(f.numerator) / static_cast<double>(f.denominator));
    };
    return distance(semiconvergent) < distance(convergent) ? semiconvergent : convergent;
}

Fraction FractionWithDenominator(const SplitDecimal& value, long long denominator) {
    Fraction fraction{0, denominator};
    // Below 10^33 / 10^34 the part rounds to nothing, and a bigger power would overflow.
    if (value.fractionDigits == 0 || value.fractionPlaces > 34) {
        return fraction;
    }
    Wide power = 1;
    for (int place = 0; place < value.fractionPlaces; ++place) {
        power *= 10;
    }
    const Wide units = static_cast<Wide>(value.fractionDigits) * static_cast<Wide>(denominator);
    fraction.numerator = static_cast<long long>((units + power / 2) / power);
    return fraction;
}

QString ImproperNumerator(const DecimalForm& whole, const Fraction& fraction) {
    if (whole.IsZero()) {
        return QString::number(fraction.numerator);
    }
    // whole = digits × 10^zeros; a whole that has a part after the point has no zeros to add.
    const int zeros = whole.pointPosition - whole.count;
    const Wide units = static_cast<Wide>(DigitsValue(whole, 0, whole.count)) *
                           static_cast<Wide>(fraction.denominator) +
                       (zeros == 0 ? static_cast<Wide>(fraction.numerator) : 0);
    return WideDigits(units) + QString(zeros, u'0');
}

DecimalForm NextWhole(const DecimalForm& whole) {
    const int zeros = whole.IsZero() ? 0 : whole.pointPosition - whole.count;
    const double value =
        static_cast<double>(DigitsValue(whole, 0, whole.count)) * std::pow(10.0, zeros);
    return ToDecimalForm(value + 1);
}

}  // namespace zarame::numformat
