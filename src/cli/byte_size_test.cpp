#include "cli/byte_size.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

TEST(ByteSize, UnitsCommasAndFractions) {
    const struct {
        const char16_t* text;
        std::int64_t bytes;
    } cases[] = {
        {u"0", 0},
        {u"1536", 1536},
        {u"1,536", 1536},
        {u"007", 7},
        {u" 10 K ", 10240},
        {u"10k", 10240},
        {u"10KiB", 10240},
        {u"10KB", 10000},
        {u"10B", 10},
        {u"3MB", 3000000},
        {u"3G", 3LL << 30},
        {u"2GiB", 2LL << 30},  // past the window's 32 bits
        {u"5GB", 5000000000},
        {u"2TB", 2000000000000},
        {u"1.5G", 1610612736},
        {u"1.5K", 1536},
        {u"0.5KB", 500},
        {u"1.10KB", 1100},
        {u"2.000", 2},          // trailing zeros are no fraction
        {u"１，５３６", 1536},  // full-width, as an input method types it
        {u"１０　ＫｉＢ", 10240},
        {u"9223372036854775807", 9223372036854775807},
        {u"9223372036854775.807KB", 9223372036854775807},
        {u"0.0009765625K", 1},
    };
    for (const auto& c : cases) {
        const ParsedByteSize parsed = ParseByteSize(QStringView(c.text));
        ASSERT_TRUE(parsed.bytes) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(*parsed.bytes, c.bytes) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(ByteSize, WhatIsNoSizeIsRefusedWithItsReason) {
    using R = ByteSizeRefusal;
    const struct {
        const char16_t* text;
        ByteSizeRefusal refusal;
    } cases[] = {
        {u"", R::Empty},
        {u"   ", R::Empty},
        {u"-1", R::Negative},
        {u"-1K", R::Negative},
        {u"abc", R::NotNumber},
        {u"K", R::NotNumber},
        {u".5K", R::NotNumber},
        {u"1.K", R::NotNumber},
        {u"+5", R::NotNumber},
        {u",123", R::NotNumber},
        {u"1,5", R::BadGrouping},
        {u"1,5366", R::BadGrouping},
        {u"1234,567", R::BadGrouping},
        {u"10X", R::UnknownUnit},
        {u"10KiBB", R::UnknownUnit},
        {u"1e3", R::UnknownUnit},
        {u"1²", R::UnknownUnit},  // only full-width forms stand for ASCII
        {u"10 K B", R::UnknownUnit},
        {u"1.5", R::NotWholeBytes},
        {u"1.1K", R::NotWholeBytes},
        {u"0.0000000000000000001T", R::NotWholeBytes},
        {u"9223372036854775808", R::TooLarge},
        {u"99999999999999999999999", R::TooLarge},
        {u"8388608T", R::TooLarge},
        {u"9223372036854775.808KB", R::TooLarge},
    };
    for (const auto& c : cases) {
        const ParsedByteSize parsed = ParseByteSize(QStringView(c.text));
        EXPECT_FALSE(parsed.bytes) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(parsed.refusal, c.refusal) << QString::fromUtf16(c.text).toStdString();
    }
}

}  // namespace
}  // namespace zarame
