#include "numformat/cell_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numformat/decimal_form.h"
#include "numformat/format_cache.h"
#include "numformat/format_parser.h"

namespace zarame::numformat {
namespace {

QString Render(double value, const QString& code) {
    return FormatNumber(value, code, DateSystem::Date1900);
}

TEST(DecimalFormTest, KeepsFifteenDigitsAndEveryExponent) {
    const DecimalForm big = ToDecimalForm(1.5e300);
    EXPECT_EQ(big.pointPosition, 301);
    EXPECT_EQ(std::string(big.digits, big.count), "15");
    EXPECT_EQ(ToDecimalForm(100).pointPosition, 3);
    EXPECT_EQ(ToDecimalForm(2.5e-300).pointPosition, -299);
    DecimalForm nines = ToDecimalForm(9.995);
    RoundToDecimals(nines, 2);
    EXPECT_EQ(std::string(nines.digits, nines.count), "1");
    EXPECT_EQ(nines.pointPosition, 2);
}

TEST(HostileFormatTest, NonFiniteValuesShowAnErrorText) {
    for (double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(Render(value, "0.00"), "#NUM!");
        EXPECT_EQ(Render(value, "yyyy/m/d"), "#NUM!");
    }
}

TEST(HostileFormatTest, OverlongCodesRenderAsGeneral) {
    EXPECT_EQ(Render(1, QString(10000, u'0')), "1");
    EXPECT_EQ(Render(1.5, QStringLiteral("0.") + QString(10000, u'0')), "1.5");
    EXPECT_EQ(Render(2, QString(100000, u'"')), "2");
    QString sections;
    for (int i = 0; i < 5000; ++i) {
        sections += u"0;";
    }
    EXPECT_EQ(Render(-3, sections), "-3");
}

TEST(HostileFormatTest, LongCodesWithinTheBoundStayBounded) {
    EXPECT_EQ(Render(1e200, "0"), QStringLiteral("1") + QString(200, u'0'));
    EXPECT_EQ(Render(4.9e-324, "0.00E+00"), "4.94E-324");
    QString grouped = QStringLiteral("100");
    for (int group = 0; group < 66; ++group) {
        grouped += QStringLiteral(",000");
    }
    grouped.truncate(kMaxDisplayedLength + 1);  // 267 characters, cut as any long text
    EXPECT_EQ(Render(1e200, "#,##0"), grouped);
    EXPECT_EQ(Render(1e200, "#,##0"), grouped);  // the second time from the cache
    EXPECT_EQ(Render(1e200, "# ?\?/??"),
              QStringLiteral("1") + QString(200, u'0') + QStringLiteral("      "));
    EXPECT_EQ(Render(123456789012345.0, "?/?"), "123456789012345/1");
    EXPECT_EQ(Render(1e300, "[h]:mm"), "########");
}

// No text longer than a file name is built: it comes back cut to one unit past the cap.
TEST(HostileFormatTest, TextsPastAFileNameAreCut) {
    const qsizetype cut = kMaxDisplayedLength + 1;
    const QString megabyte(1 << 20, u'x');
    EXPECT_EQ(Render(1, QString(kMaxFormatCodeLength, u'0')), QString(cut, u'0'));
    EXPECT_EQ(Render(1e308, "0"), QStringLiteral("1") + QString(cut - 1, u'0'));
    EXPECT_EQ(Render(1e300, "[DBNum1]0").size(), cut);
    EXPECT_EQ(FormatText(megabyte, QString(kMaxFormatCodeLength, u'@')), megabyte.left(cut));
    EXPECT_EQ(FormatText(megabyte, u"General"), megabyte.left(cut));
    EXPECT_EQ(FormatText(QString(kMaxDisplayedLength, u'x'), u"@"),
              QString(kMaxDisplayedLength, u'x'));
}

TEST(HostileFormatTest, EveryPrefixOfARichCodeRendersWithoutFailing) {
    const QString code = QString::fromUtf8(
        R"~([$-ja-JP-x-gannen,80][<=100][DBNum1]ggge"年"m"月"d"日" h:mm:ss.000 AM/PM;)~"
        R"~([Red]\-#,##0.00_);[=0]"zero"* ?/16;"@"@_)[$¥-411]0%E+00)~");
    for (qsizetype length = 0; length <= code.size(); ++length) {
        for (double value : {0.0, -1.5, 45356.6, 1e20}) {
            // A prefix is any code a user may have typed: it renders (a crash, a hang or a
            // sanitizer report fails here too), and never throws.
            EXPECT_NO_THROW(Render(value, code.left(length)));
            EXPECT_NO_THROW(FormatText(u"x", code.left(length)));
        }
    }
}

TEST(FormatCacheTest, ParsesEachCodeOnceAndStaysBounded) {
    FormatCache cache;
    const ParsedFormat& first = cache.Get(u"0.00");
    cache.Get(u"#,##0");
    EXPECT_EQ(&cache.Get(u"0.00"), &first);  // found again with another code read in between
    EXPECT_EQ(cache.size(), 2u);
    for (size_t i = 0; i < FormatCache::kMaxEntries * 2; ++i) {
        cache.Get(QString::number(i) + QStringLiteral("\"x\"0"));
    }
    EXPECT_LE(cache.size(), FormatCache::kMaxEntries);
    for (int i = 0; i < 1000; ++i) {
        cache.Get(QString::number(i) + QString(kMaxFormatCodeLength - 8, u'0'));
    }
    EXPECT_LE(cache.size(), FormatCache::kMaxCodeText / (kMaxFormatCodeLength - 8) + 1);
    EXPECT_EQ(cache.Get(u"0.00").sections.size(), 1u);
}

TEST(BuiltInFormatTest, JapaneseTableAndUnknownIds) {
    EXPECT_EQ(BuiltInFormatCode(0), "General");
    EXPECT_EQ(BuiltInFormatCode(14), "yyyy/m/d");
    EXPECT_EQ(BuiltInFormatCode(49), "@");
    for (int id : {-1, 23, 26, 59, 164, 100000}) {
        EXPECT_TRUE(BuiltInFormatCode(id).isEmpty()) << id;
    }
    // Every built-in code renders a date serial without falling back to a bare number.
    const struct {
        int id;
        const char* expected;
    } kRendered[] = {{5, "¥-1,235"},        {14, "2024/3/5"},      {22, "2024/3/5 14:30"},
                     {27, "R6.3.5"},        {28, "令和6年3月5日"}, {31, "2024年3月5日"},
                     {32, "14時30分"},      {37, "-1,235"},        {42, " ¥-1,235 "},
                     {46, "1088558:30:00"}, {48, "45.4E+3"},       {57, "R6.3.5"}};
    for (const auto& row : kRendered) {
        const double value =
            row.id == 5 || row.id == 37 || row.id == 42 ? -1234.5 : 45356.6041666667;
        EXPECT_EQ(Render(value, BuiltInFormatCode(row.id)).toStdString(), row.expected) << row.id;
    }
}

}  // namespace
}  // namespace zarame::numformat
