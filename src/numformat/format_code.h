#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A number format code broken into the pieces the renderers walk: plain data, built once per
// distinct code and kept in the cache.
namespace zarame::numformat {

enum class TokenKind : std::uint8_t {
    Literal,           // text shown as it stands
    DigitPlaceholder,  // 0, # or ?
    DecimalPoint,
    Exponent,  // E+ or E-
    FractionSlash,
    TextPlaceholder,  // @
    General,
    DatePart,
    AmPm,     // AM/PM or A/P: morning text in `text`, afternoon text in `alternative`
    Comma,    // thousands grouping, scaling or a plain comma: settled once the section is read
    Percent,  // a literal % that also multiplies by 100
};

// What a digit placeholder stands for in a number section.
enum class DigitRole : std::uint8_t { Integer, Decimal, Exponent, Numerator, Denominator };

enum class DatePart : std::uint8_t {
    Year2,
    Year4,
    Month,
    MonthName,    // mmm: Jan / 1月
    MonthFull,    // mmmm: January / 1月
    MonthLetter,  // mmmmm: J / 1
    Day,
    WeekdayName,          // ddd: Mon / 月
    WeekdayFull,          // dddd: Monday / 月曜日
    JapaneseWeekday,      // aaa: 月
    JapaneseWeekdayFull,  // aaaa: 月曜日
    Hour,
    Minute,
    Second,
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    SubSecond,  // the digits after the decimal point of the seconds
    EraYear,
    EraLetter,  // g: R
    EraShort,   // gg: 令
    EraFull,    // ggg: 令和
};

struct Token {
    TokenKind kind = TokenKind::Literal;
    char16_t placeholder = u'0';  // DigitPlaceholder: '0', '#' or '?'
    DigitRole role = DigitRole::Integer;
    DatePart datePart = DatePart::Day;
    std::uint8_t width = 1;     // DatePart: letters written (mm is 2); SubSecond: digits
    bool exponentPlus = false;  // Exponent: E+ shows the plus sign
    QString text;               // Literal text; the code's own letters for every other token
    QString alternative;        // AmPm: afternoon text
};

enum class SectionKind : std::uint8_t { Number, Date, Text };
enum class Comparison : std::uint8_t {
    None,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Equal,
    NotEqual
};
enum class Language : std::uint8_t { Default, Japanese };
enum class KanjiNumerals : std::uint8_t { None, Plain, Formal, FullWidth };  // [DBNum1]..[DBNum3]

struct Condition {
    Comparison comparison = Comparison::None;
    double operand = 0;
};

// The shape of a number section, worked out once when the code is parsed.
struct NumberLayout {
    int integerDigits = 0;
    int decimalDigits = 0;
    int exponentDigits = 0;
    int numeratorDigits = 0;
    int denominatorDigits = 0;
    long long fixedDenominator = 0;  // ?/8 divides into eighths
    int powerOfTen = 0;              // +2 per %, -3 per scaling comma
    bool grouping = false;
    bool scientific = false;
    bool fraction = false;
    bool fractionHasInteger = false;
    bool hasGeneral = false;
};

struct Section {
    SectionKind kind = SectionKind::Number;
    std::vector<Token> tokens;
    Condition condition;
    Language language = Language::Default;
    bool eraFirstYearAsGannen = false;  // year 1 of an era shown as 元
    KanjiNumerals kanji = KanjiNumerals::None;
    NumberLayout number;
    bool twelveHour = false;  // an AM/PM token makes hours run 1..12
    int subSecondDigits = 0;
    bool empty = true;       // no token at all: the value is hidden
    bool malformed = false;  // an unclosed quote or bracket, a dangling escape, a bad condition
};

struct ParsedFormat {
    std::vector<Section> sections;  // in code order, at most four
    int numericCount = 0;           // the first sections that show numbers
    int textSection = -1;           // the section that shows text, or -1 to show text unchanged
    bool conditional = false;       // the first or second section carries a condition
};

}  // namespace zarame::numformat
