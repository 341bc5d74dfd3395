#include "settings/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <QRandomGenerator>
#include <QSettings>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "settings/ini_text.h"

namespace zarame {

namespace {

using Outcome = SettingsSaveResult::Outcome;

constexpr int kMostLinks = 40;  // as the kernel follows
// The name QSettings writes in the private folder; the folder makes it unique.
constexpr char kScratchName[] = "Tobiuo.ini";

// A step that ends the save: the outcome and its cause.
struct SaveStop {
    Outcome outcome;
    QString cause;
};

SaveStop Failure(int errorNumber) {
    return {Outcome::Failed, FileSystemCause(errorNumber)};
}

SaveStop LeftAlone(const QString& cause) {
    return {Outcome::LeftAlone, cause};
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// The file a chain of links leads to, the links followed as the kernel would. A name that does not
// exist ends the chain: that is where a new file goes (a dangling link names its file-to-be).
QByteArray FollowLinks(const QByteArray& path) {
    QByteArray current = path;
    for (int hop = 0;; ++hop) {
        struct stat status {};
        if (::lstat(current.constData(), &status) != 0) {
            if (errno == ENOENT) {
                return current;
            }
            throw Failure(errno);
        }
        if (!S_ISLNK(status.st_mode)) {
            return current;
        }
        if (hop == kMostLinks) {
            throw Failure(ELOOP);
        }
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.constData(), buffer, sizeof buffer);
        if (length < 0) {
            throw Failure(errno);
        }
        if (length == static_cast<ssize_t>(sizeof buffer)) {
            throw Failure(ENAMETOOLONG);
        }
        QByteArray link(buffer, length);
        if (!link.startsWith('/')) {
            link.prepend(current.left(current.lastIndexOf('/') + 1));
        }
        current = link;
    }
}

bool SameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino &&
           one.st_size == other.st_size && one.st_mtim.tv_sec == other.st_mtim.tv_sec &&
           one.st_mtim.tv_nsec == other.st_mtim.tv_nsec &&
           one.st_ctim.tv_sec == other.st_ctim.tv_sec &&
           one.st_ctim.tv_nsec == other.st_ctim.tv_nsec;
}

QString TooLargeCause() {
    return QStringLiteral("ファイルの大きさが上限 (%1 MiB) を超えています")
        .arg(kLargestSettingsFile / (1024 * 1024));
}

QString ChangedCause() {
    return QStringLiteral("保存の途中で他のプログラムがファイルを変更しました");
}

void MakeFolders(const QByteArray& folder) {
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray prefix = slash < 0 ? folder : folder.left(slash);
        if (::mkdir(prefix.constData(), 0700) != 0 && errno != EEXIST) {
            throw Failure(errno);
        }
        if (slash < 0) {
            return;
        }
    }
}

// One save, step by step; every step that cannot go on throws a SaveStop.
class SettingsFileWriter {
public:
    SettingsFileWriter(const QByteArray& path, bool followedLink) : followedLink_(followedLink) {
        const qsizetype slash = path.lastIndexOf('/');
        folder_ = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        name_ = path.sliced(slash + 1);
        if (name_.isEmpty()) {
            throw Failure(EISDIR);
        }
    }
    ~SettingsFileWriter() { RemoveScratch(); }

