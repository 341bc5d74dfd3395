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

TEST_F(TextStreamTest, LinesEndAtLineFeedOrCarriageReturnLineFeed) {
    EXPECT_EQ(ReadLines("one\ntwo\r\nthree\r\n"), (QStringList{"one", "two", "three"}));
}

TEST_F(TextStreamTest, LastLineWithoutTerminatorIsReturned) {
    EXPECT_EQ(ReadLines("one\r\ntwo"), (QStringList{"one", "two"}));
    EXPECT_EQ(ReadLines("x"), QStringList{"x"});
}

TEST_F(TextStreamTest, FinalTerminatorAddsNoEmptyLine) {
    EXPECT_EQ(ReadLines("one\n"), QStringList{"one"});
    EXPECT_EQ(ReadLines("one\r\n"), QStringList{"one"});
    EXPECT_EQ(ReadLines(""), QStringList{});
}

TEST_F(TextStreamTest, EmptyAndBlankLinesAreReturnedAsTheyAre) {
    EXPECT_EQ(ReadLines("\r\n"), QStringList{""});
    EXPECT_EQ(ReadLines("a\n\n  \n\t\r\n b \n"), (QStringList{"a", "", "  ", "\t", " b "}));
}

TEST_F(TextStreamTest, Utf8ByteOrderMarkIsNotPartOfTheFirstName) {
    EXPECT_EQ(ReadLines("\xEF\xBB\xBF\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\nb"),
              (QStringList{"テスト", "b"}));
    EXPECT_EQ(ReadLines("\xEF\xBB\xBF"), QStringList{});
}

TEST_F(TextStreamTest, Utf16LittleEndianWithByteOrderMark) {
    // U+0A05 U+0100 is 05 0A 00 01: a line feed and a zero byte that straddle two code units.
    const QString names = QStringLiteral("テスト\r\n\u0A05\u0100\nlast");
    EXPECT_EQ(ReadLines(Utf16(names, QStringConverter::Utf16LE)),
              (QStringList{"テスト", QStringLiteral("\u0A05\u0100"), "last"}));
}

TEST_F(TextStreamTest, Utf16BigEndianWithByteOrderMark) {
    // U+0100 U+0A05 is 01 00 0A 05: again a line feed out of step with the code units.
    const QString names = QStringLiteral("テスト\r\n\u0100\u0A05\n\U0001F600\r\n");
    EXPECT_EQ(
        ReadLines(Utf16(names, QStringConverter::Utf16BE)),
        (QStringList{"テスト", QStringLiteral("\u0100\u0A05"), QStringLiteral("\U0001F600")}));
}

TEST_F(TextStreamTest, ShiftJisFileIsDecodedAsShiftJis) {
    EXPECT_EQ(ReadLines(kTestInShiftJis + "\r\n" + kSoHyouInShiftJis + "\r\n"),
              (QStringList{"テスト", "ソ表"}));
}

TEST_F(TextStreamTest, ShiftJisHoldsFromTheFirstLineThatIsNotUtf8) {
    // C3 A9 is "é" in UTF-8 but "ﾃｩ" in CP932: once a line needed Shift_JIS, later lines get it
    // too, even where UTF-8 would also have read them.
    EXPECT_EQ(
        ReadLines("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\n" + kTestInShiftJis + "\n\xC3\xA9\n"),
        (QStringList{"テスト", "テスト", "ﾃｩ"}));
}

TEST_F(TextStreamTest, LineThatNoEncodingReadsIsAnError) {
    // 0x80 is neither UTF-8 nor CP932.
    const std::unique_ptr<TextStream> stream = Open("good\n\x80\n");
    EXPECT_EQ(stream->ReadLine(), QStringLiteral("good"));
    try {
        stream->ReadLine();
        FAIL() << "an undecodable line was read";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), EILSEQ);
    }
}

TEST_F(TextStreamTest, Utf16LineCutInHalfIsAnError) {
    // A file cut off in the middle of a code unit: the last line is one byte long.
    const std::unique_ptr<TextStream> stream =
        Open(Utf16(QStringLiteral("a\n"), QStringConverter::Utf16LE) + "b");
    EXPECT_EQ(stream->ReadLine(), QStringLiteral("a"));
    EXPECT_THROW(stream->ReadLine(), RunTimeError);
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
