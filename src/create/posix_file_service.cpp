#include "create/posix_file_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

#include <algorithm>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "create/posix_calls.h"
#include "create/random_fill.h"
#include "create/text_stream.h"

namespace zarame {

using posix::FileDescriptor;
using posix::kCopyBlock;
using posix::Native;
using posix::NotRegularFileError;
using posix::ThrowErrno;
using posix::WriteAll;

namespace {

// How long a duplicate source must have been left unchanged before its bytes are kept in memory.
constexpr time_t kSettledSeconds = 2;

bool SameTime(const timespec& left, const timespec& right) {
    return left.tv_sec == right.tv_sec && left.tv_nsec == right.tv_nsec;
}
// Items are ordinary new files, whatever the mode of what they are copied from.
constexpr mode_t kNewFileMode = 0666;

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

}  // namespace

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

namespace {

// Creates the destination exclusively and has `write` fill it. The exclusive create is the
// existence test: it never follows a symbolic link, never opens what is already there, and costs
// no call of its own.
template <typename Write>
CreateOutcome CreateExclusively(const QString& destination, Write write) {
    const QByteArray nativeDestination = Native(destination);
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
        write(target.get());
        if (::close(target.release()) != 0) {
            ThrowErrno(destination);
        }
    } catch (...) {
        // The file is ours (created exclusively above); a half-written one would later pass for
        // an existing item, so it goes, whether a failure or a stop ended the write.
        ::unlink(nativeDestination.constData());
        throw;
    }
    return CreateOutcome::Created;
}

}  // namespace

void PosixFileService::AskWhetherToStop() {
    if (!stopCheck_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastAsked_ < std::chrono::milliseconds(50)) {
        return;
    }
    lastAsked_ = now;
    if (stopCheck_()) {
        throw ItemStopped{};
    }
}

CreateOutcome PosixFileService::CopyFile(const QString& source, const QString& destination) {
    return CreateExclusively(destination, [&](int target) {
        if (template_.Serves(source)) {
            template_.CopyTo(target, destination, [this] { AskWhetherToStop(); });
        } else {
            CopySource(source, target, destination);
        }
    });
}

CreateOutcome PosixFileService::CreateRandomFile(const QString& destination, std::int64_t size,
                                                 std::uint64_t runSeed, std::uint64_t itemIndex) {
    return CreateExclusively(destination, [&](int target) {
        RandomBytes content(runSeed, itemIndex);
        const qsizetype block = static_cast<qsizetype>(std::min<std::int64_t>(size, kCopyBlock));
        if (buffer_.size() < block) {
            buffer_.resize(block);
        }
        for (std::int64_t remaining = size; remaining > 0; remaining -= block) {
            if (remaining < size) {
                AskWhetherToStop();
            }
            const auto count = static_cast<size_t>(std::min<std::int64_t>(remaining, block));
            content.Fill(buffer_.data(), count);
            if (!WriteAll(target, buffer_.constData(), count)) {
                ThrowErrno(destination);
            }
        }
    });
}

CreateOutcome PosixFileService::CreateFilledFile(const QString& destination, std::int64_t size,
                                                 std::uint8_t fillByte) {
    return CreateExclusively(destination, [&](int target) {
        if (!posix::WriteFilled(target, size, static_cast<char>(fillByte), filled_,
                                [this] { AskWhetherToStop(); })) {
            ThrowErrno(destination);
        }
    });
}

void PosixFileService::CopySource(const QString& source, int destinationFd,
                                  const QString& destination) {
    const QByteArray native = Native(source);
    // A look at the path first: what is not a regular file is refused without being opened, and
    // a source unchanged since the last item is written from memory.
    struct stat status = posix::LookAtCopySource(source);
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
        if (offset > 0) {
            AskWhetherToStop();
        }
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
    posix::DeleteFile(path);
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
    template_.Create(path);
}

void PosixFileService::WriteTemplate(const char* bytes, qsizetype count) {
    template_.Write(bytes, count);
}

void PosixFileService::RemoveTemplate(const QString& path) noexcept {
    template_.Remove(path);
}

}  // namespace zarame
