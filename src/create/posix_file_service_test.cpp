#include "create/posix_file_service.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ErrorNumberOf;
using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

QByteArray Native(const QString& path) {
    return EncodeBytes(path);
}

class FileServiceTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return temporary.path() + u'/' + QLatin1String(name); }

    QTemporaryDir temporary;
    QString templatePath = temporary.path() + "/KRB_tmp.tmp";
    PosixFileService files;
};

// The template's own life is tested with TemplateFile; here, that copies of it are made from it.
using TemplateRace = FileServiceTest;

TEST_F(TemplateRace, CopiesReadTheRunsOwnTemplateEvenIfThePathIsReplaced) {
    files.CreateTemplate(templatePath);
    files.WriteTemplate("ours", 4);
    ::unlink(Native(templatePath).constData());
    WriteFile(templatePath, "theirs");
    EXPECT_EQ(files.CopyFile(templatePath, Path("copy")), CreateOutcome::Created);
    EXPECT_EQ(ReadFile(Path("copy")), "ours");
    files.RemoveTemplate(templatePath);
    EXPECT_EQ(ReadFile(templatePath), "theirs");  // not ours to delete
}

// One item of many blocks hears a stop between its blocks, whatever writes it, and leaves no part
// of itself; an item of one block never asks.
TEST_F(TemplateRace, AStopBetweenBlocksEndsTheItemAndRemovesIt) {
    const qsizetype size = 3 << 20;
    files.CreateTemplate(templatePath);
    files.WriteTemplate(QByteArray(size, 'a').constData(), size);  // one fill value
    WriteFile(Path("mixed"), QByteArray(size, 'a') + "b");
    int asked = 0;
    files.SetStopCheck([&asked] { return ++asked > 0; });
    const std::function<void(const QString&)> writes[] = {
        [&](const QString& target) { files.CopyFile(templatePath, target); },
        [&](const QString& target) { files.CopyFile(Path("mixed"), target); },
        [&](const QString& target) { files.CreateRandomFile(target, size, 1, 0); },
        [&](const QString& target) { files.CreateFilledFile(target, size, 'f'); },
    };
    for (const auto& write : writes) {
        asked = 0;
        EXPECT_THROW(write(Path("item")), ItemStopped);
        EXPECT_EQ(asked, 1);
        EXPECT_FALSE(Exists(Path("item")));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));  // past the asking interval
    }
    asked = 0;
    EXPECT_EQ(files.CreateRandomFile(Path("small"), 1000, 1, 0), CreateOutcome::Created);
    EXPECT_EQ(files.CreateFilledFile(Path("filled"), 1000, 'f'), CreateOutcome::Created);
    EXPECT_EQ(files.CreateFilledFile(Path("filled"), 1000, 'f'), CreateOutcome::AlreadyExists);
    EXPECT_EQ(ReadFile(Path("filled")), QByteArray(1000, 'f'));
    EXPECT_EQ(asked, 0);
}

// Copies hold exactly the template's bytes, or the source's up to its size when opened; what is
// not a regular file is never read.
using Copies = FileServiceTest;

TEST_F(Copies, SourcesThatAreNotRegularFilesAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(Native(Path("fifo")).constData(), 0644), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = Native(Path("socket"));
    ASSERT_LT(socketPath.size(), static_cast<qsizetype>(sizeof address.sun_path));
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QDir(temporary.path()).mkdir("folder");

    const struct {
        QString source;
        int error;
    } cases[] = {
        {Path("fifo"), EINVAL},  // with no writer: open() would wait for ever
        {Path("socket"), EINVAL}, {QStringLiteral("/dev/zero"), EINVAL},
        {Path("folder"), EISDIR}, {Path("missing"), ENOENT},
    };
    for (const auto& c : cases) {
        const QString target = Path("target");
        EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(c.source, target); }), c.error)
            << c.source.toStdString();
        EXPECT_FALSE(Exists(target));
    }
    ::close(listener);
}

