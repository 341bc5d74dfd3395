#include "numformat/number_section.h"

#include <cmath>

#include "numformat/decimal_form.h"
#include "numformat/fraction_approximation.h"
#include "numformat/general_format.h"

namespace zarame::numformat {
namespace {

// Digits for a run of placeholders, right-aligned: the first placeholder takes every digit
// beyond the run's length.
struct IntegerDigits {
    const DecimalForm* form = nullptr;
    int length = 0;  // digits the value has before the point
    bool grouping = false;
};

void AppendPlaceFill(QString& out, char16_t placeholder) {
    if (placeholder == u'0') {
        out += u'0';
    } else if (placeholder == u'?') {
        out += u' ';
    }
}

void AppendIntegerDigit(QString& out, const IntegerDigits& digits, int place, char digit) {
    out += QLatin1Char(digit);
    if (digits.grouping && place > 0 && place % 3 == 0) {
        out += u',';
    }
}

// Placeholder `index` of `count`, counted from the left.
void AppendIntegerPlaceholder(QString& out, const IntegerDigits& digits, int index, int count,
                              char16_t placeholder) {
    const int place = count - 1 - index;
    if (index == 0 && digits.length > place) {
        for (int p = digits.length - 1; p >= place; --p) {
            AppendIntegerDigit(out, digits, p, digits.form->DigitAtPlace(p));
        }
    } else if (place < digits.length) {
        AppendIntegerDigit(out, digits, place, digits.form->DigitAtPlace(place));
    } else if (placeholder == u'0') {
        AppendIntegerDigit(out, digits, place, '0');
    } else {
        AppendPlaceFill(out, placeholder);
    }
}

void AppendDecimalPlaceholder(QString& out, const DecimalForm& form, int place,
                              char16_t placeholder) {
    if (place <= form.DecimalLength()) {
        out += QLatin1Char(form.DigitAtPlace(-place));
    } else {
        AppendPlaceFill(out, placeholder);
    }
}

// The largest denominator a run of denominator placeholders holds (?? holds 99), seven
// digits at most.
long long MaxDenominator(int digits) {
    long long largest = 1;
    for (int i = 0; i < digits && i < 7; ++i) {
        largest *= 10;
    }
    return largest > 1 ? largest - 1 : 1;
}

DecimalForm WholeNumberForm(long long value) {
    return ToDecimalForm(static_cast<double>(value));
}

struct ScientificParts {
    DecimalForm mantissa;
    int exponent = 0;
};

// The exponent is a multiple of the integer placeholder count, so ##0.0E+0 gives engineering
// notation (12.3E+3) and 0.00E+00 one digit before the point.
ScientificParts SplitScientific(const DecimalForm& form, const NumberLayout& layout) {
    ScientificParts parts;
    if (form.IsZero()) {
        return parts;
    }
    const int step = layout.integerDigits > 0 ? layout.integerDigits : 1;
    const auto place = [step](int exponent) {
        return exponent >= 0 ? exponent / step * step : -((-exponent + step - 1) / step) * step;
    };
    parts.exponent = place(form.pointPosition - 1);
    parts.mantissa = form;
    parts.mantissa.pointPosition -= parts.exponent;
    RoundToDecimals(parts.mantissa, layout.decimalDigits);
    if (parts.mantissa.IntegerLength() > step) {
        parts.exponent += step;
        parts.mantissa = form;
        parts.mantissa.pointPosition -= parts.exponent;
        RoundToDecimals(parts.mantissa, layout.decimalDigits);
    }
    return parts;
}

class NumberWriter {
public:
    NumberWriter(const Section& section, QString& out) : section_(section), out_(out) {}

    void WriteDecimal(double magnitude, double value, SignDisplay sign) {
        const NumberLayout& layout = section_.number;
        DecimalForm form = ToDecimalForm(magnitude);
        if (!form.IsZero()) {
            form.pointPosition += layout.powerOfTen;
        }
        if (!layout.scientific) {
            RoundToDecimals(form, layout.decimalDigits);
        } else {
            const ScientificParts parts = SplitScientific(form, layout);
            form = parts.mantissa;
            exponent_ = parts.exponent;
            exponentForm_ = WholeNumberForm(exponent_ < 0 ? -exponent_ : exponent_);
            showZeroUnits_ = form.IsZero();  // 0 in #.##E+00 still shows its units digit
        }
        WriteSign(value, sign, form.IsZero());
        WriteTokens(form, value, sign);
    }

    void WriteFraction(double magnitude, double value, SignDisplay sign) {
        const NumberLayout& layout = section_.number;
        // The fraction is worked out on the value as the spreadsheet keeps it, exactly: what it
        // shows always equals the value, however large the value or the denominator.
        DecimalForm scaled = ToDecimalForm(magnitude);
        if (!scaled.IsZero()) {
            scaled.pointPosition += layout.powerOfTen;
        }
        const SplitDecimal split = SplitAtPoint(scaled);
        fraction_ = layout.fixedDenominator > 0
                        ? FractionWithDenominator(split, layout.fixedDenominator)
                        : NearestFraction(split, MaxDenominator(layout.denominatorDigits));
        DecimalForm whole = split.whole;
        if (layout.fractionHasInteger) {
            if (fraction_.numerator >= fraction_.denominator) {
                whole = NextWhole(whole);
                fraction_.numerator = 0;
            }
            numerator_ = QString::number(fraction_.numerator);
        } else {
            numerator_ = ImproperNumerator(whole, fraction_);
            whole = {};
        }
        denominator_ = QString::number(fraction_.denominator);
        fractionHidden_ = layout.fractionHasInteger && fraction_.numerator == 0;
        if (fractionHidden_ && whole.IsZero()) {
            showZeroUnits_ = true;
        }
        WriteSign(value, sign, whole.IsZero() && numerator_ == u"0");
        WriteTokens(whole, value, sign);
    }

private:
    void WriteSign(double value, SignDisplay sign, bool roundsToZero) {
        if (value < 0 && sign == SignDisplay::Shown && !roundsToZero &&
            !section_.number.hasGeneral) {
            out_ += u'-';
        }
    }

