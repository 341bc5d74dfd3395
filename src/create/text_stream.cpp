#include "create/text_stream.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "common/run_time_error.h"

namespace zarame {

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype kReadSize = 65536;
constexpr qsizetype kScanSize = 256 * 1024;
constexpr int kWaitSliceMilliseconds = 100;
constexpr auto kStopQuestionInterval = std::chrono::milliseconds(50);

// How much of a pipe decides its encoding. What is read of it is held until its lines are given
// out, so this is also what a pipe may cost in memory beyond one line.
constexpr qsizetype kPipeLookAhead = 16 * 1024 * 1024;

// No path the system takes is this long (PATH_MAX is 4096 bytes), so a longer line can only fail;
// stopping there keeps an endless line (/dev/zero) from taking all memory.
constexpr qsizetype kLongestLine = 65536;

// How far past an empty line TextFollows looks for a line that is not empty.
constexpr std::int64_t kLookPastEnd = 1024 * 1024;

// A buffer this large held the start of a pipe; once that is given out, it is let go.
constexpr qsizetype kLargeBuffer = 1024 * 1024;

qsizetype FindWideLineFeed(const QByteArray& buffer, qsizetype from, qsizetype limit,
                           TextEncoding encoding) {
    const char first = encoding == TextEncoding::Utf16LittleEndian ? '\n' : '\0';
    const char second = encoding == TextEncoding::Utf16LittleEndian ? '\0' : '\n';
    for (qsizetype index = from; index + 2 <= limit; index += 2) {
        if (buffer[index] == first && buffer[index + 1] == second) {
            return index;
        }
    }
    return -1;
}

}  // namespace

TextStream::TextStream(int fd, QString path) : fd_(fd), path_(std::move(path)) {
    struct stat status;
    if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
        regularFile_ = true;
        size_ = status.st_size;
    }
}

TextStream::~TextStream() {
    ::close(fd_);
}

void TextStream::AskWhetherToStop() {
    const Clock::time_point now = Clock::now();
    if (now - lastAsked_ < kStopQuestionInterval) {
        return;
    }
    lastAsked_ = now;
    if (stopCheck_ && stopCheck_()) {
        throw Stopped{};
    }
}

// Waits up to a slice for a pipe that had nothing to read; false when it has ended. A read of
// nothing means that no writer holds the pipe open. That is its end once a writer has been and
// gone, which the kernel reports as a hang-up; for a named FIFO that no writer has opened yet it
// holds the hang-up back, and the FIFO is waited for like a pipe that has not written yet.
bool TextStream::WaitForPipe(bool noWriter) {
    pollfd readable{fd_, POLLIN, 0};
    const int ready = ::poll(&readable, 1, kWaitSliceMilliseconds);
    if (noWriter && ready > 0 && (readable.revents & POLLIN) == 0) {
        return false;
    }
    AskWhetherToStop();
    return true;
}

bool TextStream::Fill() {
    if (endOfFile_) {
        return false;
    }
    if (position_ > 0) {
        if (buffer_.capacity() > kLargeBuffer) {
            buffer_ = buffer_.mid(position_);
        } else {
            buffer_.remove(0, position_);
        }
        position_ = 0;
    }
    const qsizetype kept = buffer_.size();
    while (true) {
        buffer_.resize(kept + kReadSize);
        const ssize_t count = ::read(fd_, buffer_.data() + kept, kReadSize);
        const int error = errno;
        buffer_.resize(kept + std::max<ssize_t>(count, 0));
        if (count > 0) {
            bytesFromFile_ += count;
            return true;
        }
        if (count < 0 && error != EAGAIN && error != EINTR) {
            throw FileSystemError(error, path_);
        }
        if (count < 0 && error == EINTR) {
            AskWhetherToStop();
        } else if (regularFile_ || !WaitForPipe(count == 0)) {
            endOfFile_ = true;
            return false;
        }
    }
}

void TextStream::Start() {
    started_ = true;
    while (buffer_.size() < 3 && Fill()) {
    }
    if (const std::optional<ByteOrderMark> mark = ByteOrderMarkOf(buffer_)) {
        encoding_ = mark->encoding;
        position_ = mark->length;
    } else if (regularFile_) {
        DecideFromWholeFile();
    } else {
        DecideFromPipeStart();
    }
}

