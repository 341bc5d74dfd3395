#include "create/fill_value.h"

#include <gtest/gtest.h>

#include "common/run_time_error.h"

namespace zarame {
namespace {

struct Case {
    const char16_t* text;
    std::int32_t expected;
};

TEST(ParseWriteCode, DecimalForm) {
    for (const Case& c : {Case{u"0", 0}, Case{u"255", 255}, Case{u"256", 999}, Case{u"-1", 999},
                          Case{u" 7 ", 7}, Case{u"+7", 7}, Case{u"2.5", 2}, Case{u"3.5", 4},
                          Case{u"254.5", 254}, Case{u"255.5", 999}, Case{u"-0.4", 0},
                          Case{u"1e2", 100}, Case{u"1e3", 999}, Case{u"", 999}}) {
        EXPECT_EQ(ParseWriteCode(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(ParseWriteCode, HexadecimalForm) {
    for (const Case& c :
         {Case{u"0x00", 0}, Case{u"0xF", 15}, Case{u"0x0f", 15}, Case{u"0xff", 255},
          Case{u"0XfF", 255}, Case{u"&hFF", 255}, Case{u"&H0A", 10}, Case{u"0x", 999},
          Case{u"&H", 999}, Case{u"0xG1", 999}, Case{u"0x1G", 999}, Case{u"0x 1", 999},
          Case{u"x12", 999}, Case{u"12h", 999}, Case{u"FF", 999}, Case{u"#FF", 999},
          Case{u"0x100", 999}, Case{u"&H0FF", 999}}) {
        EXPECT_EQ(ParseWriteCode(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(ParseWriteCode, DecimalBeyond32BitsRaisesOverflow) {
    EXPECT_THROW(ParseWriteCode(u"1e10"), RunTimeError);
}

TEST(HexPairToByte, ReadsFirstAndLastCharacter) {
    EXPECT_EQ(HexPairToByte(u"FF"), 255);
    EXPECT_EQ(HexPairToByte(u"0A"), 10);
    EXPECT_EQ(HexPairToByte(u"A0"), 160);
    EXPECT_EQ(HexPairToByte(u"ff"), InvalidWriteCode);  // callers upper-case first
    EXPECT_EQ(HexPairToByte(u"G0"), InvalidWriteCode);
}

}  // namespace
}  // namespace zarame
