#include "common/byte_text.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

TEST(ByteTextTest, EveryByteStringSurvivesTheRoundTrip) {
    const QByteArray cases[] = {
        "plain",
        "caf\xc3\xa9",
        "\xe3\x81\x82",
        "\xf0\x9f\x98\x80",  // valid UTF-8
        "a\xffz",
        "\x82\xa0",
        "\xc3",
        "\xe3\x81",
        "\xc0\xaf",  // invalid, truncated, overlong
        "\xed\xa0\x80",
        "\xed\xb2\x80",
        "\xf4\x90\x80\x80",
        "\x80\x80",  // surrogates, > U+10FFFF
    };
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(EncodeBytes(DecodeBytes(bytes)), bytes) << bytes.toHex().constData();
}

TEST(ByteTextTest, ValidUtf8DecodesAsTextAndInvalidBytesShowAsReplacement) {
    EXPECT_EQ(DecodeBytes("caf\xc3\xa9"), QStringLiteral("café"));
    const QString escaped = DecodeBytes("a\xff");
    EXPECT_EQ(escaped.size(), 2);
    EXPECT_EQ(escaped[1].unicode(), 0xDCFF);
    EXPECT_EQ(VisibleText(escaped), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(VisibleText(QStringLiteral("😀")), QStringLiteral("😀"));
}

}  // namespace
}  // namespace zarame
