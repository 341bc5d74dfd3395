#include "create/posix_file_service.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <algorithm>
#include <utility>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "create/text_stream.h"

namespace zarame {

namespace {

// Copies move through memory in blocks of this size: large enough that the system-call count
// per megabyte stays small, small enough to be no memory burden.
constexpr qsizetype kCopyBlock = 1 << 20;
constexpr mode_t kTemplateMode = 0644;
// How long a duplicate source must have been left unchanged before its bytes are kept in memory.
constexpr time_t kSettledSeconds = 2;

bool SameTime(const timespec& left, const timespec& right) {
    return left.tv_sec == right.tv_sec && left.tv_nsec == right.tv_nsec;
}
// Items are ordinary new files, whatever the mode of what they are copied from.
constexpr mode_t kNewFileMode = 0666;
// How often a leftover is cleared before taking the template gives up: each round needs
// another run to have slipped in between, which does not repeat without end.
constexpr int kTemplateAttempts = 8;

// The system takes a path up to its first NUL; a name holding one (from a text line) would
// otherwise create a shorter name than the one logged.
QByteArray Native(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        throw FileSystemError(EINVAL, path);
    }
    return EncodeBytes(path);
}

[[noreturn]] void ThrowErrno(const QString& path) {
    throw FileSystemError(errno, path);
}

// Named in the error so that the user sees why a FIFO, device or socket was refused.
RunTimeError NotRegularFileError(const QString& path) {
    return RunTimeError(EINVAL,
                        QStringLiteral("通常のファイルではないため読み込めません: ") + path);
}

RunTimeError TemplateBusyError(const QString& path) {
    return RunTimeError(EWOULDBLOCK,
                        QStringLiteral("一時ファイルは別の作成処理が使用中です: ") + path);
}

// The type of what stands at the path (links followed), or nothing when nothing can be found
// there; a path holding NUL names nothing.
std::optional<mode_t> TypeAt(const QString& path) {
    struct stat status;
    if (path.contains(QChar(u'\0')) || ::stat(EncodeBytes(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return status.st_mode & S_IFMT;
}

bool IsFolder(const QString& path) {
    return TypeAt(path) == S_IFDIR;
}

// Opens what the user named for reading without ever waiting: a FIFO with no writer would
// otherwise hold open() for good, and a terminal must not become the controlling one.
int OpenForReading(const QByteArray& native) {
    return ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

// Whether the path still names the file open on the descriptor (a link at the path does not).
bool PathNamesDescriptor(const QByteArray& native, int fd) {
    struct stat open;
    struct stat atPath;
    return ::fstat(fd, &open) == 0 && ::lstat(native.constData(), &atPath) == 0 &&
           open.st_dev == atPath.st_dev && open.st_ino == atPath.st_ino;
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

// Reads up to count bytes at the offset, resuming after a signal; -1 on failure.
ssize_t ReadAt(int fd, char* bytes, size_t count, off_t offset) {
    while (true) {
        const ssize_t read = ::pread(fd, bytes, count, offset);
        if (read >= 0 || errno != EINTR) {
            return read;
        }
    }
}

QByteArray FolderOf(const QByteArray& native) {
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0) {
        return ".";
    }
    return slash == 0 ? QByteArray("/") : native.left(slash);
}

// A new template nobody else can reach yet: an unnamed file in the template's folder, or where
// the file system has none, a file under a private name. The caller locks it, then gives it its
// real name, so the name never stands for a file that is not locked.
struct PrivateFile {
    int fd = -1;
    QByteArray privateName;  // empty for an unnamed file
};

// The template's folder (the per-user data folder of an installed program) is made the first
// time a run needs it, not at every start; as a user's folder, it takes the usual mode.
void MakeMissingParents(const QByteArray& native) {
    for (qsizetype slash = native.indexOf('/', 1); slash != -1;
         slash = native.indexOf('/', slash + 1)) {
        ::mkdir(native.left(slash).constData(), 0755);
    }
}

PrivateFile CreatePrivateFile(const QByteArray& native, const QString& path) {
    const int unnamed =
        ::open(FolderOf(native).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, kTemplateMode);
    if (unnamed >= 0) {
        return {unnamed, {}};
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        ThrowErrno(path);
    }
    QByteArray name = native + ".XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named < 0) {
        ThrowErrno(path);
    }
    return {named, name};
}

int LinkIntoPlace(const PrivateFile& file, const QByteArray& native) {
    if (!file.privateName.isEmpty()) {
        return ::link(file.privateName.constData(), native.constData());
    }
    if (::linkat(file.fd, "", AT_FDCWD, native.constData(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    if (errno != ENOENT && errno != EPERM) {
        return -1;
    }
    // Without the right to link by descriptor, the descriptor's entry in /proc does the same.
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(file.fd);
    return ::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, native.constData(),
                    AT_SYMLINK_FOLLOW);
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
    const QByteArray nativeDestination = Native(destination);
    // The exclusive create is the existence test: it never follows a symbolic link, never opens
    // what is already there, and costs no call of its own.
    FileDescriptor target(::open(nativeDestination.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
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
        if (templateFd_ >= 0 && source == templatePath_) {
            CopyTemplate(target.get(), destination);
        } else {
            CopySource(source, target.get(), destination);
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

void PosixFileService::CopySource(const QString& source, int destinationFd,
                                  const QString& destination) {
    const QByteArray native = Native(source);
    // A look at the path first: what is not a regular file is refused without being opened, and
    // a source unchanged since the last item is written from memory.
    struct stat status;
    if (::stat(native.constData(), &status) != 0) {
        ThrowErrno(source);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileSystemError(EISDIR, source);
    }
    if (!S_ISREG(status.st_mode)) {
        throw NotRegularFileError(source);
    }
    if (sourceCache_.Holds(source, status)) {
        if (!WriteAll(destinationFd, sourceCache_.content.constData(),
                      static_cast<size_t>(sourceCache_.content.size()))) {
            ThrowErrno(destination);
        }
        return;
    }
    FileDescriptor opened(OpenForReading(native));
    if (opened.get() < 0) {
        ThrowErrno(source);
    }
    // The file now open may not be the one looked at: the checks hold for what is read.
    if (::fstat(opened.get(), &status) != 0) {
        ThrowErrno(source);
    }
    if (!S_ISREG(status.st_mode)) {
        throw NotRegularFileError(source);
    }
    const Copied copied =
        CopyContent(opened.get(), status.st_size, destinationFd, source, destination);
    sourceCache_.Remember(source, status,
                          copied.inOneRead ? buffer_.left(copied.bytes) : QByteArray());
}

void PosixFileService::CopyTemplate(int destinationFd, const QString& destination) {
    if (templateFill_) {
        const qsizetype block = std::min<qsizetype>(templateSize_, kCopyBlock);
        if (buffer_.size() != block || (block > 0 && buffer_.front() != *templateFill_)) {
            buffer_ = QByteArray(block, *templateFill_);
        }
        for (off_t remaining = templateSize_; remaining > 0; remaining -= block) {
            if (!WriteAll(destinationFd, buffer_.constData(),
                          static_cast<size_t>(std::min<off_t>(remaining, block)))) {
                ThrowErrno(destination);
            }
        }
        return;
    }
    // Mixed content is read back from the locked template; offsets are explicit so that the
    // shared descriptor's position never matters, and the copy is exactly the size written.
    buffer_.resize(kCopyBlock);
    for (off_t offset = 0; offset < templateSize_;) {
        const ssize_t read = ReadAt(
            templateFd_, buffer_.data(),
            static_cast<size_t>(std::min<off_t>(templateSize_ - offset, kCopyBlock)), offset);
        if (read <= 0) {
            throw FileSystemError(read == 0 ? EIO : errno, templatePath_);
        }
        if (!WriteAll(destinationFd, buffer_.constData(), static_cast<size_t>(read))) {
            ThrowErrno(destination);
        }
        offset += read;
    }
}

PosixFileService::Copied PosixFileService::CopyContent(int sourceFd, off_t size, int destinationFd,
                                                       const QString& source,
                                                       const QString& destination) {
    // A source is copied up to the size it had when it was opened, so a file that grows meanwhile
    // gives the same copy on every file system. A size of 0 says nothing for files the kernel
    // makes up as they are read (/proc), so those are copied to their end, as cp does.
    const bool toEnd = size == 0;
    buffer_.resize(kCopyBlock);
    off_t offset = 0;
    int reads = 0;
    while (toEnd || offset < size) {
        const size_t wanted = toEnd
                                  ? static_cast<size_t>(kCopyBlock)
                                  : static_cast<size_t>(std::min<off_t>(size - offset, kCopyBlock));
        ssize_t read;
        do {
            read = ::read(sourceFd, buffer_.data(), wanted);
        } while (read < 0 && errno == EINTR);
        if (read < 0) {
            ThrowErrno(source);
        }
        if (read == 0) {
            break;  // the source shrank under us; copy what there is
        }
        if (!WriteAll(destinationFd, buffer_.constData(), static_cast<size_t>(read))) {
            ThrowErrno(destination);
        }
        offset += read;
        ++reads;
    }
    return {static_cast<qsizetype>(offset), reads == 1};
}

bool PosixFileService::SourceCache::Holds(const QString& source, const struct stat& status) const {
    return valid && source == path && status.st_dev == device && status.st_ino == inode &&
           status.st_size == content.size() && SameTime(status.st_mtim, modified) &&
           SameTime(status.st_ctim, changed);
}

void PosixFileService::SourceCache::Remember(const QString& source, const struct stat& status,
                                             const QByteArray& whole) {
    valid = false;
    // Only a whole, non-empty source read in one block, and only one whose last change lies well
    // in the past: file times tick coarsely, so a change made within the same tick as the read
    // would not show in them (a file changed so recently is read again for every item).
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (status.st_size == 0 || whole.size() != status.st_size ||
        status.st_ctim.tv_sec + kSettledSeconds > now.tv_sec) {
        return;
    }
    path = source;
    device = status.st_dev;
    inode = status.st_ino;
    modified = status.st_mtim;
    changed = status.st_ctim;
    content = whole;
    valid = true;
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
    FileDescriptor opened(OpenForReading(Native(path)));
    if (opened.get() < 0) {
        if (errno == ENXIO) {
            throw NotRegularFileError(path);
        }
        ThrowErrno(path);
    }
    struct stat status;
    if (::fstat(opened.get(), &status) != 0) {
        ThrowErrno(path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileSystemError(EISDIR, path);
    }
    // A pipe is how shell users hand over generated names (process substitution); a device such
    // as /dev/zero or a terminal is no list of names.
    if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) {
        throw NotRegularFileError(path);
    }
    return std::make_unique<TextStream>(opened.release(), path);
}

void PosixFileService::CreateTemplate(const QString& path) {
    CloseTemplate();
    const QByteArray native = Native(path);
    MakeMissingParents(native);
    PrivateFile file = CreatePrivateFile(native, path);
    FileDescriptor created(file.fd);
    struct Unlinker {
        const QByteArray& name;
        ~Unlinker() {
            if (!name.isEmpty()) {
                ::unlink(name.constData());
            }
        }
    } removePrivateName{file.privateName};
    // Locked before it has its name, so whoever finds a file at the name unlocked knows it is a
    // leftover of a run that has ended. The mode does not depend on the umask, so a leftover is
    // never read-only and a later run can clear it.
    if (::flock(created.get(), LOCK_EX | LOCK_NB) != 0 ||
        ::fchmod(created.get(), kTemplateMode) != 0) {
        ThrowErrno(path);
    }
    for (int attempt = 1; LinkIntoPlace(file, native) != 0; ++attempt) {
        if (errno != EEXIST || attempt == kTemplateAttempts) {
            ThrowErrno(path);
        }
        // Something has the name: another run's live template (locked) or a leftover.
        FileDescriptor existing(
            ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (existing.get() >= 0) {
            if (::flock(existing.get(), LOCK_EX | LOCK_NB) != 0) {
                throw TemplateBusyError(path);
            }
            // While we hold its lock, no other run removes it; if the name moved on meanwhile,
            // look again.
            if (!PathNamesDescriptor(native, existing.get())) {
                continue;
            }
        } else if (errno == ENOENT) {
            continue;
        }
        try {
            DeleteFile(path);
        } catch (const RunTimeError&) {
            throw FileSystemError(EEXIST, path);  // a leftover that may not be removed
        }
    }
    templateFd_ = created.release();
    templatePath_ = path;
    templateSize_ = 0;
    templateFill_.reset();
}

void PosixFileService::WriteTemplate(const char* bytes, qsizetype count) {
    if (templateFd_ < 0) {
        throw FileSystemError(EBADF, templatePath_);
    }
    if (count <= 0) {
        return;
    }
    if (!WriteAll(templateFd_, bytes, static_cast<size_t>(count))) {
        ThrowErrno(templatePath_);
    }
    // Every byte equal to the first (the shifted comparison checks each against the next).
    const bool uniform = std::memcmp(bytes, bytes + 1, static_cast<size_t>(count - 1)) == 0;
    if (templateSize_ == 0) {
        templateFill_ = bytes[0];
    }
    if (!uniform || bytes[0] != templateFill_) {
        templateFill_.reset();
    }
    templateSize_ += count;
}

void PosixFileService::RemoveTemplate(const QString& path) noexcept {
    if (path.contains(QChar(u'\0'))) {
        return;
    }
    const QByteArray native = EncodeBytes(path);
    if (templateFd_ >= 0 && path == templatePath_) {
        if (PathNamesDescriptor(native, templateFd_)) {
            ::unlink(native.constData());
        }
        CloseTemplate();
        return;
    }
    FileDescriptor existing(
        ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (existing.get() < 0 || ::flock(existing.get(), LOCK_EX | LOCK_NB) != 0 ||
        !PathNamesDescriptor(native, existing.get())) {
        return;  // missing, another run's live template, or replaced meanwhile
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
    templateSize_ = 0;
    templateFill_.reset();
}

}  // namespace zarame
