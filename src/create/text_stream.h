#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/text_encoding.h"

namespace zarame {

// A text file read one line at a time. Lines end at LF or CRLF; the CR is never part of a line.
// A byte-order mark chooses UTF-8 or UTF-16. Without one, one encoding is decided for the whole
// file before the first line is given out: a regular file is looked through from start to end, a
// pipe over its first 16 MiB (held, and then given out line by line) or up to its end; UTF-8 if
// all of that is valid UTF-8, else Shift_JIS (CP932).
class TextStream {
public:
    // Takes ownership of an open descriptor; the path names it in errors.
    TextStream(int fd, QString path);
    ~TextStream();
    TextStream(const TextStream&) = delete;
    TextStream& operator=(const TextStream&) = delete;

    // The next line without its terminator; nothing once the last line has been read. A read
    // failure, a line that the file's encoding does not decode, and a line longer than any path
    // (which is never held whole) raise a RunTimeError that names the line.
    std::optional<QString> ReadLine();

    // Whether any line that is not empty follows the lines read so far in a regular file; reads
    // on to find out, but only so far. Never asked of a pipe, whose rest is not ours to take.
    bool TextFollows();

    // The number of the line read last, from 1.
    std::int64_t lineNumber() const { return lineNumber_; }
    bool regularFile() const { return regularFile_; }
    TextEncoding encoding() const { return encoding_; }

    // Bytes of the file taken up by the lines read so far, and the file's size when it was
    // opened: 0 for a pipe, whose size nobody knows.
    std::int64_t bytesRead() const { return bytesFromFile_ - (buffer_.size() - position_); }
    std::int64_t size() const { return size_; }

    // Raised by ReadLine when the stop check said yes while the stream waited for a pipe or
    // looked through a long file.
    struct Stopped {};
    // Asked about every tenth of a second while a pipe has nothing to read (a FIFO that no
    // writer has opened yet included) and while the encoding is being decided, so that neither
    // a writer that never writes nor a huge file can hold the run; the check may pump the
    // window's events.
    void SetStopCheck(std::function<bool()> stopCheck) { stopCheck_ = std::move(stopCheck); }

private:
    void Start();
    void DecideFromWholeFile();
    void DecideFromPipeStart();
    bool Fill();
    bool WaitForPipe(bool nothingRead);
    void AskWhetherToStop();
    std::optional<QByteArrayView> NextRawLine();
    [[noreturn]] void ThrowLineTooLong() const;

    int fd_;
    QString path_;
    bool regularFile_ = false;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool endOfFile_ = false;
    bool started_ = false;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::int64_t bytesFromFile_ = 0;
    std::int64_t size_ = 0;
    std::int64_t lineNumber_ = 0;
    std::function<bool()> stopCheck_;
    std::chrono::steady_clock::time_point lastAsked_;
};

}  // namespace zarame
