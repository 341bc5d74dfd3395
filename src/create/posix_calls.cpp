#include "create/posix_calls.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

#include "common/byte_text.h"
#include "common/run_time_error.h"

namespace zarame::posix {

QByteArray Native(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        throw FileSystemError(EINVAL, path);
    }
    return EncodeBytes(path);
}

RunTimeError NotRegularFileError(const QString& path) {
    return RunTimeError(EINVAL,
                        QStringLiteral("通常のファイルではないため読み込めません: ") + path);
}

struct stat LookAtCopySource(const QString& source) {
    struct stat status;
    if (::stat(Native(source).constData(), &status) != 0) {
        ThrowErrno(source);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileSystemError(EISDIR, source);
    }
    if (!S_ISREG(status.st_mode)) {
        throw NotRegularFileError(source);
    }
    return status;
}

void ThrowErrno(const QString& path) {
    throw FileSystemError(errno, path);
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool PathNamesDescriptor(const QByteArray& native, int fd) {
    struct stat open;
    struct stat atPath;
    return ::fstat(fd, &open) == 0 && ::lstat(native.constData(), &atPath) == 0 &&
           open.st_dev == atPath.st_dev && open.st_ino == atPath.st_ino;
}

bool WriteAll(int fd, const char* bytes, size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

ssize_t ReadAt(int fd, char* bytes, size_t count, off_t offset) {
    while (true) {
        const ssize_t read = ::pread(fd, bytes, count, offset);
        if (read >= 0 || errno != EINTR) {
            return read;
        }
    }
}

void DeleteFile(const QString& path) {
    const QByteArray native = Native(path);
    struct stat status;
    if (::lstat(native.constData(), &status) != 0) {
        ThrowErrno(path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileSystemError(EISDIR, path);
    }
    if (!S_ISLNK(status.st_mode) && (status.st_mode & S_IWUSR) == 0) {
        throw FileSystemError(EACCES, path);
    }
    if (::unlink(native.constData()) != 0) {
        ThrowErrno(path);
    }
}

bool WriteFilled(int fd, std::int64_t size, char fill, QByteArray& block,
                 const std::function<void()>& betweenBlocks) {
    const auto blockSize = static_cast<qsizetype>(std::min<std::int64_t>(size, kCopyBlock));
    if (block.size() != blockSize || (blockSize > 0 && block.front() != fill)) {
        block = QByteArray(blockSize, fill);
    }
    for (std::int64_t remaining = size; remaining > 0; remaining -= blockSize) {
        if (remaining < size) {
            betweenBlocks();
        }
        if (!WriteAll(fd, block.constData(),
                      static_cast<size_t>(std::min<std::int64_t>(remaining, blockSize)))) {
            return false;
        }
    }
    return true;
}

}  // namespace zarame::posix
