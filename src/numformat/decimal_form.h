#pragma once

namespace zarame::numformat {

// A non-negative value as the spreadsheet keeps it for display: at most 15 significant decimal
// digits, without trailing zeros. value = 0.d0 d1 d2 … × 10^pointPosition.
struct DecimalForm {
    static constexpr int kMaxDigits = 15;
    char digits[kMaxDigits + 1] = {};
    int count = 0;          // 0 for zero
    int pointPosition = 0;  // how many of the digits stand before the decimal point

    bool IsZero() const { return count == 0; }
    // The digit at a place value: 0 for units, 1 for tens, -1 for tenths; '0' outside the digits.
    char DigitAtPlace(int place) const {
        const int index = pointPosition - 1 - place;
        return index >= 0 && index < count ? digits[index] : '0';
    }
    // Digits before the point (0 when the value is below 1).
    int IntegerLength() const { return count == 0 ? 0 : (pointPosition > 0 ? pointPosition : 0); }
    // Decimal places up to the last non-zero digit.
    int DecimalLength() const { return count - pointPosition > 0 ? count - pointPosition : 0; }
};

// `magnitude` must be finite and not negative.
DecimalForm ToDecimalForm(double magnitude);

// Rounds half away from zero to `decimals` places after the point (negative: to tens,
// hundreds, …), on the decimal digits rather than on the binary value, so 1.005 gives 1.01.
void RoundToDecimals(DecimalForm& form, int decimals);

}  // namespace zarame::numformat
