#include "cli/log_output.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>

#include <algorithm>

namespace zarame {

namespace {

constexpr qsizetype kBlockSize = 65536;
// A pipe that reports room for writing has at least this much: a write of it never blocks.
constexpr qsizetype kPipePage = 4096;
constexpr int kWaitSliceMilliseconds = 100;
constexpr qint64 kStopGraceMilliseconds = 1000;

}  // namespace

LogOutput::LogOutput(int fd, std::function<bool()> stopAsked)
    : fd_(fd), stopAsked_(std::move(stopAsked)) {}

void LogOutput::Append(const QString& line) {
    if (state_ != State::Open) {
        ++droppedLines_;
        return;
    }
    pending_ += line.toUtf8();
    pending_ += '\n';
    if (pending_.size() >= kBlockSize) {
        Flush();
    }
}

void LogOutput::Flush() {
    qsizetype written = 0;
    while (state_ == State::Open && written < pending_.size()) {
        const bool stopping = stopAsked_ && stopAsked_();
        if (stopping && !sinceStop_.isValid()) {
            sinceStop_.start();
        }
        if (stopping && sinceStop_.elapsed() >= kStopGraceMilliseconds) {
            Close(State::Abandoned, 0, written);
            break;
        }
        pollfd writable{fd_, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, kWaitSliceMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR)) {
            continue;
        }
        // Once stopping, only as much as surely fits, so that the write itself cannot wait.
        const qsizetype chunk =
            std::min(pending_.size() - written, stopping ? kPipePage : kBlockSize);
        const ssize_t count = ::write(fd_, pending_.constData() + written, chunk);
        if (count >= 0) {
            written += count;
        } else if (errno == EPIPE) {
            Close(State::ReaderGone, errno, written);
        } else if (errno != EINTR && errno != EAGAIN) {
            Close(State::Failed, errno, written);
        }
    }
    if (state_ == State::Open) {
        pending_.remove(0, written);
    }
}

void LogOutput::Close(State state, int error, qsizetype written) {
    state_ = state;
    error_ = error;
    // A line cut short counts as not written: its end is still held.
    droppedLines_ += QByteArrayView(pending_).sliced(written).count('\n');
    pending_.clear();
}

void WriteMessage(int fd, const QByteArray& bytes, const std::function<bool()>& stopAsked) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + written, bytes.size() - written);
        if (count >= 0) {
            written += count;
        } else if (errno != EINTR || (stopAsked && stopAsked())) {
            return;
        }
    }
}

}  // namespace zarame
