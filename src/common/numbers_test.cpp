#include "common/numbers.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"

namespace zarame {
namespace {

TEST(NumericTest, AcceptsSignFractionExponentAndSurroundingBlanks) {
    for (const char16_t* text : {u"0", u"7", u" 7 ", u"+7", u"-3", u".5", u"2.", u"2.5", u"1e2",
                                 u"1E+2", u"-1.5e-3", u"\t12\t",
                                 u"\u3000"
                                 u"5"}) {
        EXPECT_TRUE(IsNumeric(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
    }
}

TEST(NumericTest, AcceptsFullWidthDigitsSignAndPeriod) {
    EXPECT_TRUE(IsNumeric(u"\uFF11\uFF12\uFF13"));
    EXPECT_TRUE(IsNumeric(u"\uFF0D\uFF12\uFF0E\uFF15"));
    EXPECT_EQ(ToInt32(u"\uFF11\uFF10\uFF10"), 100);
    EXPECT_EQ(ToInt32(u"\uFF0B\uFF13\uFF0E\uFF15"), 4);
}

TEST(NumericTest, RefusesEverythingElse) {
    for (const char16_t* text : {u"", u" ", u"+", u"-", u".", u"e5", u"1e", u"1e+", u"1 2", u"0x10",
                                 u"&H10", u"12h", u"1,000", u"abc", u"--1", u"1.2.3"}) {
        EXPECT_FALSE(IsNumeric(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
    }
}

TEST(WholeNumberConversion, RoundsHalvesToEven) {
    EXPECT_EQ(ToInt32(u"2.5"), 2);
    EXPECT_EQ(ToInt32(u"3.5"), 4);
    EXPECT_EQ(ToInt32(u"-2.5"), -2);
    EXPECT_EQ(ToInt32(u".5"), 0);
    EXPECT_EQ(ToInt32(u"1.5"), 2);
    EXPECT_EQ(ToInt32(u"254.5"), 254);
    EXPECT_EQ(ToInt32(u"-0.4"), 0);
    EXPECT_EQ(ToInt32(u"2.4999"), 2);
    EXPECT_EQ(ToInt16(u"0.5"), 0);
}

TEST(WholeNumberConversion, OverflowRaisesTheOverflowError) {
    EXPECT_EQ(ToInt32(u"2147483647"), 2147483647);
    EXPECT_EQ(ToInt32(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ToInt16(u"32767"), 32767);
    EXPECT_EQ(ToInt16(u"-32768"), -32768);
    for (const char16_t* text :
         {u"2147483648", u"2147483647.5", u"-2147483649", u"1e10", u"9e9", u"1e400"}) {
        try {
            ToInt32(QString::fromUtf16(text));
            ADD_FAILURE() << "no overflow for " << QString::fromUtf16(text).toStdString();
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), kOverflowErrorNumber);
            EXPECT_FALSE(error.description().isEmpty());
        }
    }
    EXPECT_THROW(ToInt16(u"40000"), RunTimeError);
    EXPECT_THROW(ToInt16(u"32767.5"), RunTimeError);
    EXPECT_EQ(ToInt32(u"1e-400"), 0);
}

}  // namespace
}  // namespace zarame
