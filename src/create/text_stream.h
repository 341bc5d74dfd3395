#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace zarame {

// A text file read one line at a time, never whole. Lines end at LF or CRLF; the CR is never part
// of a line. A UTF-8 byte-order mark is skipped; UTF-16 with a byte-order mark is decoded as such.
// Otherwise each line on its own is UTF-8 when it is valid UTF-8, else Shift_JIS (CP932), as name
// lists written on Japanese Windows are: a file pieced together from both reads right.
class TextStream {
public:
    // Takes ownership of an open descriptor; the path names it in errors.
    TextStream(int fd, QString path);
    ~TextStream();
    TextStream(const TextStream&) = delete;
    TextStream& operator=(const TextStream&) = delete;

    // The next line without its terminator; nothing once the last line has been read. A read
    // failure, a line that no candidate encoding decodes, and a line longer than any path (which
    // is never held whole) raise a RunTimeError.
    std::optional<QString> ReadLine();

    // Bytes of the file taken up by the lines read so far, and the file's size when it was
    // opened: 0 for a pipe, whose size nobody knows.
    std::int64_t bytesRead() const { return bytesFromFile_ - (buffer_.size() - position_); }
    std::int64_t size() const { return size_; }

    // Raised by ReadLine when the stop check said yes while the stream waited for a pipe.
    struct Stopped {};
    // Asked about every tenth of a second while a pipe has nothing to read, so that a writer
    // that never writes cannot hold the run; the check may pump the window's events.
    void SetStopCheck(std::function<bool()> stopCheck) { stopCheck_ = std::move(stopCheck); }

private:
    enum class Encoding { Utf8OrShiftJis, Utf16LittleEndian, Utf16BigEndian };

    bool Fill();
    void DetectByteOrderMark();
    std::optional<QByteArray> NextRawLine();
    QString Decode(const QByteArray& raw);

    int fd_;
    QString path_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool endOfFile_ = false;
    bool started_ = false;
    Encoding encoding_ = Encoding::Utf8OrShiftJis;
    std::int64_t bytesFromFile_ = 0;
    std::int64_t size_ = 0;
    std::function<bool()> stopCheck_;
};

}  // namespace zarame
