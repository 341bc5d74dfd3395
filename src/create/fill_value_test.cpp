#include "create/fill_value.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"

namespace zarame {
namespace {

// Decimal: any numeric text, rounded, then held to 0..255. Hexadecimal: 0x or &H in either case,
// then one or two digits in either case.
TEST(ParseWriteCode, DecimalInRangeOrOneOrTwoHexDigitsAfterAPrefix) {
    const struct {
        const char16_t* text;
        std::int32_t expected;
    } cases[] = {{u"0", 0},     {u"255", 255},  {u" 7 ", 7},     {u"254.5", 254}, {u"1e2", 100},
                 {u"256", 999}, {u"-1", 999},   {u"255.5", 999}, {u"", 999},      {u"0x00", 0},
                 {u"0xF", 15},  {u"0XfF", 255}, {u"&hFF", 255},  {u"&H0A", 10},   {u"0x", 999},
                 {u"&H", 999},  {u"0xG1", 999}, {u"0x1G", 999},  {u"0x 1", 999},  {u"FF", 999},
                 {u"#FF", 999}, {u"0x100", 999}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWriteCode(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_THROW(ParseWriteCode(u"1e10"), RunTimeError);
}

}  // namespace
}  // namespace zarame
