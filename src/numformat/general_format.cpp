#include "numformat/general_format.h"

#include <cmath>

#include "numformat/decimal_form.h"

namespace zarame::numformat {
namespace {

constexpr int kWidth = 11;

void AppendDigits(QString& out, const DecimalForm& form, int from, int to) {
    for (int i = from; i < to; ++i) {
        out += QLatin1Char(i < form.count ? form.digits[i] : '0');
    }
}

void AppendScientific(QString& out, DecimalForm form) {
    int exponent = form.pointPosition - 1;
    const int exponentDigits = std::abs(exponent) >= 100 ? 3 : 2;
    form.pointPosition = 1;
    // "d." + decimals + "E+" + exponent fills the width.
    RoundToDecimals(form, kWidth - 4 - exponentDigits);
    if (form.pointPosition > 1) {
        ++exponent;
        form.pointPosition = 1;
    }
    AppendDigits(out, form, 0, 1);
    if (form.count > 1) {
        out += u'.';
        AppendDigits(out, form, 1, form.count);
    }
    out += exponent < 0 ? u"E-" : u"E+";
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) {
        out += u'0';
    }
    out += QString::number(magnitude);
}

}  // namespace

void AppendGeneral(QString& out, double value) {
    if (value < 0) {
        out += u'-';
    }
    const DecimalForm exact = ToDecimalForm(std::fabs(value));
    if (exact.IsZero()) {
        out += u'0';
        return;
    }
    const int exponent = exact.pointPosition - 1;
    // Below 1E-04 the number shows in full when all its digits fit ("0.00001"), otherwise
    // scientific ("1.23456E-05") rather than cut short.
    const bool fitsInFull = exponent > -5 || 1 - exponent + exact.count <= kWidth;
    if (!fitsInFull || exponent >= kWidth) {
        AppendScientific(out, exact);
        return;
    }
    // Whatever the integer part leaves of the width, less the point, goes to decimals.
    DecimalForm form = exact;
    const int room = kWidth - 2 - (exponent > 0 ? exponent : 0);
    RoundToDecimals(form, room > 0 ? room : 0);
    if (form.IntegerLength() > kWidth) {
        AppendScientific(out, exact);
        return;
    }
    if (form.IntegerLength() == 0) {
        out += u'0';
    } else {
        AppendDigits(out, form, 0, form.pointPosition);
    }
    if (form.DecimalLength() > 0) {
        out += u'.';
        for (int place = -1; place >= -form.DecimalLength(); --place) {
            out += QLatin1Char(form.DigitAtPlace(place));
        }
    }
}

}  // namespace zarame::numformat
