#include "numformat/decimal_form.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace zarame::numformat {
namespace {

void StripTrailingZeros(DecimalForm& form) {
    while (form.count > 0 && form.digits[form.count - 1] == '0') {
        --form.count;
    }
}

// The digits and exponent of to_chars' d.dddde±xx text.
struct ScientificText {
    char digits[24] = {};
    int count = 0;
    int exponent = 0;
};

ScientificText ToScientific(double magnitude, int precision) {
    char text[40];
    const auto result = precision < 0 ? std::to_chars(text, text + sizeof text, magnitude,
                                                      std::chars_format::scientific)
                                      : std::to_chars(text, text + sizeof text, magnitude,
                                                      std::chars_format::scientific, precision);
    ScientificText scientific;
    const char* p = text;
    for (; p < result.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9' && scientific.count < 24) {
            scientific.digits[scientific.count++] = *p;
        }
    }
    if (p + 1 < result.ptr) {
        const char* digits = p[1] == '+' || p[1] == '-' ? p + 2 : p + 1;
        std::from_chars(digits, result.ptr, scientific.exponent);
        scientific.exponent = p[1] == '-' ? -scientific.exponent : scientific.exponent;
    }
    return scientific;
}

// Cuts the shortest form (16 or 17 digits) to 15, rounding half up. Returns false when the
// digits cut off are too close to a half for the shortest form to decide: the value itself
// lies within half a binary step (at most 11 units of the 17th digit) of its shortest form.
bool RoundShortestTo15(ScientificText& scientific) {
    const int tail = (scientific.digits[15] - '0') * 10 +
                     (scientific.count > 16 ? scientific.digits[16] - '0' : 0);
    if (tail >= 38 && tail <= 62) {
        return false;
    }
    scientific.count = DecimalForm::kMaxDigits;
    if (tail > 50) {
        int i = scientific.count - 1;
        while (i >= 0 && scientific.digits[i] == '9') {
            scientific.digits[i--] = '0';
        }
        if (i >= 0) {
            ++scientific.digits[i];
        } else {
            scientific.digits[0] = '1';
            ++scientific.exponent;
        }
    }
    return true;
}

}  // namespace

DecimalForm ToDecimalForm(double magnitude) {
    DecimalForm form;
    if (!(magnitude > 0)) {
        return form;
    }
    // The shortest form that reads back as the same value gives the 15-digit rounding directly
    // when it has at most 15 digits, or when its further digits are clear of a half; it is much
    // quicker than formatting to 15 digits. Not so below the normal range, where one binary
    // step is wider than a 15th digit.
    ScientificText scientific;
    const bool normal = magnitude >= std::numeric_limits<double>::min();
    if (normal) {
        scientific = ToScientific(magnitude, -1);
    }
    if (!normal || (scientific.count > DecimalForm::kMaxDigits && !RoundShortestTo15(scientific))) {
        scientific = ToScientific(magnitude, DecimalForm::kMaxDigits - 1);
    }
    form.count = std::min(scientific.count, DecimalForm::kMaxDigits);
    std::copy(scientific.digits, scientific.digits + form.count, form.digits);
    form.pointPosition = scientific.exponent + 1;
    StripTrailingZeros(form);
    return form;
}

void RoundToDecimals(DecimalForm& form, int decimals) {
    const long keep = static_cast<long>(form.pointPosition) + decimals;
    if (keep >= form.count) {
        return;
    }
    if (keep < 0 || (keep == 0 && form.digits[0] < '5')) {
        form.count = 0;
        form.pointPosition = 0;
        return;
    }
    const bool roundUp = form.digits[keep] >= '5';
    form.count = static_cast<int>(keep);
    if (roundUp) {
        int i = form.count - 1;
        while (i >= 0 && form.digits[i] == '9') {
            form.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++form.digits[i];
        } else {
            // 9.99 became 10.0: one digit more before the point.
            form.digits[0] = '1';
            form.count = 1;
            ++form.pointPosition;
        }
    }
    StripTrailingZeros(form);
    if (form.count == 0) {
        form.pointPosition = 0;
    }
}

}  // namespace zarame::numformat
