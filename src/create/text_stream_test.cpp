#include "create/text_stream.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

#include "common/run_time_error.h"
#include "create/posix_file_service.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::WriteFile;

// Names in CP932, as a list saved on Japanese Windows holds them. The first ones are valid UTF-8
// by accident (凜子 reads "꣎q"), the rest are not (山田 has 8E, which cannot start a sequence).
const QByteArray kRinko("\xEA\xA3\x8E\x71");         // 凜子
const QByteArray kSakita("\xED\x95\x93\x63");        // 﨑田
const QByteArray kYouko("\xEA\xA1\x8E\x71");         // 遙子
const QByteArray kHiroko("\xEA\xA4\x8E\x71");        // 熙子
const QByteArray kTokunaga("\xED\x9E\x89\x69");      // 德永
const QByteArray kHalfWidthTesu("\xC3\xBD");         // ﾃｽ
const QByteArray kYamada("\x8E\x52\x93\x63");        // 山田
const QByteArray kTest("\x83\x65\x83\x58\x83\x67");  // テスト
// ソ表: both trail bytes are 0x5C, an ASCII backslash, which a byte-by-byte decoder would
// misread.
const QByteArray kSoHyou("\x83\x5C\x95\x5C");

// The size of one read of the stream, so that a line can be made to cross from one read into the
// next, and the part of a pipe that decides its encoding.
constexpr qsizetype kReadBufferSize = 65536;
constexpr qsizetype kPipeLookAhead = 16 * 1024 * 1024;

QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QStringList ReadAll(TextStream& stream) {
    QStringList lines;
    while (const std::optional<QString> line = stream.ReadLine()) {
        lines << *line;
    }
    return lines;
}

// A pipe fed by a thread, as a generating command would feed it.
class FedPipe {
public:
    explicit FedPipe(QByteArray content, std::function<void()> beforeClose = {}) {
        int ends[2];
        if (::pipe(ends) != 0) {
            throw std::runtime_error("pipe");
        }
        stream = std::make_unique<TextStream>(ends[0], QStringLiteral("pipe"));
        writer_ = std::thread([content = std::move(content), beforeClose, fd = ends[1]] {
            // A reader that goes away early makes a write fail, not the process end.
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            for (qsizetype written = 0; written < content.size();) {
                const ssize_t count =
                    ::write(fd, content.constData() + written, content.size() - written);
                if (count <= 0) {
                    break;
                }
                written += count;
            }
            if (beforeClose) {
                beforeClose();
            }
            ::close(fd);
        });
    }
    ~FedPipe() {
        stream.reset();  // a writer still writing sees the reader gone
        writer_.join();
    }

    std::unique_ptr<TextStream> stream;

private:
    std::thread writer_;
};

class TextStreamTest : public ::testing::Test {
protected:
    std::unique_ptr<TextStream> Open(const QByteArray& content) {
        const QString path = temporary_.filePath(QStringLiteral("names.txt"));
        WriteFile(path, content);
        return files_.OpenTextFile(path);
    }

    QStringList ReadLines(const QByteArray& content) { return ReadAll(*Open(content)); }

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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLines(c.content), c.lines) << c.content.toHex().constData();
    }
}

