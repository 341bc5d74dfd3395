#include "create/posix_file_service.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>

#include <optional>
#include <utility>

#include "common/run_time_error.h"
#include "create/text_stream.h"

namespace zarame {

namespace {

// The system takes a path up to its first NUL; a name holding one (from a text line) would
// otherwise create a shorter name than the one logged.
QByteArray Native(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        throw FileSystemError(EINVAL, path);
    }
    return QFile::encodeName(path);
}

[[noreturn]] void ThrowErrno(const QString& path) {
    throw FileSystemError(errno, path);
}

// The type of what stands at the path (links followed), or nothing when nothing can be found
// there; a path holding NUL names nothing.
std::optional<mode_t> TypeAt(const QString& path) {
    struct stat status;
    if (path.contains(QChar(u'\0')) || ::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return status.st_mode & S_IFMT;
}

bool IsFolder(const QString& path) {
    return TypeAt(path) == S_IFDIR;
}

// Closes a descriptor it owns on every way out of a scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

constexpr mode_t kTemplateMode = 0644;

RunTimeError TemplateBusyError(const QString& path) {
    return RunTimeError(EWOULDBLOCK,
                        QStringLiteral("一時ファイルは別の作成処理が使用中です: ") + path);
}

// Whether the path still names the file open on the descriptor (a link at the path does not).
bool PathNamesDescriptor(const QByteArray& native, int fd) {
    struct stat open;
    struct stat atPath;
    return ::fstat(fd, &open) == 0 && ::lstat(native.constData(), &atPath) == 0 &&
           open.st_dev == atPath.st_dev && open.st_ino == atPath.st_ino;
}

bool IsUnsupported(int error) {
    return error == EOPNOTSUPP || error == ENOTTY || error == EXDEV || error == EINVAL ||
           error == ENOSYS || error == EBADF;
}

// Writes all of the bytes, resuming after a signal or a short write.
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

}  // namespace

PosixFileService::~PosixFileService() {
    CloseTemplate();
}

bool PosixFileService::FolderExists(const QString& path) {
    return IsFolder(path);
}

bool PosixFileService::FileExists(const QString& path) {
    // Anything that is not a folder counts as a file, so a fifo or device is never copied over.
    const std::optional<mode_t> type = TypeAt(path);
    return type && *type != S_IFDIR;
}

CreateOutcome PosixFileService::CreateFolder(const QString& path) {
    if (::mkdir(Native(path).constData(), 0777) == 0) {
        return CreateOutcome::Created;
    }
    if (errno == EEXIST && IsFolder(path)) {
        return CreateOutcome::AlreadyExists;
    }
    ThrowErrno(path);
}

CreateOutcome PosixFileService::CopyFile(const QString& source, const QString& destination) {
    const bool fromTemplate = templateFd_ >= 0 && source == templatePath_;
    FileDescriptor opened(fromTemplate ? -1
                                       : ::open(Native(source).constData(), O_RDONLY | O_CLOEXEC));
    const int sourceFd = fromTemplate ? templateFd_ : opened.get();
    if (sourceFd < 0) {
        ThrowErrno(source);
    }
    // The run wrote the template and holds it locked, so its size and mode are known without
    // asking the system once per item.
    off_t size = templateSize_;
    mode_t mode = kTemplateMode;
    if (!fromTemplate) {
        struct stat sourceStatus;
        if (::fstat(sourceFd, &sourceStatus) != 0) {
            ThrowErrno(source);
        }
        if (S_ISDIR(sourceStatus.st_mode)) {
            throw FileSystemError(EISDIR, source);
        }
        size = sourceStatus.st_size;
        mode = sourceStatus.st_mode & 0777;
    }

    const QByteArray nativeDestination = Native(destination);
    // O_EXCL never follows a symbolic link and never opens what is already there.
    FileDescriptor target(
        ::open(nativeDestination.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (target.get() < 0) {
        if (errno == EEXIST) {
            if (IsFolder(destination)) {
                throw FileSystemError(EISDIR, destination);
            }
            return CreateOutcome::AlreadyExists;
        }
        ThrowErrno(destination);
    }
    try {
        if (size > 0) {
            CopyContent(sourceFd, size, target.get(), destination);
        }
        if (::close(target.release()) != 0) {
            ThrowErrno(destination);
        }
    } catch (const RunTimeError&) {
        // The file is ours (created exclusively above); a half-written copy would later pass for
        // an existing item, so it goes.
        ::unlink(nativeDestination.constData());
        throw;
    }
    return CreateOutcome::Created;
}

void PosixFileService::CopyContent(int sourceFd, off_t size, int destinationFd,
                                   const QString& destination) {
    if (!reflinkUnavailable_) {
        if (::ioctl(destinationFd, FICLONE, sourceFd) == 0) {
            return;
        }
        if (!IsUnsupported(errno)) {
            ThrowErrno(destination);
        }
        reflinkUnavailable_ = true;
    }
    // Offsets are explicit so that the shared template descriptor's position never matters.
    off_t sourceOffset = 0;
    if (!kernelCopyUnavailable_) {
        while (sourceOffset < size) {
            const ssize_t copied = ::copy_file_range(sourceFd, &sourceOffset, destinationFd,
                                                     nullptr, size - sourceOffset, 0);
            if (copied > 0) {
                continue;
            }
            if (copied == 0) {
                break;  // the source shrank under us; copy what there is
            }
            if (errno == EINTR) {
                continue;
            }
            if (sourceOffset == 0 && IsUnsupported(errno)) {
                kernelCopyUnavailable_ = true;
                break;
            }
            ThrowErrno(destination);
        }
        if (!kernelCopyUnavailable_) {
            return;
        }
    }
    char buffer[65536];
    while (true) {
        const ssize_t read = ::pread(sourceFd, buffer, sizeof buffer, sourceOffset);
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno(destination);
        }
        if (read == 0) {
            return;
        }
        if (!WriteAll(destinationFd, buffer, static_cast<size_t>(read))) {
            ThrowErrno(destination);
        }
        sourceOffset += read;
    }
}

void PosixFileService::DeleteFile(const QString& path) {
    const QByteArray native = Native(path);
    struct stat status;
    if (::lstat(native.constData(), &status) != 0) {
        ThrowErrno(path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileSystemError(EISDIR, path);
    }
    // Like rm without -f, a write-protected file is not removed unasked.
    if (!S_ISLNK(status.st_mode) && (status.st_mode & S_IWUSR) == 0) {
        throw FileSystemError(EACCES, path);
    }
    if (::unlink(native.constData()) != 0) {
        ThrowErrno(path);
    }
}

std::unique_ptr<TextStream> PosixFileService::OpenTextFile(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowErrno(path);
    }
    return std::make_unique<TextStream>(fd, path);
}

void PosixFileService::CreateTemplate(const QString& path) {
    CloseTemplate();
    const QByteArray native = Native(path);
    {
        // A leftover is deleted only when no other run holds it: a live run's template is never
        // pulled from under it.
        FileDescriptor existing(
            ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        const bool plantedLink = existing.get() < 0 && errno == ELOOP;
        if (existing.get() >= 0 && ::flock(existing.get(), LOCK_EX | LOCK_NB) != 0) {
            throw TemplateBusyError(path);
        }
        if (existing.get() >= 0 || plantedLink) {
            try {
                DeleteFile(path);
            } catch (const RunTimeError&) {
                // The exclusive create below reports a leftover that could not be removed.
            }
        }
    }
    FileDescriptor created(::open(
        native.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kTemplateMode));
    if (created.get() < 0) {
        ThrowErrno(path);
    }
    // Another run may have removed our fresh file before we locked it; then the path is theirs.
    if (::flock(created.get(), LOCK_EX | LOCK_NB) != 0 ||
        !PathNamesDescriptor(native, created.get())) {
        throw TemplateBusyError(path);
    }
    templateFd_ = created.release();
    templatePath_ = path;
    templateSize_ = 0;
}

void PosixFileService::WriteTemplate(const char* bytes, qsizetype count) {
    if (templateFd_ < 0) {
        throw FileSystemError(EBADF, templatePath_);
    }
    if (!WriteAll(templateFd_, bytes, static_cast<size_t>(count))) {
        ThrowErrno(templatePath_);
    }
    templateSize_ += count;
}

void PosixFileService::RemoveTemplate(const QString& path) noexcept {
    const QByteArray native = QFile::encodeName(path);
    if (templateFd_ >= 0 && path == templatePath_) {
        if (PathNamesDescriptor(native, templateFd_)) {
            ::unlink(native.constData());
        }
        CloseTemplate();
        return;
    }
    FileDescriptor existing(
        ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (existing.get() < 0 || ::flock(existing.get(), LOCK_EX | LOCK_NB) != 0) {
        return;  // missing, or another run's live template
    }
    try {
        DeleteFile(path);
    } catch (const RunTimeError&) {
        // A template that cannot be deleted stays; nothing is reported.
    }
}

void PosixFileService::CloseTemplate() noexcept {
    if (templateFd_ >= 0) {
        ::close(templateFd_);
        templateFd_ = -1;
    }
    templatePath_.clear();
}

}  // namespace zarame
