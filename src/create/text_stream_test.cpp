#include "create/text_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>
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
        // Each line is UTF-8 when it is valid UTF-8, else CP932, whichever came before: C3 A9 is
        // "é" in UTF-8 (and "ﾃｩ" in CP932), 82 A0 is "あ" in CP932 only.
        {"\x82\xA0\ncaf\xC3\xA9\n" + kTestInShiftJis, {"あ", "café", "テスト"}},
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

TEST_F(TextStreamTest, LineThatCannotBeANameIsAnError) {
    const QByteArray utf16Good = Utf16(QStringLiteral("good\n"), QStringConverter::Utf16LE);
    const struct {
        QByteArray content;
        int errorNumber;
    } cases[] = {
        {"good\n\x80\n", EILSEQ},                              // 0x80 is neither UTF-8 nor CP932
        {utf16Good + "b", EILSEQ},                             // half a code unit
        {utf16Good + QByteArray("\x00\xD8x\x00", 4), EILSEQ},  // a lone surrogate is no character
        {utf16Good + QByteArray("\x80\xDC\n\x00", 4), EILSEQ},
        // Longer than any path, and never held whole: /dev/zero must not take all memory.
        {"good\n" + QByteArray(4 * kReadBufferSize, 'x'), ENAMETOOLONG},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TextStream> stream = Open(c.content);
        EXPECT_EQ(stream->ReadLine(), QStringLiteral("good"));
        try {
            stream->ReadLine();
            ADD_FAILURE() << "read: " << c.content.left(16).toHex().constData();
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), c.errorNumber);
            EXPECT_TRUE(error.description().contains(QStringLiteral("names.txt")));
        }
    }
}

TEST_F(TextStreamTest, LinesAndCharactersSplitAcrossTheReadBufferEdge) {
    // The padding fills the first read but one byte: the CR, or the first byte of a character,
    // is its last byte.
    const QByteArray padding(kReadBufferSize - 1, 'x');
    for (const auto& [tail, name] : {std::pair<QByteArray, QString>{"", ""},
                                     {"\xE3\x83\x86", "テ"},
                                     {kTestInShiftJis, "テスト"}}) {
        EXPECT_EQ(ReadLines(padding + tail + "\r\nnext"),
                  (QStringList{QString::fromLatin1(padding) + name, "next"}));
    }
}

TEST_F(TextStreamTest, TellsHowMuchOfTheFileItsLinesTookUp) {
    const QByteArray padding(kReadBufferSize, 'x');
    const std::unique_ptr<TextStream> stream = Open("\xEF\xBB\xBFone\r\n" + padding + "\nlast");
    EXPECT_EQ(stream->size(), 3 + 5 + kReadBufferSize + 1 + 4);
    for (const std::int64_t end :
         {std::int64_t{8}, std::int64_t{8 + kReadBufferSize + 1}, stream->size()}) {
        ASSERT_TRUE(stream->ReadLine());
        EXPECT_EQ(stream->bytesRead(), end);
    }
    EXPECT_EQ(stream->ReadLine(), std::nullopt);
    EXPECT_EQ(stream->bytesRead(), stream->size());

    // A pipe has no size to take a share of.
    int names[2];
    ASSERT_EQ(::pipe(names), 0);
    ASSERT_EQ(::write(names[1], "a\n", 2), 2);
    ::close(names[1]);
    TextStream piped(names[0], QStringLiteral("pipe"));
    EXPECT_EQ(piped.ReadLine(), QStringLiteral("a"));
    EXPECT_EQ(piped.size(), 0);
    EXPECT_EQ(piped.bytesRead(), 2);
}

}  // namespace
}  // namespace zarame
