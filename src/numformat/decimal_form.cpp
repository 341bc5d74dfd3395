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

}  // namespace

DecimalForm ToDecimalForm(double magnitude) {
    DecimalForm form;
    if (!(magnitude > 0)) {
        return form;
    }
    // d.dddde±xxx: the shortest form that reads back as the same value is, when it has at most
    // 15 digits, also the value rounded to 15 digits, and much quicker to get. Not so below the
    // normal range, where one binary step is wider than a 15th digit.
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    const char* exponentMark = std::find(text, result.ptr, 'e');
    if (exponentMark - text > DecimalForm::kMaxDigits + 1 ||
        magnitude < std::numeric_limits<double>::min()) {
        result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                               DecimalForm::kMaxDigits - 1);
    }
    const char* end = result.ptr;
    const char* p = text;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            form.digits[form.count++] = *p;
        }
    }
    int exponent = 0;
    if (p < end && p + 1 < end) {
        const char* digits = p[1] == '+' || p[1] == '-' ? p + 2 : p + 1;
        std::from_chars(digits, end, exponent);
        exponent = p[1] == '-' ? -exponent : exponent;
    }
    form.pointPosition = exponent + 1;
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
