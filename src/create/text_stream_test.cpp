#include "create/text_stream.h"

#include <gtest/gtest.h>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <memory>

#include "common/run_time_error.h"
#include "create/posix_file_service.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::WriteFile;

// "テスト" in CP932, as a name list saved on Japanese Windows holds it.
const QByteArray kTestInShiftJis("\x83\x65\x83\x58\x83\x67");
// "ソ表": both trail bytes are 0x5C, an ASCII backslash, which a byte-by-byte decoder would
// misread.
const QByteArray kSoHyouInShiftJis("\x83\x5C\x95\x5C");

// The size of one read of the stream, so that a line can be made to cross from one read into the
// next.
constexpr qsizetype kReadBufferSize = 65536;

QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

class TextStreamTest : public ::testing::Test {
protected:
    std::unique_ptr<TextStream> Open(const QByteArray& content) {
        const QString path = temporary_.filePath(QStringLiteral("names.txt"));
        WriteFile(path, content);
        return files_.OpenTextFile(path);
    }

    QStringList ReadLines(const QByteArray& content) {
        const std::unique_ptr<TextStream> stream = Open(content);
        QStringList lines;
        while (const std::optional<QString> line = stream->ReadLine()) {
            lines << *line;
        }
        return lines;
    }

    QTemporaryDir temporary_;
    PosixFileService files_;
};

TEST_F(TextStreamTest, SplitsLinesAtLineFeedOrCarriageReturnLineFeed) {
    const struct {
        QByteArray content;
        QStringList lines;
    } cases[] = {
        {"one\ntwo\r\nthree\r\n", {"one", "two", "three"}},
        {"one\r\ntwo", {"one", "two"}},  // the last line needs no terminator
        {"one\n", {"one"}},              // nor does a final one add an empty line
        {"", {}},
        {"\r\n", {""}},
        {"a\n\n  \n\t\r\n b \n", {"a", "", "  ", "\t", " b "}},
        {"\xEF\xBB\xBF\xE3\x83\x86\r\nb", {"テ", "b"}},  // a UTF-8 byte-order mark is skipped
        {"\xEF\xBB\xBF", {}},
        {kTestInShiftJis + "\r\n" + kSoHyouInShiftJis + "\r\n", {"テスト", "ソ表"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLines(c.content), c.lines) << c.content.toHex().constData();
    }
}

TEST_F(TextStreamTest, Utf16WithByteOrderMarkInEitherOrder) {
    // U+0A05 U+0100 is 05 0A 00 01 (and U+0100 U+0A05 is 01 00 0A 05): a line feed and a zero
    // byte that straddle two code units.
    const QString littleNames = QStringLiteral("テスト\r\n\u0A05\u0100\nlast");
    EXPECT_EQ(ReadLines(Utf16(littleNames, QStringConverter::Utf16LE)),
              (QStringList{"テスト", QStringLiteral("\u0A05\u0100"), "last"}));
    const QString bigNames = QStringLiteral("テスト\r\n\u0100\u0A05\n\U0001F600\r\n");
    EXPECT_EQ(
        ReadLines(Utf16(bigNames, QStringConverter::Utf16BE)),
        (QStringList{"テスト", QStringLiteral("\u0100\u0A05"), QStringLiteral("\U0001F600")}));
}

TEST_F(TextStreamTest, EachLineIsUtf8WhenItIsValidUtf8ElseShiftJis) {
    // C3 A9 is "é" in UTF-8 but "ﾃｩ" in CP932; 82 A0 is "あ" in CP932 only. A file pieced
    // together from both reads each line right, whichever comes first.
    EXPECT_EQ(ReadLines("first\n\x82\xA0\ncaf\xC3\xA9\n" + kTestInShiftJis),
              (QStringList{"first", "あ", "café", "テスト"}));
}

TEST_F(TextStreamTest, LineThatNoEncodingReadsIsAnError) {
    const QByteArray cases[] = {
        "good\n\x80\n",  // 0x80 is neither UTF-8 nor CP932
        Utf16(QStringLiteral("good\n"), QStringConverter::Utf16LE) + "b",  // half a code unit
        // A lone high surrogate, then a lone low one: no character, so no name.
        Utf16(QStringLiteral("good\n"), QStringConverter::Utf16LE) + QByteArray("\x00\xD8x\x00", 4),
        Utf16(QStringLiteral("good\n"), QStringConverter::Utf16BE) + QByteArray("\xDC\x80\x00\n", 4),
    };
    for (const QByteArray& content : cases) {
        const std::unique_ptr<TextStream> stream = Open(content);
        EXPECT_EQ(stream->ReadLine(), QStringLiteral("good"));
        try {
            stream->ReadLine();
            ADD_FAILURE() << "an undecodable line was read: " << content.toHex().constData();
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), EILSEQ);
        }
    }
}

TEST_F(TextStreamTest, LineLongerThanAnyPathIsAnErrorNotAnAllocation) {
    const std::unique_ptr<TextStream> stream =
        Open("good\n" + QByteArray(4 * kReadBufferSize, 'x'));
    EXPECT_EQ(stream->ReadLine(), QStringLiteral("good"));
    try {
        stream->ReadLine();
        FAIL() << "an overlong line was read";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), ENAMETOOLONG);
        EXPECT_TRUE(error.description().contains(QStringLiteral("names.txt")));
    }
}

TEST_F(TextStreamTest, TerminatorSplitAcrossTheReadBufferEdge) {
    // The CR is the last byte of the first read and the LF the first of the next.
    const QByteArray name(kReadBufferSize - 1, 'x');
    EXPECT_EQ(ReadLines(name + "\r\nnext"), (QStringList{QString::fromLatin1(name), "next"}));
}

TEST_F(TextStreamTest, CharacterSplitAcrossTheReadBufferEdge) {
    const QByteArray padding(kReadBufferSize - 1, 'x');
    EXPECT_EQ(ReadLines(padding + "\xE3\x83\x86\r\nnext"),
              (QStringList{QString::fromLatin1(padding) + "テ", "next"}));
    EXPECT_EQ(ReadLines(padding + kTestInShiftJis + "\r\nnext"),
              (QStringList{QString::fromLatin1(padding) + "テスト", "next"}));
}

}  // namespace
}  // namespace zarame
