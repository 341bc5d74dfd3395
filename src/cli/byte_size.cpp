#include "cli/byte_size.h"

#include <QStringList>
#include <array>
#include <limits>

namespace zarame {

namespace {

using Wide = unsigned __int128;  // room for a 19-digit number times a 2^40 unit

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
// Finer fractions than this are refused: 18 digits times the largest unit still fit in Wide.
constexpr qsizetype kMostFractionDigits = 18;
constexpr qsizetype kMostWholeDigits = 19;  // one more is past 2^63 - 1 whatever its unit

struct Unit {
    QStringView name;  // upper case
    std::int64_t multiplier;
};

constexpr std::int64_t Power(std::int64_t base, int exponent) {
    std::int64_t value = 1;
    for (int step = 0; step < exponent; ++step) {
        value *= base;
    }
    return value;
}

constexpr std::array<Unit, 14> kUnits{{
    {u"", 1},
    {u"B", 1},
    {u"K", Power(1024, 1)},
    {u"M", Power(1024, 2)},
    {u"G", Power(1024, 3)},
    {u"T", Power(1024, 4)},
    {u"KIB", Power(1024, 1)},
    {u"MIB", Power(1024, 2)},
    {u"GIB", Power(1024, 3)},
    {u"TIB", Power(1024, 4)},
    {u"KB", Power(1000, 1)},
    {u"MB", Power(1000, 2)},
    {u"GB", Power(1000, 3)},
    {u"TB", Power(1000, 4)},
}};

std::optional<std::int64_t> MultiplierOf(const QString& unit) {
    const QString upper = unit.toUpper();
    for (const Unit& known : kUnits) {
        if (upper == known.name) {
            return known.multiplier;
        }
    }
    return std::nullopt;
}

bool IsDigit(QChar character) {
    return character >= u'0' && character <= u'9';
}

// Commas, where there are any, group the digits in threes from the right.
bool GroupedInThrees(const QString& integer) {
    if (!integer.contains(u',')) {
        return true;
    }
    const QStringList groups = integer.split(u',');
    for (qsizetype index = 0; index < groups.size(); ++index) {
        const qsizetype length = groups[index].size();
        if (index == 0 ? (length < 1 || length > 3) : length != 3) {
            return false;
        }
    }
    return true;
}

Wide DigitsValue(QStringView digits) {
    Wide value = 0;
    for (QChar digit : digits) {
        value = value * 10 + static_cast<unsigned>(digit.unicode() - u'0');
    }
    return value;
}

// A Japanese input method types full-width digits, letters, signs and blanks; they count as their
// ASCII forms (and nothing else does: no superscript or circled digits).
QString HalfWidth(QStringView text) {
    QString ascii;
    ascii.reserve(text.size());
    for (QChar character : text) {
        const char16_t code = character.unicode();
        if (code >= u'\uFF01' && code <= u'\uFF5E') {
            ascii += QChar(static_cast<char16_t>(code - 0xFEE0));
        } else {
            ascii += code == u'\u3000' ? QChar(u' ') : character;
        }
    }
    return ascii;
}

ParsedByteSize Refused(ByteSizeRefusal refusal) {
    return {std::nullopt, refusal};
}

// The written parts of a size: whole digits (commas kept), fraction digits and unit.
struct SizeParts {
    QString integer;
    QString fraction;
    QString unit;
};

std::optional<SizeParts> Split(const QString& text) {
    SizeParts parts;
    qsizetype at = 0;
    while (at < text.size() && (IsDigit(text[at]) || text[at] == u',')) {
        parts.integer += text[at++];
    }
    if (parts.integer.isEmpty() || !IsDigit(parts.integer.front())) {
        return std::nullopt;
    }
    if (at < text.size() && text[at] == u'.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) {
            parts.fraction += text[at++];
        }
        if (parts.fraction.isEmpty()) {
            return std::nullopt;
        }
    }
    parts.unit = text.mid(at).trimmed();
    return parts;
}

}  // namespace

ParsedByteSize ParseByteSize(QStringView text) {
    const QString written = HalfWidth(text).trimmed();
    if (written.isEmpty()) {
        return Refused(ByteSizeRefusal::Empty);
    }
    if (written.front() == u'-') {
        return Refused(ByteSizeRefusal::Negative);
    }
    const std::optional<SizeParts> parts = Split(written);
    if (!parts) {
        return Refused(ByteSizeRefusal::NotNumber);
    }
    if (!GroupedInThrees(parts->integer)) {
        return Refused(ByteSizeRefusal::BadGrouping);
    }
    const std::optional<std::int64_t> multiplier = MultiplierOf(parts->unit);
    if (!multiplier) {
        return Refused(ByteSizeRefusal::UnknownUnit);
    }
    QString integer = parts->integer;
    integer.remove(u',');
    while (integer.size() > 1 && integer.front() == u'0') {
        integer.remove(0, 1);
    }
    QString fraction = parts->fraction;
    while (fraction.endsWith(u'0')) {
        fraction.chop(1);
    }
    if (integer.size() > kMostWholeDigits) {
        return Refused(ByteSizeRefusal::TooLarge);
    }
    if (fraction.size() > kMostFractionDigits) {
        return Refused(ByteSizeRefusal::NotWholeBytes);
    }
    const Wide unit = static_cast<Wide>(*multiplier);
    const Wide fractionBytes = DigitsValue(fraction) * unit;
    const Wide denominator = DigitsValue(QString(u'1') + QString(fraction.size(), u'0'));
    if (fractionBytes % denominator != 0) {
        return Refused(ByteSizeRefusal::NotWholeBytes);
    }
    const Wide bytes = DigitsValue(integer) * unit + fractionBytes / denominator;
    if (bytes > static_cast<Wide>(kLargest)) {
        return Refused(ByteSizeRefusal::TooLarge);
    }
    return {static_cast<std::int64_t>(bytes), ByteSizeRefusal::Empty};
}

QString ByteSizeRefusalText(ByteSizeRefusal refusal, const QString& option, const QString& text) {
    const QString subject = QStringLiteral("--%1 の値「%2」").arg(option, text);
    switch (refusal) {
        case ByteSizeRefusal::Empty:
            return QStringLiteral("--%1 にサイズがありません").arg(option);
        case ByteSizeRefusal::Negative:
            return subject + QStringLiteral(": サイズに負の値は指定できません");
        case ByteSizeRefusal::NotNumber:
            return subject +
                   QStringLiteral(": サイズは数字で書いてください (例: 1536、1,536、10K、1.5G)");
        case ByteSizeRefusal::BadGrouping:
            return subject + QStringLiteral(": カンマは 3 桁ごとの区切りにだけ使えます");
        case ByteSizeRefusal::UnknownUnit:
            return subject + QStringLiteral(
                                 ": 単位は B、K、M、G、T (1024 倍ごと)、KiB～TiB (1024 倍ごと)、"
                                 "KB～TB (1000 倍ごと) のいずれかです");
        case ByteSizeRefusal::NotWholeBytes:
            return subject + QStringLiteral(": 小数はバイト数が整数になる値だけ指定できます");
        case ByteSizeRefusal::TooLarge:
            return subject +
                   QStringLiteral(": サイズが大きすぎます (最大 9,223,372,036,854,775,807 バイト)");
    }
    return subject;
}

}  // namespace zarame
