// libFuzzer target for the number-format engine. The input is a value and a format code, the
// text a text cell would show under the same code, and a date system:
//
//   8 bytes  the value, a double in the machine's byte order
//   1 byte   bit 0: the 1904 date system
//   rest     the code in UTF-8, then optionally a NUL and a cell text
//
// The code is rendered for the value and for a fixed list of values that reach every branch of
// the number, fraction and date renderers whatever bits the fuzzer chose. Every outcome but a
// text within the displayed-text cap (one unit past it for a cut text) is a finding; the
// sanitizers report the rest.

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "numformat/cell_format.h"

namespace {

constexpr double kValues[] = {0,
                              1,
                              -1,
                              0.5,
                              0.3,
                              -2.75,
                              3.14159265358979,
                              1e15,
                              1e21,
                              -1e300,
                              1e-300,
                              45356.5,
                              2958466,
                              0.999999999,
                              1e9,
                              12345.678,
                              4e-324,
                              9.2233720368547758e18};

void Check(const QString& text) {
    if (text.size() > zarame::numformat::kMaxDisplayedLength + 1) {
        std::abort();
    }
}

// A fraction shown equals the value: `code` is ?/D (fixed) or ?/??? (nearest within
// `largestDenominator`), and the numerator over the denominator it shows is the value to within
// half a step of D (or a step of the largest denominator) and the engine's 15 digits.
void CheckFraction(double value, const QString& code, long double largestDenominator) {
    const QString text =
        zarame::numformat::FormatNumber(value, code, zarame::numformat::DateSystem::Date1900);
    const qsizetype slash = text.indexOf(u'/');
    if (text.size() > zarame::numformat::kMaxDisplayedLength || slash < 0) {
        return;  // cut, or a code the engine does not honour
    }
    const long double numerator = std::strtold(text.left(slash).toLatin1().constData(), nullptr);
    const long double denominator =
        std::strtold(text.mid(slash + 1).toLatin1().constData(), nullptr);
    const long double shown = numerator / denominator;
    const long double magnitude = std::fabs(static_cast<long double>(value));
    if (std::fabs(std::fabs(shown) - magnitude) > magnitude * 1e-14L + 1 / largestDenominator) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zarame::numformat;
    if (size < 9) {
        return 0;
    }
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const DateSystem system = (data[8] & 1) != 0 ? DateSystem::Date1904 : DateSystem::Date1900;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 9,
                          static_cast<qsizetype>(size - 9));
    const qsizetype split = rest.indexOf('\0');
    const QString code = QString::fromUtf8(split < 0 ? rest : rest.left(split));
    const QString text = split < 0 ? QString() : QString::fromUtf8(rest.mid(split + 1));
    Check(FormatNumber(value, code, system));
    for (const double fixed : kValues) {
        Check(FormatNumber(fixed, code, system));
    }
    Check(FormatText(text, code));
    if (size >= 17 && std::isfinite(value)) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, data + 9, sizeof bits);
        const long long denominator = static_cast<long long>(bits % 999999999999999999ULL) + 1;
        CheckFraction(value, QStringLiteral("?/") + QString::number(denominator),
                      static_cast<long double>(denominator));
        CheckFraction(value, QStringLiteral("?/???"), 999);
    }
    return 0;
}