    void Write(const SettingsValues& values) {
        OpenFolder();
        ReadCurrent();
        MakeScratch();
        WriteScratch(values);
        GiveOwnerAndMode();
        Replace();
    }

private:
    void OpenFolder() {
        folder_fd_ = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder_fd_ < 0 && errno == ENOENT && !followedLink_) {
            // A first start in a new account: the configuration folder may not be there yet.
            MakeFolders(folder_);
            folder_fd_ = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }
        if (folder_fd_ < 0) {
            throw Failure(errno);
        }
    }

    // The file as it is now, and whether it is ours. It is looked at before it is opened, so that
    // a device or a FIFO is never opened at all.
    void ReadCurrent() {
        if (::fstatat(folder_fd_, name_.constData(), &current_, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                throw Failure(errno);
            }
            exists_ = false;
            return;
        }
        if (S_ISLNK(current_.st_mode)) {
            throw LeftAlone(ChangedCause());  // it became a link after the links were followed
        }
        if (!S_ISREG(current_.st_mode)) {
            throw LeftAlone(QStringLiteral("通常のファイルではありません"));
        }
        if (current_.st_size > kLargestSettingsFile) {
            throw LeftAlone(TooLargeCause());
        }
        // The folder would let a rename replace a file made read-only; its owner meant it to stay.
        if (::faccessat(folder_fd_, name_.constData(), W_OK, AT_EACCESS) != 0) {
            throw Failure(errno);
        }
        const Descriptor file(::openat(folder_fd_, name_.constData(),
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened {};
        if (file.get() < 0 || ::fstat(file.get(), &opened) != 0) {
            throw Failure(errno);
        }
        if (!SameFile(opened, current_)) {
            throw LeftAlone(ChangedCause());
        }
        ReadAll(file.get());
        if (!IsIniText(contents_)) {
            throw LeftAlone(QStringLiteral("設定ファイルの形式ではない内容が含まれています"));
        }
    }

    void ReadAll(int fd) {
        char buffer[65536];
        for (;;) {
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                throw Failure(errno);
            }
            if (count == 0) {
                return;
            }
            contents_.append(buffer, count);
            if (contents_.size() > kLargestSettingsFile) {
                throw LeftAlone(TooLargeCause());  // it grew while it was read
            }
        }
    }

    // A private folder beside the file: what is written there is on the same file system, so it
    // can be renamed over the file, and no one else can touch it meanwhile.
    void MakeScratch() {
        for (int attempt = 0; scratch_fd_ < 0; ++attempt) {
            scratchName_ =
                ".zarame-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
            if (::mkdirat(folder_fd_, scratchName_.constData(), 0700) == 0) {
                scratch_fd_ = ::openat(folder_fd_, scratchName_.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (scratch_fd_ < 0) {
                    throw Failure(errno);
                }
            } else if (errno != EEXIST || attempt == 100) {
                scratchName_.clear();
                throw Failure(errno);
            }
        }
    }

    // QSettings writes the new contents from the old, so the format stays its own. It is given the
    // folder through /proc, since the path's bytes may not survive its conversion to text.
    void WriteScratch(const SettingsValues& values) {
        const Descriptor copy(
            ::openat(scratch_fd_, kScratchName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (copy.get() < 0) {
            throw Failure(errno);
        }
        WriteAll(copy.get(), contents_);
        const QString path =
            QStringLiteral("/proc/self/fd/%1/%2/%3")
                .arg(folder_fd_)
                .arg(QString::fromLatin1(scratchName_), QLatin1String(kScratchName));
        QSettings settings(path, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("KRB"));
        for (const auto& [key, value] : values) {
            settings.setValue(key, value);
        }
        settings.endGroup();
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            throw WriteFailureCause();
        }
    }

    static void WriteAll(int fd, QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            const ssize_t count = ::write(fd, bytes.data(), bytes.size());
            if (count < 0 && errno != EINTR) {
                throw Failure(errno);
            }
            bytes = bytes.sliced(std::max<ssize_t>(count, 0));
        }
    }

    // QSettings does not say why it could not write; a full disk is by far the likeliest cause.
    SaveStop WriteFailureCause() const {
        struct statvfs space {};
        const bool full =
            ::fstatvfs(scratch_fd_, &space) == 0 &&
            static_cast<qint64>(space.f_bavail * space.f_frsize) < contents_.size() + 65536;
        return full ? Failure(ENOSPC) : Failure(EIO);
    }

    // The new file takes the owner and mode of the one it replaces, and is on the disk before it
    // takes its place.
    void GiveOwnerAndMode() {
        const Descriptor file(::openat(scratch_fd_, kScratchName, O_RDWR | O_NOFOLLOW | O_CLOEXEC));
        struct stat written {};
        if (file.get() < 0 || ::fstat(file.get(), &written) != 0) {
            throw Failure(errno);
        }
        if (written.st_size > kLargestSettingsFile) {
            throw LeftAlone(QStringLiteral("保存するとファイルの大きさが上限 (%1 MiB) を超えます")
                                .arg(kLargestSettingsFile / (1024 * 1024)));
        }
        if (exists_) {
            if ((written.st_uid != current_.st_uid || written.st_gid != current_.st_gid) &&
                ::fchown(file.get(), current_.st_uid, current_.st_gid) != 0) {
                throw LeftAlone(QStringLiteral("ファイルの所有者を変えずに書き換えられません"));
            }
            // After the owner: a change of owner may clear the set-ID bits.
            if (::fchmod(file.get(), current_.st_mode & 07777) != 0) {
                throw Failure(errno);
            }
        }
        if (::fsync(file.get()) != 0) {
            throw Failure(errno);
        }
    }

    // The rename replaces the file itself, never a link to it. A file changed since it was read
    // (or made since it was found missing) is someone else's now, and stays as it is.
    void Replace() {
        if (exists_) {
            struct stat now {};
            if (::fstatat(folder_fd_, name_.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
                !SameFile(now, current_)) {
                throw LeftAlone(ChangedCause());
            }
            Rename(0);
        } else {
            Rename(RENAME_NOREPLACE);
        }
        ::fsync(folder_fd_);  // the rename itself reaches the disk
    }

    void Rename(unsigned flags) {
        int result = ::renameat2(scratch_fd_, kScratchName, folder_fd_, name_.constData(), flags);
        if (result != 0 && flags != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the flag: look, then rename.
            struct stat now {};
            if (::fstatat(folder_fd_, name_.constData(), &now, AT_SYMLINK_NOFOLLOW) == 0) {
                throw LeftAlone(ChangedCause());
            }
            result = ::renameat(scratch_fd_, kScratchName, folder_fd_, name_.constData());
        }
        if (result != 0) {
            throw errno == EEXIST ? LeftAlone(ChangedCause()) : Failure(errno);
        }
    }

    void RemoveScratch() {
        if (scratch_fd_ >= 0) {
            // Whatever is left in the private folder: the copy, QSettings' lock and temporary.
            if (DIR* entries = ::fdopendir(::dup(scratch_fd_))) {
                while (const dirent* entry = ::readdir(entries)) {
                    ::unlinkat(scratch_fd_, entry->d_name, 0);
                }
                ::closedir(entries);
            }
            ::close(scratch_fd_);
        }
        if (!scratchName_.isEmpty()) {
            ::unlinkat(folder_fd_, scratchName_.constData(), AT_REMOVEDIR);
        }
        if (folder_fd_ >= 0) {
            ::close(folder_fd_);
        }
    }

    bool followedLink_;
    QByteArray folder_;
    QByteArray name_;
    int folder_fd_ = -1;
    bool exists_ = true;
    struct stat current_ {};
    QByteArray contents_;
    QByteArray scratchName_;
    int scratch_fd_ = -1;
};

}  // namespace

SettingsSaveResult WriteSettingsFile(const QString& path, const SettingsValues& values) {
    SettingsSaveResult result;
    result.path = path;
    const QByteArray named = EncodeBytes(path);
    try {
        const QByteArray target = FollowLinks(named);
        if (target != named) {
            result.target = DecodeBytes(target);
        }
        SettingsFileWriter writer(target, target != named);
        writer.Write(values);
    } catch (const SaveStop& stop) {
        result.outcome = stop.outcome;
        result.cause = stop.cause;
    }
    return result;
}

QString SaveFailureMessage(const SettingsSaveResult& result) {
    QString text =
        QStringLiteral("入力内容を保存できませんでした。\n\nファイル: ") + VisibleLine(result.path);
    if (!result.target.isEmpty()) {
        text += QStringLiteral("\nリンク先: ") + VisibleLine(result.target);
    }
    text += QStringLiteral("\n理由: ") + result.cause;
    if (result.outcome == SettingsSaveResult::Outcome::LeftAlone) {
        text += QStringLiteral("\n\nこのファイルには手を加えていません。");
    }
    return text;
}

}  // namespace zarame