// Whatever stands where an item goes stays as it is: an item of the kind is reported as existing
// (a link is neither followed nor replaced), anything else is an error.
TEST_F(Copies, WhatStandsAtTheDestinationIsNeverTouched) {
    const QString source = Path("source");
    WriteFile(source, "source bytes");
    WriteFile(Path("keep"), "precious");
    ASSERT_EQ(::symlink("nowhere/target", Native(Path("link")).constData()), 0);
    QDir(temporary.path()).mkdir("folder");
    files.CreateTemplate(templatePath);
    const QString withNul = Path("a") + QChar(u'\0') + QStringLiteral("b");
    const auto copy = [&](const QString& from, const QString& to) {
        return [&, from, to] { return files.CopyFile(from, to); };
    };
    const auto folder = [&](const QString& path) {
        return [&, path] { return files.CreateFolder(path); };
    };
    const auto random = [&](const QString& path) {
        return [&, path] { return files.CreateRandomFile(path, 100, 1, 0); };
    };
    const struct {
        std::function<CreateOutcome()> create;
        int error;  // 0: reported as existing
    } cases[] = {
        {copy(source, Path("keep")), 0},
        {copy(source, Path("link")), 0},
        {copy(templatePath, templatePath), 0},  // the template met under its own name
        {folder(Path("folder")), 0},
        {copy(source, Path("folder")), EISDIR},
        {random(Path("keep")), 0},
        {random(Path("link")), 0},
        {random(Path("folder")), EISDIR},
        {folder(Path("keep")), EEXIST},
        {folder(Path("missing/level")), ENOENT},
        {copy(source, Path("a") + QString(300, u'n')), ENAMETOOLONG},
        {folder(withNul), EINVAL},  // never cut short at the NUL
    };
    int index = 0;
    for (const auto& c : cases) {
        CreateOutcome outcome = CreateOutcome::Created;
        EXPECT_EQ(ErrorNumberOf([&] { outcome = c.create(); }), c.error) << index;
        EXPECT_EQ(outcome == CreateOutcome::AlreadyExists, c.error == 0) << index++;
    }
    EXPECT_EQ(ReadFile(Path("keep")), "precious");
    EXPECT_FALSE(Exists(Path("nowhere/target")));
    EXPECT_FALSE(Exists(Path("a")));
    files.RemoveTemplate(templatePath);
}

TEST_F(Copies, EachCopyHoldsTheSourceAsItIsThen) {
    // A source long unchanged is read once and then written from memory; another file put in
    // its place is read again.
    const QString settled = QStringLiteral("/etc/passwd");
    const QString source = Path("source");
    ASSERT_EQ(files.CopyFile(settled, source), CreateOutcome::Created);
    ASSERT_EQ(files.CopyFile(settled, Path("again")), CreateOutcome::Created);
    EXPECT_EQ(ReadFile(Path("again")), ReadFile(settled));
    WriteFile(Path("next"), "other");
    ASSERT_EQ(::rename(Native(Path("next")).constData(), Native(source).constData()), 0);
    ASSERT_EQ(files.CopyFile(source, Path("copy")), CreateOutcome::Created);
    EXPECT_EQ(ReadFile(Path("copy")), "other");
}

TEST_F(Copies, SourceWhoseSizeReadsZeroIsCopiedToItsEnd) {
    ASSERT_EQ(QFileInfo("/proc/self/status").size(), 0);
    ASSERT_EQ(files.CopyFile("/proc/self/status", Path("status")), CreateOutcome::Created);
    EXPECT_TRUE(ReadFile(Path("status")).startsWith("Name:"));
}

// Files with their own blocks, on file systems that could share them (reflinks).
bool HasSharedExtent(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    constexpr unsigned kExtents = 32;
    std::vector<std::uint64_t> storage(
        (sizeof(fiemap) + kExtents * sizeof(fiemap_extent)) / sizeof(std::uint64_t) + 1);
    auto* map = reinterpret_cast<fiemap*>(storage.data());
    bool shared = false;
    for (bool last = false; !last && !shared;) {
        map->fm_length = FIEMAP_MAX_OFFSET - map->fm_start;
        map->fm_flags = FIEMAP_FLAG_SYNC;
        map->fm_extent_count = kExtents;
        EXPECT_EQ(::ioctl(fd, FS_IOC_FIEMAP, map), 0);
        last = map->fm_mapped_extents == 0;
        for (unsigned index = 0; index < map->fm_mapped_extents; ++index) {
            const fiemap_extent& extent = map->fm_extents[index];
            shared = shared || (extent.fe_flags & FIEMAP_EXTENT_SHARED) != 0;
            last = last || (extent.fe_flags & FIEMAP_EXTENT_LAST) != 0;
            map->fm_start = extent.fe_logical + extent.fe_length;
        }
    }
    ::close(fd);
    return shared;
}

class OwnBlocks : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const QString mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.") + GetParam(),
                                                            {"/usr/sbin", "/sbin", "/usr/bin"});
        const QString image = temporary.path() + "/image";
        mountPoint = temporary.path() + "/disk";
        QDir().mkpath(mountPoint);
        QFile(image).open(QIODevice::WriteOnly);
        QFile::resize(image, 320 << 20);  // sparse; XFS needs 300 MiB at least
        if (mkfs.isEmpty() || QProcess::execute(mkfs, {"-q", image}) != 0 ||
            QProcess::execute("mount", {"-o", "loop", image, mountPoint}) != 0) {
            GTEST_SKIP() << "cannot make and mount a " << GetParam() << " image here";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            QProcess::execute("umount", {mountPoint});
        }
    }
    QTemporaryDir temporary;
    QString mountPoint;
    bool mounted = false;
};

