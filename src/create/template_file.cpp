#include "create/template_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <algorithm>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "create/posix_calls.h"

namespace zarame {

using posix::FileDescriptor;
using posix::kCopyBlock;
using posix::Native;
using posix::PathNamesDescriptor;
using posix::ThrowErrno;
using posix::WriteAll;

namespace {

constexpr mode_t kTemplateMode = 0644;
// How often a leftover is cleared before taking the template gives up: each round needs
// another run to have slipped in between, which does not repeat without end.
constexpr int kTemplateAttempts = 8;

RunTimeError TemplateBusyError(const QString& path) {
    return RunTimeError(EWOULDBLOCK,
                        QStringLiteral("一時ファイルは別の作成処理が使用中です: ") + path);
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

// Opens what stands at the name without following a link or waiting, to try its lock.
int OpenToLock(const QByteArray& native) {
    return ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

}  // namespace

TemplateFile::~TemplateFile() {
    Close();
}

void TemplateFile::Create(const QString& path) {
    Close();
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
        FileDescriptor existing(OpenToLock(native));
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
            posix::DeleteFile(path);
        } catch (const RunTimeError&) {
            throw FileSystemError(EEXIST, path);  // a leftover that may not be removed
        }
    }
    fd_ = created.release();
    path_ = path;
    size_ = 0;
    fill_.reset();
}

void TemplateFile::Write(const char* bytes, qsizetype count) {
    if (fd_ < 0) {
        throw FileSystemError(EBADF, path_);
    }
    if (count <= 0) {
        return;
    }
    if (!WriteAll(fd_, bytes, static_cast<size_t>(count))) {
        ThrowErrno(path_);
    }
    // Every byte equal to the first (the shifted comparison checks each against the next).
    const bool uniform = std::memcmp(bytes, bytes + 1, static_cast<size_t>(count - 1)) == 0;
    if (size_ == 0) {
        fill_ = bytes[0];
    }
    if (!uniform || bytes[0] != fill_) {
        fill_.reset();
    }
    size_ += count;
}

void TemplateFile::CopyTo(int destinationFd, const QString& destination,
                          const std::function<void()>& betweenBlocks) {
    if (fill_) {
        if (!posix::WriteFilled(destinationFd, size_, *fill_, buffer_, betweenBlocks)) {
            ThrowErrno(destination);
        }
        return;
    }
    // Mixed content is read back from the locked template; offsets are explicit so that the
    // shared descriptor's position never matters, and the copy is exactly the size written.
    buffer_.resize(kCopyBlock);
    for (off_t offset = 0; offset < size_;) {
        if (offset > 0) {
            betweenBlocks();
        }
        const ssize_t read =
            posix::ReadAt(fd_, buffer_.data(),
                          static_cast<size_t>(std::min<off_t>(size_ - offset, kCopyBlock)), offset);
        if (read <= 0) {
            throw FileSystemError(read == 0 ? EIO : errno, path_);
        }
        if (!WriteAll(destinationFd, buffer_.constData(), static_cast<size_t>(read))) {
            ThrowErrno(destination);
        }
        offset += read;
    }
}

void TemplateFile::Remove(const QString& path) noexcept {
    if (path.contains(QChar(u'\0'))) {
        return;
    }
    const QByteArray native = EncodeBytes(path);
    if (fd_ >= 0 && path == path_) {
        if (PathNamesDescriptor(native, fd_)) {
            ::unlink(native.constData());
        }
        Close();
        return;
    }
    FileDescriptor existing(OpenToLock(native));
    if (existing.get() < 0 || ::flock(existing.get(), LOCK_EX | LOCK_NB) != 0 ||
        !PathNamesDescriptor(native, existing.get())) {
        return;  // missing, another run's live template, or replaced meanwhile
    }
    try {
        posix::DeleteFile(path);
    } catch (const RunTimeError&) {
        // A template that cannot be deleted stays; nothing is reported.
    }
}

void TemplateFile::Close() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    path_.clear();
    size_ = 0;
    fill_.reset();
}

}  // namespace zarame
