#include "common/text_encoding.h"

#include <gtest/gtest.h>
#include <QStringDecoder>
#include <random>

namespace zarame {
namespace {

// The decision agrees with a full UTF-8 decoder on every text, however the text is fed: byte
// strings drawn from the bytes where the rules lie (overlong forms, surrogates, the top of
// Unicode, cut-off sequences), long enough to cross the eight-byte steps.
TEST(EncodingDecision, AgreesWithAUtf8DecoderHoweverTheTextIsFed) {
    const unsigned char bytes[] = {'a',  0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                   0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xED,
                                   0xEE, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(14);
    std::uniform_int_distribution<int> length(0, 20);
    std::uniform_int_distribution<int> pick(0, sizeof bytes - 1);
    for (int text = 0; text < 200000; ++text) {
        QByteArray sample;
        for (int index = length(random); index > 0; --index) {
            // Mostly ASCII, as names are, so that runs of eight plain bytes occur.
            sample.append(static_cast<char>(pick(random) < 6 ? 'a' : bytes[pick(random)]));
        }
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(sample);  // decodes only when taken
        const TextEncoding expected =
            decoder.hasError() ? TextEncoding::ShiftJis : TextEncoding::Utf8;
        EncodingDecision whole;
        whole.Feed(sample);
        EncodingDecision byByte;
        for (const char byte : sample) {
            byByte.Feed(QByteArrayView(&byte, 1));
        }
        ASSERT_EQ(whole.Whole(), expected) << sample.toHex().constData();
        ASSERT_EQ(byByte.Whole(), expected) << sample.toHex().constData();
    }
    // The start of a longer text may end inside a sequence.
    EncodingDecision start;
    start.Feed("abc\xE3\x83");
    EXPECT_EQ(start.Start(), TextEncoding::Utf8);
    EXPECT_EQ(start.Whole(), TextEncoding::ShiftJis);
}

}  // namespace
}  // namespace zarame