// One encoding for the whole file, so that a CP932 name that happens to be valid UTF-8 is read
// as the CP932 it is, wherever in the file the line that gives it away stands.
TEST_F(TextStreamTest, TheWholeFileDecidesItsEncoding) {
    const QByteArray accidental =
        kRinko + "\r\n" + kSakita + "\r\n" + kYouko + "\r\n" + kHiroko + "\r\n" + kTokunaga + "\n";
    const QStringList accidentalNames{"凜子", "﨑田", "遙子", "熙子", "德永"};
    const struct {
        QByteArray content;
        QStringList lines;
        TextEncoding encoding;
    } cases[] = {
        {accidental + kHalfWidthTesu + "\n" + kYamada, accidentalNames + QStringList{"ﾃｽ", "山田"},
         TextEncoding::ShiftJis},
        {kTest + "\r\n" + kSoHyou + "\r\n" + accidental,
         QStringList{"テスト", "ソ表"} + accidentalNames, TextEncoding::ShiftJis},
        {"凜子\n山田\ncafé\n", {"凜子", "山田", "café"}, TextEncoding::Utf8},
        {"plain\nascii", {"plain", "ascii"}, TextEncoding::Utf8},
        // UTF-8 with one stray CP932 line: all of it is CP932, é (C3 A9) included.
        {"caf\xC3\xA9\n" + kYamada + "\n", {"cafﾃｩ", "山田"}, TextEncoding::ShiftJis},
        // A sequence cut off at the end of the file is no UTF-8.
        {"a\n\xE3\x83", {"a", "繝"}, TextEncoding::ShiftJis},
        // A byte-order mark decides on its own, and is no part of the first line.
        {"\xEF\xBB\xBF" + QByteArray("凜子\r\nb"), {"凜子", "b"}, TextEncoding::Utf8},
        {"\xEF\xBB\xBF", {}, TextEncoding::Utf8},
        {Utf16(QStringLiteral("凜子\r\n山田"), QStringConverter::Utf16LE),
         {"凜子", "山田"},
         TextEncoding::Utf16LittleEndian},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TextStream> stream = Open(c.content);
        EXPECT_EQ(ReadAll(*stream), c.lines) << c.content.toHex().constData();
        EXPECT_EQ(stream->encoding(), c.encoding) << c.content.toHex().constData();
    }
}

// A pipe is decided by its first 16 MiB, or all of it when it is shorter; that start is held and
// then given out line by line, and the decision never waits for the writer to finish.
TEST_F(TextStreamTest, APipeIsDecidedByItsStart) {
    const QByteArray filler = QByteArray(999, 'x') + '\n';
    const QByteArray short_ = kRinko + "\n" + filler.repeated(1000) + kYamada + "\n";
    FedPipe shortPipe(short_);
    const QStringList shortLines = ReadAll(*shortPipe.stream);
    EXPECT_EQ(shortLines.front(), QStringLiteral("凜子"));
    EXPECT_EQ(shortLines.back(), QStringLiteral("山田"));
    EXPECT_EQ(shortLines.size(), 1002);
    EXPECT_EQ(shortPipe.stream->bytesRead(), short_.size());

    // Past 16 MiB, the CP932 line comes too late: the pipe is UTF-8, and the line cannot be read.
    std::atomic<bool> firstLineRead = false;
    std::atomic<bool> writerClosed = false;
    const qsizetype fillerLines = kPipeLookAhead / filler.size() + 1;
    FedPipe longPipe(kRinko + "\n" + filler.repeated(fillerLines) + kYamada + "\n", [&] {
        for (int wait = 0; wait < 500 && !firstLineRead; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        writerClosed = true;
    });
    EXPECT_EQ(longPipe.stream->ReadLine(), QString::fromUtf8(kRinko));
    EXPECT_FALSE(writerClosed);
    firstLineRead = true;
    EXPECT_EQ(longPipe.stream->encoding(), TextEncoding::Utf8);
    for (qsizetype line = 0; line < fillerLines; ++line) {
        ASSERT_EQ(longPipe.stream->ReadLine(), QString::fromLatin1(filler.chopped(1)));
    }
    try {
        longPipe.stream->ReadLine();
        ADD_FAILURE() << "a line that is not UTF-8 was read";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), EILSEQ);
        EXPECT_TRUE(error.description().startsWith(
            QStringLiteral("%1 行目を UTF-8 として").arg(fillerLines + 2)));
    }
}

