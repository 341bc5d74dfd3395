#include "common/numbers.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"

namespace zarame {
namespace {

TEST(NumericTest, AcceptsTheNumberSpellingsAndRefusesTheRest) {
    for (const char16_t* text :
         {u"0", u" 7 ", u"+7", u"-3", u".5", u"2.", u"-1.5e-3", u"1E+2", u"\t12\t", u"\u30005",
          u"\uFF0D\uFF12\uFF0E\uFF15", u"1,000", u"-1,234,567.5", u"\uFF11\uFF0C\uFF10\uFF10\uFF10",
          u"999,999e2"}) {
        EXPECT_TRUE(IsNumeric(text)) << QString::fromUtf16(text).toStdString();
    }
    for (const char16_t* text :
         {u"",       u" ",      u"+",        u".",        u"e5",      u"1e",    u"1e+",  u"1 2",
          u"0x10",   u"&H10",   u"12h",      u"abc",      u"--1",     u"1.2.3", u"1,00", u",1",
          u"1,,000", u"1,0000", u"1000,000", u"1,000,00", u"1.000,5", u"1,",    u"+,100"}) {
        EXPECT_FALSE(IsNumeric(text)) << QString::fromUtf16(text).toStdString();
    }
}

TEST(WholeNumberConversion, RoundsHalvesToEvenAndRaisesOverflow) {
    const struct {
        const char16_t* text;
        std::int32_t value;
    } cases[] = {{u"2.5", 2},
                 {u"3.5", 4},
                 {u"-2.5", -2},
                 {u"-0.4", 0},
                 {u"2.4999", 2},
                 {u"\uFF0B\uFF13\uFF0E\uFF15", 4},
                 {u"1e-400", 0},
                 {u"-1,234,567.5", -1234568},
                 {u"2147483647", 2147483647},
                 {u"-2147483648", -2147483647 - 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ToInt32(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(ToInt16(u"-32768"), -32768);
    for (const char16_t* text :
         {u"2147483648", u"2147483647.5", u"-2147483649", u"9e9", u"1e400"}) {
        try {
            ToInt32(text);
            ADD_FAILURE() << "no overflow for " << QString::fromUtf16(text).toStdString();
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), kOverflowErrorNumber);
        }
    }
    EXPECT_THROW(ToInt16(u"32767.5"), RunTimeError);
}

}  // namespace
}  // namespace zarame
