#include "workbook/workbook_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "workbook/workbook_error.h"

namespace zarame::workbook {

WorkbookFile::WorkbookFile(const QString& path) : path_(path) {
    const QByteArray native = EncodeBytes(path);
    if (native.contains('\0')) {
        throw FileSystemError(EINVAL, VisibleText(path));
    }
    // O_NONBLOCK so that a FIFO without a writer, or a device, cannot hold the open.
    fd_ = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        throw FileSystemError(errno, VisibleText(path));
    }
    struct stat status;
    if (::fstat(fd_, &status) != 0) {
        const int error = errno;
        ::close(fd_);
        throw FileSystemError(error, VisibleText(path));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd_);
        throw RunTimeError(kWorkbookErrorNumber,
                           QStringLiteral("通常のファイルではありません: ") + VisibleText(path));
    }
    size_ = status.st_size;
}

WorkbookFile::~WorkbookFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

QByteArray WorkbookFile::ReadAt(std::int64_t offset, std::int64_t count) const {
    if (offset < 0 || count < 0 || offset >= size_) {
        return {};
    }
    count = std::min(count, size_ - offset);
    QByteArray bytes(static_cast<qsizetype>(count), Qt::Uninitialized);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, static_cast<size_t>(count - done),
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw FileSystemError(errno, VisibleText(path_));
        }
        if (got == 0) {
            break;  // the file shrank under us
        }
        done += got;
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return bytes;
}

int WorkbookFile::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace zarame::workbook
