// The rendering table: one row per case (format code, value, expected text), grouped by feature.
// The rows were cross-checked against LibreOffice and numfmt; where those differ from the
// spreadsheet the comment above the group says which way the table goes.
#include <gtest/gtest.h>

#include <span>

#include "numformat/cell_format.h"

namespace zarame::numformat {
namespace {

struct Row {
    const char* code;
    double value;
    const char* expected;
};

struct TextRow {
    const char* code;
    const char* text;
    const char* expected;
};

// clang-format off
// The cases the displayed names depend on most.
constexpr Row kKeyCases[] = {
    {"000", 1, "001"},
    {"0.00", 1.005, "1.01"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 32515, "昭和64年1月7日"},
    {R"~([$-ja-JP-x-gannen,80]ggge"年"m"月"d"日")~", 43586, "令和元年5月1日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 4594, "明治45年7月29日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 4595, "大正1年7月30日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 9855, "大正15年12月24日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 9856, "昭和1年12月25日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 43585, "平成31年4月30日"},
    {R"~(#,##0_ ;[赤]\-#,##0\ )~", 1234, "1,234 "},
    {R"~(#,##0_ ;[赤]\-#,##0\ )~", -1234, "-1,234 "},
    {R"~([$-ja-JP]ggge"年"m"月"d"日";@)~", 45356, "令和6年3月5日"},
    {R"~([$-ja-JP-x-gannen]ggge"年"m"月"d"日";@)~", 43586, "令和元年5月1日"},
    {R"~(yyyy"年"m"月"d"日"\ h"時"mm"分")~", 45356.5, "2024年3月5日 12時00分"},
    {"[$¥-ja-JP]#,##0", -1234, "-¥1,234"},
};

// General fits 11 characters besides the sign, turning scientific from 1E+11 up and for small
// numbers whose digits do not fit. LibreOffice shows up to 15 digits instead.
constexpr Row kGeneral[] = {
    {"General", 0, "0"},
    {"General", -1, "-1"},
    {"General", -123456789012, "-1.23457E+11"},
    {"General", 99999999999, "99999999999"},
    {"General", 99999999999.5, "1E+11"},
    {"General", 0.3333333333333333, "0.333333333"},
    {"General", 3.14159265358979, "3.141592654"},
    {"General", 0.00012345678, "0.000123457"},
    {"General", 0.000012345, "0.000012345"},
    {"General", 0.0000123456, "1.23456E-05"},
    {"General", 0.00009999999999999, "1E-04"},
    {"General", 1.23456789e-100, "1.2346E-100"},
    {"General", 1.5e300, "1.5E+300"},
    {"General", 123456.7890123, "123456.789"},
    {"General", 0.30000000000000004, "0.3"},
    {"General", -0.00001, "-0.00001"},
};

// Integer placeholders, grouping and scaling commas; halves round away from zero; a negative that
// rounds to 0 loses its sign.
constexpr Row kInteger[] = {
    {"0", 0, "0"},
    {"0", -0.4, "0"},
    {"00", -0.5, "-01"},
    {"000", 2.5, "003"},
    {"#", 0.4, ""},
    {"#", -0.5, "-1"},
    {"##0", 2.5, "3"},
    {R"~(???)~", -0.4, "   "},
    {R"~(???)~", -1, "-  1"},
    {"#,##0", -1234567, "-1,234,567"},
    {"#,##0", -0.5, "-1"},
    {"0,000", -0.4, "0,000"},
    {"0,000", -1, "-0,001"},
    {"#,##0,", 1234567, "1,235"},
    {"#,##0,,", 1234, "0"},
    {"#,##0,,", -1234567, "-1"},
    {"000-0000", -0.5, "-000-0001"},
    {"000-0000", 1234567, "123-4567"},
    {R"~("No."000)~", 2.5, "No.003"},
    {R"~("No."000)~", -1234567, "-No.1234567"},
};

// Decimals round on the 15-digit decimal form (1.005 gives 1.01; LibreOffice rounds the binary
// value).
constexpr Row kDecimal[] = {
    {"0.0", 1.005, "1.0"},
    {"0.00", 0.0049, "0.00"},
    {"0.00", -0.005, "-0.01"},
    {"#.##", -0.125, "-.13"},
    {"#.##", 0.005, ".01"},
    {"#.##", 99.995, "100."},
    {"0.##", 0, "0."},
    {"#.00", 0.0049, ".00"},
    {"#.00", 99.995, "100.00"},
    {".00", 1234.5678, "1234.57"},
    {".00", 0, ".00"},
    {R"~(0.??)~", 0.0049, "0.  "},
    {R"~(0.??)~", 1, "1.  "},
    {"#,##0.00", 99.995, "100.00"},
    {"0.00,", -0.005, "0.00"},
    {"0.00,", 1234.5678, "1.23"},
    {"##0.0", -0.125, "-0.1"},
};

// Percent multiplies by 100 once, however many % the code shows.
constexpr Row kPercent[] = {
    {"0%", 0.125, "13%"},
    {"0%", 0.005, "1%"},
    {"0.0%", 1.005, "100.5%"},
    {"0.00%", -0.125, "-12.50%"},
    {"#,##0%", 12.3456, "1,235%"},
    {"0%%", 12.3456, "1235%%"},
    {"%0", -0.125, "-%13"},
};

// The exponent is a multiple of the integer placeholder count (##0.0E+0 is engineering notation).
constexpr Row kScientific[] = {
    {"0.00E+00", 0, "0.00E+00"},
    {"0.00E+00", -1, "-1.00E+00"},
    {"0.00E+00", 99999, "1.00E+05"},
    {"0.0E+0", 1e100, "1.0E+100"},
    {"0.0E+0", 9.999, "1.0E+1"},
    {"0.00E-00", -1, "-1.00E00"},
    {"0.00E-00", 99999, "1.00E05"},
    {"0.00E-00", -0.0042, "-4.20E-03"},
    {"##0.0E+0", 12345, "12.3E+3"},
    {"##0.0E+0", 1e100, "10.0E+99"},
    {"##0.0E+0", 9.999, "10.0E+0"},
    {"##0.0E+0", 0.5, "500.0E-3"},
    {"#0.0E+0", 99999, "10.0E+4"},
    {"#0.0E+0", -0.0042, "-42.0E-4"},
    {"00.00E+00", 1e100, "01.00E+100"},
    {"00.00E+00", 9.999, "10.00E+00"},
    {"00.00E+00", 0.5, "50.00E-02"},
    {"#.##E+00", 1e-100, "1.E-100"},
    {"#.##E+00", 99999, "1.E+05"},
    {"#.##E+00", -0.0042, "-4.2E-03"},
    {"0.00e+00", 0.5, "5.00e-01"},
};

// Nearest fraction within the denominator digits, or a fixed denominator; a zero fraction beside an
// integer turns into blanks. numfmt shows 1 1/1 for 0.999.
constexpr Row kFraction[] = {
    {"# ?/?", 0, "0    "},
    {"# ?/?", 0.5, " 1/2"},
    {"# ?/?", 3.14159265358979, "3 1/7"},
    {"# ?/?", 0.999, "1    "},
    {R"~(# ??/??)~", -0.5, "-  1/2 "},
    {R"~(# ??/??)~", 0.3, "  3/10"},
    {R"~(# ??/??)~", -2.75, "-2  3/4 "},
    {R"~(# ??/??)~", 5.0625, "5  1/16"},
    {"?/?", 1.5, "3/2"},
    {"?/?", 0.999, "1/1"},
    {"?/?", 0.01, "0/1"},
    {R"~(??/??)~", -0.5, "- 1/2 "},
    {R"~(??/??)~", 3.14159265358979, "311/99"},
    {R"~(??/??)~", 0, " 0/1 "},
    {"# ?/2", 0.125, "0    "},
    {"# ?/2", -2.75, "-3    "},
    {"# ?/8", 0.3, " 2/8"},
    {"# ?/8", 3.14159265358979, "3 1/8"},
    {R"~(# ??/16)~", 0.125, "  2/16"},
    {R"~(# ??/16)~", -2.75, "-2 12/16"},
    {"?/8", 0.999, "8/8"},
    {"?/8", 0.01, "0/8"},
    {R"~(# ??/100)~", -2.75, "-2 75/100"},
    {R"~(# ??/100)~", -0.5, "- 50/100"},
    // What a fraction shows equals the value, however large the value or the denominator; a
    // denominator beyond 18 digits is a code the engine does not honour.
    {"?/999999999999999999", 10000, "9999999999999999990000/999999999999999999"},
    {"?/999999999999999999", 0.3, "300000000000000000/999999999999999999"},
    {"?/2", -1e20, "-200000000000000000000/2"},
    {"?/?", 1e20, "100000000000000000000/1"},
    {"# ?/?", -1e20, "-100000000000000000000    "},
    {"?/105", 0.3, "32/105"},
    {"?/1000", 123456789.123, "123456789123/1000"},
    {"?/4%", 0.0125, "5/4%"},
    {"?/1000000000000000000", 0.5, "0.5"},
};

// Positive; negative without its sign; zero: chosen on the unrounded value.
constexpr Row kSections[] = {
    {"0;-0", 0, "0"},
    {"0;-0", -5, "-5"},
    {"0;-0", -0.001, "-0"},
    {"0;(0)", 0.001, "0"},
    {"0;(0)", -1234.567, "(1235)"},
    {R"~(0;-0;"zero")~", -0.001, "-0"},
    {R"~(0;-0;"zero";@)~", 0.001, "0"},
    {R"~(0;-0;"zero";@)~", 0, "zero"},
    {"0.00;[Red]-0.00", -0.001, "-0.00"},
    {R"~(#,##0;[Red]\-#,##0)~", -1234.567, "-1,235"},
    {"0;;", -0.4, ""},
    {"0;;", 0.001, "0"},
    {"0;;;", 0, ""},
    {"0;;;", -5, ""},
    {R"~("pos";"neg";"zero")~", -1234.567, "neg"},
    {R"~(0.0;-0.0;"–")~", -0.001, "-0.0"},
    {"0;0", -1234.567, "1235"},
    {R"~(0_);\(0\))~", -0.001, "(0)"},
    {"General;-General", -1234.567, "-1234.567"},
    {R"~(#,##0.00;-#,##0.00;"-")~", 0.001, "0.00"},
};

// Conditions replace the sign rules; the sign stays unless the section only takes negatives
// (LibreOffice drops it in every section after the first).
constexpr Row kConditions[] = {
    {R"~([<100]"small";"big")~", 50, "small"},
    {R"~([<100]"small";"big")~", 123, "big"},
    {R"~([>=100]"big";"small")~", -50, "-small"},
    {R"~([>=100]"big";"small")~", 1234, "big"},
    {"[<=999]000;[<=9999]000-00;000-0000", -5, "-005"},
    {"[<=999]000;[<=9999]000-00;000-0000", 12345678, "1234-5678"},
    {R"~([=1]"one";[=2]"two";"many")~", 5, "many"},
    {R"~([<0]"neg "0;0)~", -5, "neg 5"},
    {R"~([<0]"neg "0;0)~", 12345678, "12345678"},
    {R"~([>10]"a"0;0)~", 50, "a50"},
    {R"~([>10]"a"0;0)~", 0, "0"},
    {R"~([>10]"a"0;"b"0;"c"0)~", -50, "-b50"},
    {R"~([>10]"a"0;[<-10]"b"0;"c"0)~", -5, "-c5"},
    {R"~([<>0]0;"zero")~", 0, "zero"},
    {"[<-10]0;0", -5, "-5"},
    {"[<-10]0;0", -50, "50"},
    {"[Red][<0]0.0;[Blue][>0]0.0;0.0", 2, "2.0"},
};

// Quoted and escaped text, _x as one space, *x as nothing, colours ignored.
constexpr Row kLiterals[] = {
    {R"~(\$0.00)~", -5, "-$5.00"},
    {"$#,##0", 1234, "$1,234"},
    {R"~(0 "円")~", 1234, "1234 円"},
    {"0円", -5, "-5円"},
    {"+0;-0;0", 5, "+5"},
    {"_(0_)", 1234, " 1234 "},
    {"*-0", -5, "-5"},
    {R"~(0\%)~", -5, "-5%"},
    {R"~("a\b"0)~", -5, R"~(-a\b5)~"},
    {"0 ; -0", 1234, "1234 "},
    {R"~("""0)~", -5, "-5"},
    {"[Color10]0", 1234, "1234"},
    {"[赤]0", -5, "-5"},
    {"0!a", -5, "-5!a"},
    {R"~(0"E+")~", -5, "-5E+"},
};

// Currency tags, and [$-F800]/[$-F400] as the ja-JP system long date and time.
constexpr Row kLocale[] = {
    {"[$¥-411]#,##0", -1234.5, "-¥1,235"},
    {"[$$-409]#,##0.00", -1234.5, "-$1,234.50"},
    {"[$-411]0", -1234.5, "-1235"},
    {"[$USD] 0", -1234.5, "-USD 1235"},
    {"[$-ja-JP]0.0", 45356.75, "45356.8"},
    {"[$-F800]dddd, mmmm dd, yyyy", 45356.75, "2024年3月5日"},
    {"[$-F400]h:mm:ss AM/PM", 45356.75, "18:00:00"},
    {"[$-x-sysdate]dddd", 1234.5, "1903年5月18日"},
    {"[$-x-sysdate]dddd", -1234.5, "########"},
    {"[$-x-systime]h:mm", -1234.5, "########"},
};

// 1900 system with its 1900-02-29 at serial 60 (LibreOffice counts from 1899-12-30); aaa/aaaa
// always Japanese.
constexpr Row kDates[] = {
    {"yyyy/m/d", 1, "1900/1/1"},
    {"m/d/yy", 59, "2/28/00"},
    {"m/d/yy", 61, "3/1/00"},
    {"d-mmm-yy", 60, "29-Feb-00"},
    {"d-mmm-yy", 2958465, "31-Dec-99"},
    {"mmm-yy", 61, "Mar-00"},
    {"mmm-yy", 1, "Jan-00"},
    {"mmmm d, yyyy", 2958465, "December 31, 9999"},
    {"mmmm d, yyyy", 59, "February 28, 1900"},
    {"ddd", 1, "Sun"},
    {"ddd", 60, "Wed"},
    {"d", 59, "28"},
    {"d", 61, "1"},
    {"mmmmm", 1, "J"},
    {"mmmmm", 60, "F"},
    {"y", 2958465, "99"},
    {"y", 59, "00"},
    {"yyyy年m月d日", 45356.5, "2024年3月5日"},
    {"yyyy年m月", 2958465, "9999年12月"},
    {"yyyy年m月", 59, "1900年2月"},
    {R"~(m"月"d"日"(aaa))~", 1, "1月1日(日)"},
    {R"~(m"月"d"日"(aaa))~", 60, "2月29日(水)"},
    {"aaaa", 59, "火曜日"},
    {"aaaa", 61, "木曜日"},
    {"yyyy/m/d h:mm", 60, "1900/2/29 0:00"},
    {"yyyy/m/d h:mm", 2958465, "9999/12/31 0:00"},
};

// Values a date cannot show fill with #.
constexpr Row kDateEdges[] = {
    {"yyyy/m/d", 2958465.9, "9999/12/31"},
    {"yyyy/m/d", -0.5, "########"},
    {"yyyy/m/d ddd", 0.5, "1900/1/0 Sat"},
    {"yyyy/m/d ddd", 2958466, "########"},
    {"h:mm", 2958465.9, "21:36"},
    {"h:mm", 3e6, "########"},
    {"h:mm", -0.5, "########"},
    {"yyyy", 2958466, "########"},
    {"[h]:mm", 2958466, "########"},
    {"[h]:mm", -0.5, "########"},
};

// Times round to the smallest unit shown, so 0.99999999 is 0:00:00 (LibreOffice truncates); AM/PM
// and A/P print as written.
constexpr Row kTimes[] = {
    {"h:mm", 0.75, "18:00"},
    {"h:mm", 0.99999999, "0:00"},
    {"h:mm:ss", 0.99999, "23:59:59"},
    {"h:mm AM/PM", 0.75, "6:00 PM"},
    {"h:mm AM/PM", 0.99999999, "12:00 AM"},
    {"h:mm AM/PM", 45356.6045138889, "2:30 PM"},
    {"hh:mm am/pm", 0.99999, "11:59 pm"},
    {"hh:mm am/pm", 0, "12:00 am"},
    {"h A/P", 0.99999999, "12 A"},
    {"h A/P", 45356.6045138889, "2 P"},
    {"mm:ss", 1.5, "00:00"},
    {"mm:ss.0", 0.0000115740740740741, "00:01.0"},
    {"h:mm:ss.000", 0.99999999, "23:59:59.999"},
    {"[h]:mm:ss", 45356.6045138889, "1088558:30:30"},
    {"[m]:ss", 0.99999999, "1440:00"},
    {"[m]:ss", 0.0000115740740740741, "0:01"},
    {"[s]", 0.99999, "86399"},
    {"[ss].00", 0.99999999, "86400.00"},
    {"[ss].00", 0.0000115740740740741, "01.00"},
    {"[ss].00", 45356.6045138889, "3918810630.00"},
    {R"~(h"時"mm"分"ss"秒")~", 0.99999, "23時59分59秒"},
    {R"~(h"時"mm"分"ss"秒")~", 1.5, "12時00分00秒"},
    {"h時mm分ss秒", 0.99999999, "0時00分00秒"},
    {"h時mm分ss秒", 0.0000115740740740741, "0時00分01秒"},
    {"AM/PM h:mm", 0.437326388888889, "AM 10:29"},
    {"AM/PM h:mm", 0, "AM 12:00"},
    {"h:m", 0.0000115740740740741, "0:0"},
};

// Eras: 1912-07-30 大正, 1926-12-25 昭和, 1989-01-08 平成, 2019-05-01 令和; month and weekday names and
// 午前/午後 under a Japanese tag (numfmt has no eras).
constexpr Row kJapanese[] = {
    {R"~([$-411]ggge"年"m"月"d"日")~", 1, "明治33年1月1日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 32516, "平成1年1月8日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 43586, "令和1年5月1日"},
    {R"~([$-411]gge"年")~", 4595, "大1年"},
    {"[$-411]ge.m.d", 4596, "T1.7.31"},
    {"[$-411]ge.m.d", 9857, "S1.12.26"},
    {"[$-411]ge.m.d", 32516, "H1.1.8"},
    {"[$-411]ge.m.d", 43586, "R1.5.1"},
    {"[$-411]ge.m.d", 1, "M33.1.1"},
    {"[$-ja-JP]ggge年m月d日", 45356.75, "令和6年3月5日"},
    {R"~([$-1030411]ggge"年"m"月"d"日")~", 43586, "令和1年5月1日"},
    {R"~([$-ja-JP-x-gannen,80]ggge"年"m"月"d"日")~", 4595, "大正元年7月30日"},
    {"[$-411]mmm mmmm mmmmm", 32516, "1月 1月 1"},
    {"[$-411]mmm mmmm mmmmm", 9857, "12月 12月 12"},
    {"[$-411]ddd dddd", 45356.75, "火 火曜日"},
    {"[$-411]aaa aaaa", 43586, "水 水曜日"},
    {"[$-411]aaa aaaa", 1, "日 日曜日"},
    {"[$-411]yyyy/m/d(aaa)", 45356.75, "2024/3/5(火)"},
    {"[$-411]h:mm AM/PM", 1, "12:00 午前"},
    {"[$-411]h:mm AM/PM", 45356.75, "6:00 午後"},
    {R"~([$-411]AM/PM h"時")~", 32515, "午前 12時"},
    {R"~([$-411]AM/PM h"時")~", 45356.6, "午後 2時"},
    {"[$-411]h:mm A/P", 45356.75, "6:00 P"},
    {"[$-411]e", 32515, "64"},
};

// Kanji numerals, as LibreOffice shows them for a Japanese tag.
constexpr Row kDbnum[] = {
    {"[DBNum1]General", 0, "〇"},
    {"[DBNum1]General", 101, "百一"},
    {"[DBNum1]General", 10000, "一万"},
    {"[DBNum1]General", 100000000, "一億"},
    {"[DBNum2]General", 10, "拾"},
    {"[DBNum2]General", 1000, "壱阡"},
    {"[DBNum2]General", 12345, "壱萬弐阡参百四拾伍"},
    {"[DBNum2]General", -5, "-伍"},
    {"[DBNum3]General", 100000000, "１００００００００"},
    {"[DBNum3]General", 0, "０"},
    {R"~([DBNum1][$-411]ggge"年"m"月"d"日")~", 11, "明治三十三年一月十一日"},
    {R"~([DBNum1][$-411]ggge"年"m"月"d"日")~", 12345, "昭和八年十月十八日"},
    {R"~([DBNum1][$-411]ggge"年"m"月"d"日")~", -5, "########"},
    {R"~([DBNum3]0"円")~", 20, "２０円"},
    {R"~([DBNum3]0"円")~", 0, "０円"},
};

// text
constexpr TextRow kText[] = {
    {"@", " 123", " 123"},
    {R"~("Name: "@)~", "株式会社", "Name: 株式会社"},
    {"0;0;0;@", "abc", "abc"},
    {R"~(0;0;0;"<"@">")~", "", "<>"},
    {"0", "abc", "abc"},
    {"General", "株式会社", "株式会社"},
    {R"~(0;-0;0;"text")~", " 123", "text"},
    {R"~(@" 様")~", "", " 様"},
    {"0;@", "abc", "abc"},
    {"0;-0;0;", "株式会社", ""},
};

// Codes the engine cannot read render as General; odd but readable ones render as written.
constexpr Row kFallback[] = {
    {"", 0, "0"},
    {"[", -1234.5, "-1234.5"},
    {"]", 0, "]"},
    {R"~(")~", -1234.5, "-1234.5"},
    {R"~(\)~", 0, "0"},
    {"_", -1234.5, "-1234.5"},
    {"*", 0, "0"},
    {"[$", -1234.5, "-1234.5"},
    {"[<", 0, "0"},
    {"[<abc]0", -1234.5, "-1234.5"},
    {"[h", 0, "0"},
    {";", -1234.5, ""},
    {";;", 0, ""},
    {";;;;;", -1234.5, "-1234.5"},
    {"0;0;0;0;0", 0, "0"},
    {"ZZZ", -1234.5, "-ZZZ"},
    {"e", 0, "33"},
    {"E+", -1234.5, "########"},
    {"0E+", 0, "0E+"},
    {".", -1234.5, "-1235."},
    {",", 0, ","},
    {"/", -1234.5, "-/"},
    {"%", 0, "%"},
    {"?/", -1234.5, "-1235/"},
    {"/?", 0, "/ "},
    {"[DBNum9]0", -1234.5, "-1235"},
    {"[NatNum1]0", 0, "0"},
    {"G/標準", -1234.5, "-1234.5"},
    {"[Magenta]General", 0, "0"},
    {"0.0.0", -1234.5, "-1234.5.0"},
    {"0..0", 0, "0..0"},
    {"#.#.#", -1234.5, "-1234.5."},
    {"E+00", 0, "33+00"},
    {"0/0/0", -1234.5, "-2469/2/0"},
    {"bb", 0, "bb"},
    {"B1yyyy", -1234.5, "########"},
};

// 1904 system: serial 0 is 1904-01-01.
constexpr Row kDate1904[] = {
    {"yyyy/m/d", 2957004, "########"},
    {"yyyy/m/d ddd", -1, "########"},
    {"yyyy/m/d ddd", 2957003, "9999/12/31 Fri"},
    {"yyyy/m/d ddd", 0.5, "1904/1/1 Fri"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 43890, "令和6年3月1日"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 2957004, "########"},
    {R"~([$-411]ggge"年"m"月"d"日")~", 0, "明治37年1月1日"},
    {"h:mm", 1, "0:00"},
    {"yyyy", 2957003, "9999"},
    {"yyyy", 2957004, "########"},
    {"yyyy", 0, "1904"},
};

// clang-format on

TEST(FormatTable, EveryGroup) {
    const struct {
        const char* name;
        std::span<const Row> rows;
        DateSystem system = DateSystem::Date1900;
    } kGroups[] = {
        {"key cases", kKeyCases},    {"General", kGeneral},
        {"integer", kInteger},       {"decimal", kDecimal},
        {"percent", kPercent},       {"scientific", kScientific},
        {"fraction", kFraction},     {"sections", kSections},
        {"conditions", kConditions}, {"literals", kLiterals},
        {"locale", kLocale},         {"dates", kDates},
        {"date edges", kDateEdges},  {"times", kTimes},
        {"Japanese", kJapanese},     {"DBNum", kDbnum},
        {"fallback", kFallback},     {"1904", kDate1904, DateSystem::Date1904},
    };
    for (const auto& group : kGroups) {
        SCOPED_TRACE(group.name);
        for (const Row& row : group.rows) {
            EXPECT_EQ(
                FormatNumber(row.value, QString::fromUtf8(row.code), group.system).toStdString(),
                row.expected)
                << "code " << row.code << " value " << row.value;
        }
    }
}

TEST(FormatTable, Text) {
    for (const TextRow& row : kText) {
        EXPECT_EQ(
            FormatText(QString::fromUtf8(row.text), QString::fromUtf8(row.code)).toStdString(),
            row.expected)
            << "code " << row.code << " text " << row.text;
    }
}

}  // namespace
}  // namespace zarame::numformat