    void WriteTokens(const DecimalForm& form, double value, SignDisplay sign) {
        const NumberLayout& layout = section_.number;
        form_ = &form;
        integer_ = {&form, form.IntegerLength(), layout.grouping};
        if (showZeroUnits_) {
            zeroForm_.digits[0] = '0';
            zeroForm_.count = 1;
            zeroForm_.pointPosition = 1;
            integer_ = {&zeroForm_, 1, false};
        }
        for (const Token& token : section_.tokens) {
            switch (token.kind) {
                case TokenKind::DigitPlaceholder:
                    WritePlaceholder(token);
                    break;
                case TokenKind::DecimalPoint:
                    if (layout.integerDigits == 0) {
                        // No integer placeholders: the integer digits still show before the point.
                        for (int p = integer_.length - 1; p >= 0; --p) {
                            AppendIntegerDigit(out_, integer_, p, integer_.form->DigitAtPlace(p));
                        }
                    }
                    out_ += u'.';
                    break;
                case TokenKind::Exponent:
                    out_ += token.text[0];
                    if (exponent_ < 0) {
                        out_ += u'-';
                    } else if (token.exponentPlus) {
                        out_ += u'+';
                    }
                    break;
                case TokenKind::FractionSlash:
                    out_ += fractionHidden_ ? u' ' : u'/';
                    break;
                case TokenKind::General:
                    AppendGeneral(out_, sign == SignDisplay::Dropped ? std::fabs(value) : value);
                    break;
                default:
                    out_ += token.text;
                    break;
            }
        }
    }

    void WritePlaceholder(const Token& token) {
        const NumberLayout& layout = section_.number;
        int& index = placeholderIndex_[static_cast<int>(token.role)];
        switch (token.role) {
            case DigitRole::Integer:
                AppendIntegerPlaceholder(out_, integer_, index++, layout.integerDigits,
                                         token.placeholder);
                break;
            case DigitRole::Decimal:
                AppendDecimalPlaceholder(out_, *form_, ++index, token.placeholder);
                break;
            case DigitRole::Exponent: {
                const IntegerDigits exponent{&exponentForm_, exponentForm_.IntegerLength(), false};
                AppendIntegerPlaceholder(out_, exponent, index++, layout.exponentDigits,
                                         token.placeholder);
                break;
            }
            case DigitRole::Numerator:
                WriteNumerator(index++, token);
                break;
            case DigitRole::Denominator:
                WriteDenominator(index++, token);
                break;
        }
    }

    // A fraction that rounds to nothing beside an integer part turns into blanks.
    bool WriteHiddenFractionPart() {
        if (fractionHidden_) {
            out_ += u' ';
        }
        return fractionHidden_;
    }

    // Numerators align right: the first placeholder takes the digits beyond the run's length.
    void WriteNumerator(int index, const Token& token) {
        if (WriteHiddenFractionPart()) {
            return;
        }
        const int count = section_.number.numeratorDigits;
        const int length = static_cast<int>(numerator_.size());
        const int place = count - 1 - index;
        if (index == 0 && length > place) {
            out_ += QStringView(numerator_).left(length - place);
        } else if (place < length) {
            out_ += numerator_[length - 1 - place];
        } else {
            AppendPlaceFill(out_, token.placeholder);
        }
    }

    // Denominators align left, or are the fixed number the code names.
    void WriteDenominator(int index, const Token& token) {
        if (section_.number.fixedDenominator > 0) {
            out_ += fractionHidden_ ? QString(token.text.size(), u' ') : token.text;
            return;
        }
        if (WriteHiddenFractionPart()) {
            return;
        }
        const int count = section_.number.denominatorDigits;
        const int length = static_cast<int>(denominator_.size());
        if (index < length) {
            out_ += index == count - 1 ? QStringView(denominator_).mid(index)
                                       : QStringView(denominator_).mid(index, 1);
        } else {
            AppendPlaceFill(out_, token.placeholder == u'0' ? u'?' : token.placeholder);
        }
    }

    const Section& section_;
    QString& out_;
    const DecimalForm* form_ = nullptr;
    IntegerDigits integer_;
    int placeholderIndex_[5] = {};  // by DigitRole
    DecimalForm exponentForm_;
    DecimalForm zeroForm_;
    int exponent_ = 0;
    Fraction fraction_;
    QString numerator_;
    QString denominator_;
    bool fractionHidden_ = false;
    bool showZeroUnits_ = false;
};

}  // namespace

void RenderNumberSection(const Section& section, double value, SignDisplay sign, QString& out) {
    NumberWriter writer(section, out);
    if (section.number.fraction) {
        writer.WriteFraction(std::fabs(value), value, sign);
    } else {
        writer.WriteDecimal(std::fabs(value), value, sign);
    }
}

}  // namespace zarame::numformat
