#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace zarame {

// The log written to a descriptor in blocks rather than line by line. Writing waits in short
// slices, so a reader that stops reading holds a run no longer than about a second once a stop
// has been asked for; what cannot be written then is dropped.
class LogOutput {
public:
    enum class State {
        Open,
        ReaderGone,  // the pipe's reader went away (EPIPE): the user ended the output
        Failed,      // a write failed (a full disk, an I/O error): the log is lost
        Abandoned,   // a stop came while the reader was not reading
    };

    // stopAsked tells whether a stop signal has come; it is asked only while a write waits.
    LogOutput(int fd, std::function<bool()> stopAsked);

    // Adds a line; a full block goes out at once.
    void Append(const QString& line);
    // Writes what is held. Does nothing once the output is no longer open.
    void Flush();
    bool HasPending() const { return !pending_.isEmpty(); }

    State state() const { return state_; }
    int error() const { return error_; }
    // Lines that were given but never fully written: held when the output closed, or given after.
    long long droppedLines() const { return droppedLines_; }

private:
    void Close(State state, int error, qsizetype written);

    int fd_;
    std::function<bool()> stopAsked_;
    QByteArray pending_;
    State state_ = State::Open;
    int error_ = 0;
    long long droppedLines_ = 0;
    QElapsedTimer sinceStop_;  // from the first wait after a stop was asked
};

// Writes all of the bytes to the descriptor, resuming after a signal unless a stop has been
// asked for; for messages, which are short.
void WriteMessage(int fd, const QByteArray& bytes, const std::function<bool()>& stopAsked);

}  // namespace zarame