TEST_F(TextStreamTest, LineThatCannotBeANameIsAnError) {
    const QByteArray utf16Good = Utf16(QStringLiteral("good\n"), QStringConverter::Utf16LE);
    const struct {
        QByteArray content;
        int errorNumber;
        QString description;
    } cases[] = {
        // The whole run's table has more: a byte no encoding has, a lone surrogate, a line with
        // no end.
        {"\xEF\xBB\xBFgood\n" + kYamada, EILSEQ, "2 行目を UTF-8 として読めません: "},
        {utf16Good + "b", EILSEQ, "2 行目を UTF-16 として読めません: "},  // half a code unit
        {utf16Good + QByteArray("\x80\xDC\n\x00", 4), EILSEQ, "2 行目を UTF-16"},
        // Longer than any path even where its line feed is in the buffer.
        {"good\n" + QByteArray(kReadBufferSize + 1, 'x') + "\n", ENAMETOOLONG,
         "2 行目が 65536 バイトを超えています: "},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TextStream> stream = Open(c.content);
        EXPECT_EQ(stream->ReadLine(), QStringLiteral("good"));
        try {
            stream->ReadLine();
            ADD_FAILURE() << "read: " << c.content.left(16).toHex().constData();
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.number(), c.errorNumber);
            EXPECT_TRUE(error.description().startsWith(c.description))
                << error.description().toStdString();
            EXPECT_TRUE(error.description().endsWith(QStringLiteral("names.txt")));
        }
    }
}

TEST_F(TextStreamTest, LinesAndCharactersSplitAcrossTheReadBufferEdge) {
    // The first line fills the first read but one byte: the CR, or the first byte of a
    // character, is its last byte.
    const QByteArray padding(kReadBufferSize - 2, 'x');
    for (const auto& [tail, name] :
         {std::pair<QByteArray, QString>{"", ""}, {"\xE3\x83\x86", "テ"}, {kTest, "テスト"}}) {
        EXPECT_EQ(ReadLines(padding + "\n" + tail + "\r\nnext"),
                  (QStringList{QString::fromLatin1(padding), name, "next"}));
    }
    // UTF-16: a line feed and a zero byte that straddle two code units (U+0A05 U+0100 is
    // 05 0A 00 01) are no line feed.
    EXPECT_EQ(ReadLines(Utf16(QStringLiteral("\u0A05\u0100\nlast"), QStringConverter::Utf16LE)),
              (QStringList{QStringLiteral("\u0A05\u0100"), "last"}));
    EXPECT_EQ(
        ReadLines(Utf16(QStringLiteral("\u0100\u0A05\n\U0001F600\r\n"), QStringConverter::Utf16BE)),
        (QStringList{QStringLiteral("\u0100\u0A05"), QStringLiteral("\U0001F600")}));
}

TEST_F(TextStreamTest, TellsHowMuchOfTheFileItsLinesTookUpAndWhatFollows) {
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
    EXPECT_EQ(stream->lineNumber(), 3);

    // After an empty line: only empty lines, or something more.
    const struct {
        QByteArray content;
        bool follows;
    } cases[] = {
        {"a\n\n", false},
        {"a\n\n\r\n\n", false},
        {"a\n\n \n", true},
        {"a\n\n\n\nb", true},
        {"a\n\n\x80", true},
        {"a\n\n" + padding + "\n", true},
        {"a\n\n" + QByteArray(2 * 1024 * 1024, '\n'), true},  // too far to look
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TextStream> list = Open(c.content);
        EXPECT_EQ(list->ReadLine(), QStringLiteral("a"));
        EXPECT_EQ(list->ReadLine(), QString());
        EXPECT_EQ(list->TextFollows(), c.follows) << c.content.left(16).toHex().constData();
    }

    // A pipe has no size to take a share of, and its rest is not looked at.
    FedPipe piped("a\n\nb\n");
    EXPECT_EQ(piped.stream->ReadLine(), QStringLiteral("a"));
    EXPECT_EQ(piped.stream->size(), 0);
    EXPECT_EQ(piped.stream->bytesRead(), 2);
    EXPECT_EQ(piped.stream->ReadLine(), QString());
    EXPECT_FALSE(piped.stream->TextFollows());
}

}  // namespace
}  // namespace zarame
