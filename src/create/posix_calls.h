#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "common/run_time_error.h"

// The small wrappers over system calls that the parts of the file service share.
namespace zarame::posix {

// Copies move through memory in blocks of this size: large enough that the system-call count
// per megabyte stays small, small enough to be no memory burden.
inline constexpr qsizetype kCopyBlock = 1 << 20;

// The path's bytes. The system takes a path up to its first NUL; a name holding one (from a text
// line) would otherwise create a shorter name than the one logged, so it is refused.
QByteArray Native(const QString& path);

[[noreturn]] void ThrowErrno(const QString& path);

// Named in the error so that the user sees why a FIFO, device or socket was refused.
RunTimeError NotRegularFileError(const QString& path);

// A look at a copy's source before it is opened (links followed): what is not a regular file is
// refused with the error a copy raises, so that a FIFO is never opened and waited on.
struct stat LookAtCopySource(const QString& source);

// Closes a descriptor it owns on every way out of a scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Whether the path still names the file open on the descriptor (a link at the path does not).
bool PathNamesDescriptor(const QByteArray& native, int fd);

// Writes all of the bytes, resuming after a signal or a short write.
bool WriteAll(int fd, const char* bytes, size_t count);

// Writes `size` bytes that are all `fill`, a block at a time from `block` (made to hold one block
// of the fill if it does not already), calling `betweenBlocks` before every block but the first.
// False with errno set when a write fails.
bool WriteFilled(int fd, std::int64_t size, char fill, QByteArray& block,
                 const std::function<void()>& betweenBlocks);

// Reads up to count bytes at the offset, resuming after a signal; -1 on failure.
ssize_t ReadAt(int fd, char* bytes, size_t count, off_t offset);

// Deletes a file or link; a folder is refused, and so is a write-protected file, as rm without -f
// does not remove one unasked.
void DeleteFile(const QString& path);

}  // namespace zarame::posix
