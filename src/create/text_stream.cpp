#include "create/text_stream.h"

#include <iconv.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QStringDecoder>
#include <cerrno>

#include "common/run_time_error.h"

namespace zarame {

namespace {

constexpr qsizetype kReadSize = 65536;
constexpr int kWaitSliceMilliseconds = 100;

// No path the system takes is this long (PATH_MAX is 4096 bytes), so a longer line can only fail;
// stopping there keeps an endless line (/dev/zero) from taking all memory.
constexpr qsizetype kLongestLine = 65536;

bool HasLoneSurrogate(QStringView text) {
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (text[index].isHighSurrogate() && index + 1 < text.size() &&
            text[index + 1].isLowSurrogate()) {
            ++index;
        } else if (text[index].isSurrogate()) {
            return true;
        }
    }
    return false;
}

std::optional<QString> DecodeUtf8(const QByteArray& raw) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(raw);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// One converter for the thread, opened at first use: opening one per line costs more than the
// line's conversion.
class ShiftJisConverter {
public:
    ShiftJisConverter() : converter_(::iconv_open("UTF-8", "CP932")) {}
    ~ShiftJisConverter() {
        if (usable()) {
            ::iconv_close(converter_);
        }
    }
    ShiftJisConverter(const ShiftJisConverter&) = delete;
    ShiftJisConverter& operator=(const ShiftJisConverter&) = delete;

    bool usable() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<QString> Decode(const QByteArray& raw) {
        ::iconv(converter_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        QByteArray output(raw.size() * 3 + 4, Qt::Uninitialized);
        char* in = const_cast<char*>(raw.constData());  // iconv does not write its input
        size_t inLeft = static_cast<size_t>(raw.size());
        char* out = output.data();
        size_t outLeft = static_cast<size_t>(output.size());
        const size_t result = ::iconv(converter_, &in, &inLeft, &out, &outLeft);
        if (result == static_cast<size_t>(-1) || inLeft != 0) {
            return std::nullopt;
        }
        output.truncate(output.size() - static_cast<qsizetype>(outLeft));
        return QString::fromUtf8(output);
    }

private:
    iconv_t converter_;
};

std::optional<QString> DecodeShiftJis(const QByteArray& raw) {
    thread_local ShiftJisConverter converter;
    return converter.usable() ? converter.Decode(raw) : std::nullopt;
}

}  // namespace

TextStream::TextStream(int fd, QString path) : fd_(fd), path_(std::move(path)) {
    struct stat status;
    if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
        size_ = status.st_size;
    }
}

TextStream::~TextStream() {
    ::close(fd_);
}

bool TextStream::Fill() {
    if (endOfFile_) {
        return false;
    }
    if (position_ > 0) {
        buffer_.remove(0, position_);
        position_ = 0;
    }
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + kReadSize);
    ssize_t count;
    while (true) {
        count = ::read(fd_, buffer_.data() + kept, kReadSize);
        if (count >= 0 || (errno != EINTR && errno != EAGAIN)) {
            break;
        }
        // The descriptor never blocks: a pipe with nothing to read yet is waited on in short
        // slices, asking between them whether the run is to stop.
        if (errno == EAGAIN) {
            pollfd readable{fd_, POLLIN, 0};
            ::poll(&readable, 1, kWaitSliceMilliseconds);
        }
        if (stopCheck_ && stopCheck_()) {
            buffer_.resize(kept);
            throw Stopped{};
        }
    }
    if (count < 0) {
        const int error = errno;
        buffer_.resize(kept);
        throw FileSystemError(error, path_);
    }
    buffer_.resize(kept + count);
    bytesFromFile_ += count;
    endOfFile_ = count == 0;
    return count > 0;
}

void TextStream::DetectByteOrderMark() {
    started_ = true;
    while (buffer_.size() < 3 && Fill()) {
    }
    if (buffer_.startsWith("\xEF\xBB\xBF")) {
        position_ = 3;
    } else if (buffer_.startsWith("\xFF\xFE")) {
        encoding_ = Encoding::Utf16LittleEndian;
        position_ = 2;
    } else if (buffer_.startsWith("\xFE\xFF")) {
        encoding_ = Encoding::Utf16BigEndian;
        position_ = 2;
    }
}

std::optional<QByteArray> TextStream::NextRawLine() {
    const bool wide =
        encoding_ == Encoding::Utf16LittleEndian || encoding_ == Encoding::Utf16BigEndian;
    const qsizetype unit = wide ? 2 : 1;
    qsizetype searchFrom = position_;
    while (true) {
        // A line feed is one byte in UTF-8 and Shift_JIS (no trail byte is 0x0A) and one aligned
        // code unit in UTF-16.
        for (qsizetype index = searchFrom; index + unit <= buffer_.size(); index += unit) {
            const bool lineFeed =
                !wide ? buffer_[index] == '\n'
                      : (encoding_ == Encoding::Utf16LittleEndian
                             ? buffer_[index] == '\n' && buffer_[index + 1] == '\0'
                             : buffer_[index] == '\0' && buffer_[index + 1] == '\n');
            if (lineFeed) {
                QByteArray line = buffer_.mid(position_, index - position_);
                position_ = index + unit;
                return line;
            }
        }
        const qsizetype scanned = buffer_.size() - position_;
        if (scanned > kLongestLine) {
            throw RunTimeError(ENAMETOOLONG, QStringLiteral("%1 バイトを超える行があります: %2")
                                                 .arg(QString::number(kLongestLine), path_));
        }
        if (!Fill()) {
            break;
        }
        searchFrom = position_ + scanned - (scanned % unit);
    }
    if (position_ >= buffer_.size()) {
        return std::nullopt;  // a final terminator is not followed by an empty line
    }
    QByteArray line = buffer_.mid(position_);
    position_ = buffer_.size();
    return line;
}

QString TextStream::Decode(const QByteArray& raw) {
    if (encoding_ == Encoding::Utf8OrShiftJis) {
        if (std::optional<QString> text = DecodeUtf8(raw)) {
            return *text;
        }
        if (std::optional<QString> text = DecodeShiftJis(raw)) {
            return *text;
        }
    } else {
        QStringDecoder decoder(encoding_ == Encoding::Utf16LittleEndian ? QStringDecoder::Utf16LE
                                                                        : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(raw);
        // A stateless decoder drops a lone trailing byte without reporting it, and passes a lone
        // surrogate through, which would become a different name (or a raw byte) on disk.
        if (!decoder.hasError() && raw.size() % 2 == 0 && !HasLoneSurrogate(text)) {
            return text;
        }
    }
    throw FileSystemError(EILSEQ, path_);
}

std::optional<QString> TextStream::ReadLine() {
    if (!started_) {
        DetectByteOrderMark();
    }
    std::optional<QByteArray> raw = NextRawLine();
    if (!raw) {
        return std::nullopt;
    }
    QString line = Decode(*raw);
    if (line.endsWith(u'\r')) {
        line.chop(1);
    }
    return line;
}

}  // namespace zarame