TEST_P(OwnBlocks, NewFilesAndDuplicatesShareNoExtent) {
    PosixFileService files;
    const QString templatePath = mountPoint + "/KRB_tmp.tmp";
    files.CreateTemplate(templatePath);
    const QByteArray block(32000, 'A');
    for (int count = 0; count < 40; ++count) {
        files.WriteTemplate(block.constData(), block.size());
    }
    const QString source = mountPoint + "/source";
    WriteFile(source, QByteArray(1 << 20, 'B') + "end");
    for (int item = 0; item < 4; ++item) {
        const QString number = QString::number(item);
        ASSERT_EQ(files.CopyFile(templatePath, mountPoint + "/new" + number),
                  CreateOutcome::Created);
        ASSERT_EQ(files.CopyFile(source, mountPoint + "/copy" + number), CreateOutcome::Created);
        ASSERT_EQ(files.CreateRandomFile(mountPoint + "/random" + number, 3 << 20, 5, item),
                  CreateOutcome::Created);
    }
    files.RemoveTemplate(templatePath);
    ::sync();
    for (const QString& name : QDir(mountPoint).entryList(QDir::Files)) {
        EXPECT_FALSE(HasSharedExtent(mountPoint + u'/' + name)) << name.toStdString();
    }
    EXPECT_EQ(QFileInfo(mountPoint + "/new3").size(), 40 * 32000);
    EXPECT_EQ(ReadFile(mountPoint + "/copy3"), ReadFile(source));
    EXPECT_EQ(QFileInfo(mountPoint + "/random3").size(), 3 << 20);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, OwnBlocks, ::testing::Values("btrfs", "xfs"));

// A text file is a regular file or a pipe, opened and read without ever waiting for good.
using TextSources = FileServiceTest;

TEST_F(TextSources, PipesAreReadAndNeverHoldTheRun) {
    // A FIFO is waited for until a writer comes, however late, and read to where it leaves.
    ASSERT_EQ(::mkfifo(Native(Path("fifo")).constData(), 0644), 0);
    const auto fifo = files.OpenTextFile(Path("fifo"));
    std::thread lateWriter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int writer = ::open(Native(Path("fifo")).constData(), O_WRONLY);
        EXPECT_EQ(::write(writer, "late\n", 5), 5);
        ::close(writer);
    });
    EXPECT_EQ(fifo->ReadLine(), "late");
    EXPECT_EQ(fifo->ReadLine(), std::nullopt);
    lateWriter.join();
    // A writer that comes and goes without a word leaves an empty list.
    const auto unwritten = files.OpenTextFile(Path("fifo"));
    ::close(::open(Native(Path("fifo")).constData(), O_WRONLY | O_NONBLOCK));
    EXPECT_EQ(unwritten->ReadLine(), std::nullopt);
    // With no writer at all, the wait asks whether to stop, and a stop ends it.
    const auto unopened = files.OpenTextFile(Path("fifo"));
    int askedOfFifo = 0;
    unopened->SetStopCheck([&] { return ++askedOfFifo == 2; });
    EXPECT_THROW(unopened->ReadLine(), TextStream::Stopped);

    // A pipe as shell process substitution hands one over, whose writer never writes: the wait
    // asks whether to stop, and a stop ends it. (Lines read from a pipe: see TextStream.)
    int silent[2];
    ASSERT_EQ(::pipe(silent), 0);
    const auto waiting = files.OpenTextFile("/proc/self/fd/" + QString::number(silent[0]));
    int asked = 0;
    waiting->SetStopCheck([&] { return ++asked == 3; });
    EXPECT_THROW(waiting->ReadLine(), TextStream::Stopped);
    EXPECT_EQ(asked, 3);
    ::close(silent[0]);
    ::close(silent[1]);
}

TEST_F(TextSources, DevicesAndFoldersAreRefused) {
    EXPECT_EQ(ErrorNumberOf([&] { files.OpenTextFile("/dev/zero"); }), EINVAL);
    EXPECT_EQ(ErrorNumberOf([&] { files.OpenTextFile(temporary.path()); }), EISDIR);
}

// A small tmpfs stands for a full disk; it needs the right to mount.
TEST(FullDisk, FailsTheWriteAndLeavesNoPartialFile) {
    QTemporaryDir temporary;
    const QString mountPoint = temporary.path() + "/disk";
    QDir().mkpath(mountPoint);
    if (::mount("tmpfs", Native(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const QString source = temporary.path() + "/big";
    WriteFile(source, QByteArray(200 * 1024, 'z'));
    PosixFileService files;
    const QString target = mountPoint + "/big";
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(source, target); }), ENOSPC);
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(ErrorNumberOf([&] { files.CreateRandomFile(target, 200 * 1024, 1, 0); }), ENOSPC);
    EXPECT_FALSE(Exists(target));
    ::umount2(Native(mountPoint).constData(), MNT_DETACH);
}

}  // namespace
}  // namespace zarame