// Looks through the file from where the buffer ends to the end of the file, without moving the
// descriptor; only a file that is all UTF-8 is read to its end twice.
void TextStream::DecideFromWholeFile() {
    EncodingDecision decision;
    decision.Feed(buffer_);
    QByteArray piece;
    std::int64_t offset = bytesFromFile_;
    while (!decision.settled() && !endOfFile_) {
        piece.resize(kScanSize);
        const ssize_t count = ::pread(fd_, piece.data(), kScanSize, offset);
        if (count < 0 && errno != EINTR) {
            throw FileSystemError(errno, path_);
        }
        if (count == 0) {
            break;
        }
        if (count > 0) {
            decision.Feed(QByteArrayView(piece.constData(), count));
            offset += count;
        }
        AskWhetherToStop();
    }
    encoding_ = decision.Whole();
}

// Reads the start of a pipe into the buffer, from which its lines are then given out.
void TextStream::DecideFromPipeStart() {
    EncodingDecision decision;
    decision.Feed(buffer_);
    if (!decision.settled() && !endOfFile_) {
        buffer_.reserve(kPipeLookAhead + kReadSize);
    }
    while (!decision.settled() && buffer_.size() < kPipeLookAhead) {
        const qsizetype seen = buffer_.size();
        if (!Fill()) {
            break;
        }
        decision.Feed(QByteArrayView(buffer_).sliced(seen));
    }
    encoding_ = endOfFile_ ? decision.Whole() : decision.Start();
}

void TextStream::ThrowLineTooLong() const {
    throw RunTimeError(
        ENAMETOOLONG, QStringLiteral("%1 行目が %2 バイトを超えています: %3")
                          .arg(QString::number(lineNumber_), QString::number(kLongestLine), path_));
}

// The next line's bytes without its line feed, a view into the buffer that holds until the next
// call. A line feed is one byte in UTF-8 and Shift_JIS (no trail byte is 0x0A) and one aligned
// code unit in UTF-16.
std::optional<QByteArrayView> TextStream::NextRawLine() {
    const bool wide =
        encoding_ == TextEncoding::Utf16LittleEndian || encoding_ == TextEncoding::Utf16BigEndian;
    const qsizetype unit = wide ? 2 : 1;
    qsizetype scanned = 0;
    while (true) {
        // Never further than the longest line and its line feed.
        const qsizetype limit = std::min(buffer_.size(), position_ + kLongestLine + unit);
        const qsizetype from = position_ + scanned;
        qsizetype found = -1;
        if (wide) {
            found = FindWideLineFeed(buffer_, from, limit, encoding_);
        } else if (from < limit) {
            const void* feed = std::memchr(buffer_.constData() + from, '\n', limit - from);
            found = feed == nullptr ? -1 : static_cast<const char*>(feed) - buffer_.constData();
        }
        if (found >= 0) {
            ++lineNumber_;
            const QByteArrayView line(buffer_.constData() + position_, found - position_);
            position_ = found + unit;
            return line;
        }
        scanned = limit - position_;
        if (scanned >= kLongestLine + unit) {
            ++lineNumber_;
            ThrowLineTooLong();
        }
        scanned -= scanned % unit;
        if (!Fill()) {
            break;
        }
    }
    if (position_ >= buffer_.size()) {
        return std::nullopt;  // a final terminator is not followed by an empty line
    }
    ++lineNumber_;
    const QByteArrayView line(buffer_.constData() + position_, buffer_.size() - position_);
    position_ = buffer_.size();
    return line;
}

std::optional<QString> TextStream::ReadLine() {
    if (!started_) {
        Start();
    }
    const std::optional<QByteArrayView> raw = NextRawLine();
    if (!raw) {
        return std::nullopt;
    }
    std::optional<QString> line = DecodeText(*raw, encoding_);
    if (!line) {
        throw RunTimeError(EILSEQ,
                           QStringLiteral("%1 行目を %2 として読めません: %3")
                               .arg(QString::number(lineNumber_), NameOf(encoding_), path_));
    }
    if (line->endsWith(u'\r')) {
        line->chop(1);
    }
    return line;
}

bool TextStream::TextFollows() {
    if (!regularFile_) {
        return false;
    }
    const std::int64_t from = bytesRead();
    try {
        while (bytesRead() - from <= kLookPastEnd) {
            const std::optional<QString> line = ReadLine();
            if (!line) {
                return false;
            }
            if (!line->isEmpty()) {
                return true;
            }
        }
    } catch (const RunTimeError&) {
        return true;  // a line that cannot be read is still a line
    }
    return true;
}

}  // namespace zarame
