#include "create/posix_file_service.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

#include "common/run_time_error.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return 0;
}

class TemplateFileLock : public ::testing::Test {
protected:
    QTemporaryDir temporary;
    QString path = temporary.path() + "/KRB_tmp.tmp";
};

TEST_F(TemplateFileLock, ASecondRunCannotTakeOrDeleteALiveTemplate) {
    PosixFileService first;
    first.CreateTemplate(path);
    first.WriteTemplate("12345", 5);

    PosixFileService second;
    EXPECT_EQ(ErrorNumberOf([&] { second.CreateTemplate(path); }), EWOULDBLOCK);
    second.RemoveTemplate(path);
    EXPECT_EQ(ReadFile(path), "12345");

    first.RemoveTemplate(path);
    EXPECT_FALSE(Exists(path));
    second.CreateTemplate(path);  // free again
    second.RemoveTemplate(path);
}

TEST_F(TemplateFileLock, StaleLeftoverIsReplacedAndAPlantedLinkIsNotFollowed) {
    WriteFile(path, "old leftover, longer than the new content");
    PosixFileService files;
    files.CreateTemplate(path);
    files.WriteTemplate("new", 3);
    EXPECT_EQ(ReadFile(path), "new");
    files.RemoveTemplate(path);

    const QString victim = temporary.path() + "/victim";
    WriteFile(victim, "keep me");
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(path).constData()),
              0);
    files.CreateTemplate(path);
    files.WriteTemplate("xyz", 3);
    EXPECT_EQ(ReadFile(victim), "keep me");
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    files.RemoveTemplate(path);
    EXPECT_EQ(ReadFile(victim), "keep me");
}

TEST_F(TemplateFileLock, WriteProtectedLeftoverIsNotForcedAndFailsTheBuild) {
    WriteFile(path, "read-only");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    PosixFileService files;
    EXPECT_EQ(ErrorNumberOf([&] { files.CreateTemplate(path); }), EEXIST);
    files.RemoveTemplate(path);
    EXPECT_TRUE(Exists(path));  // a template that cannot be deleted stays
}

TEST_F(TemplateFileLock, CopiesReadTheLockedTemplateEvenIfThePathIsReplaced) {
    PosixFileService files;
    files.CreateTemplate(path);
    files.WriteTemplate("ours", 4);
    ::unlink(QFile::encodeName(path).constData());
    WriteFile(path, "theirs");
    const QString copy = temporary.path() + "/copy";
    EXPECT_EQ(files.CopyFile(path, copy), CreateOutcome::Created);
    EXPECT_EQ(ReadFile(copy), "ours");
    files.RemoveTemplate(path);
    EXPECT_EQ(ReadFile(path), "theirs");  // not ours to delete
}

// A small tmpfs stands for a full or read-only disk; it needs the right to mount.
class SmallDisk : public ::testing::Test {
protected:
    void Mount(const char* options) {
        mountPoint = temporary.path() + "/disk";
        QDir().mkpath(mountPoint);
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options) != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
        mounted = true;
    }
    ~SmallDisk() override {
        if (mounted) {
            ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
        }
    }
    QTemporaryDir temporary;
    QString mountPoint;
    bool mounted = false;
};

TEST_F(SmallDisk, FullDiskFailsTheCopyAndLeavesNoPartialFile) {
    Mount("size=64k");
    const QString source = temporary.path() + "/big";
    WriteFile(source, QByteArray(200 * 1024, 'z'));
    PosixFileService files;
    const QString target = mountPoint + "/big";
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(source, target); }), ENOSPC);
    EXPECT_FALSE(Exists(target));
}

TEST_F(SmallDisk, ReadOnlyFileSystemRefusesCreation) {
    Mount("size=64k");
    if (!mounted) {
        return;
    }
    ASSERT_EQ(::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs",
                      MS_REMOUNT | MS_RDONLY, "size=64k"),
              0);
    PosixFileService files;
    EXPECT_EQ(ErrorNumberOf([&] { files.CreateFolder(mountPoint + "/x"); }), EROFS);
}

}  // namespace
}  // namespace zarame
