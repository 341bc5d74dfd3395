#include "create/dry_run_file_service.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <cerrno>

#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ErrorNumberOf;
using testing::FolderEntries;
using testing::WriteFile;

// What the dry run answers is what the real service would answer at that point of the run, made
// items included; the folder is left as it was.
TEST(DryRunFileService, AnswersAsTheRealRunWouldAndWritesNothing) {
    QTemporaryDir temporary;
    const QString folder = temporary.path();
    WriteFile(folder + "/file", "x");
    QDir(folder).mkdir("dir");
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/fifo").constData(), 0600), 0);
    const QString source = folder + "/template";  // never written
    DryRunFileService files(source);

    EXPECT_EQ(files.CopyFile(source, folder + "/new"), CreateOutcome::Created);
    EXPECT_EQ(files.CopyFile(source, folder + "/new"), CreateOutcome::AlreadyExists);
    EXPECT_EQ(files.CopyFile(source, folder + "/file"), CreateOutcome::AlreadyExists);
    EXPECT_EQ(files.CopyFile(source, folder + "/fifo"), CreateOutcome::AlreadyExists);
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(source, folder + "/dir"); }), EISDIR);
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(source, folder + "/none/x"); }), ENOENT);
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(source, folder + "/file/x"); }), ENOTDIR);
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(folder + "/fifo", folder + "/copy"); }), EINVAL);
    EXPECT_EQ(ErrorNumberOf([&] { files.CopyFile(folder + "/dir", folder + "/copy"); }), EISDIR);

    EXPECT_EQ(files.CreateFolder(folder + "/dir"), CreateOutcome::AlreadyExists);
    EXPECT_EQ(files.CreateFolder(folder + "/made"), CreateOutcome::Created);
    EXPECT_EQ(files.CreateFolder(folder + "/made/inner"), CreateOutcome::Created);
    EXPECT_EQ(files.CopyFile(source, folder + "/made/inner/f"), CreateOutcome::Created);
    EXPECT_EQ(ErrorNumberOf([&] { files.CreateFolder(folder + "/new"); }), EEXIST);
    EXPECT_EQ(files.CreateRandomFile(folder + "/random", 10, 1, 0), CreateOutcome::Created);

    files.WriteTemplate("abc", 3);
    files.RemoveTemplate(folder + "/file");
    EXPECT_EQ(FolderEntries(folder), (QStringList{"dir", "file"}));  // and the FIFO
}

}  // namespace
}  // namespace zarame
