#include "create/application_folder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zarame {
namespace {

TEST(ApplicationFolderTest, OnlyTheWritableBuildFolderHoldsTheTemplate) {
    QTemporaryDir build;
    // The system names the executable's folder without symbolic links.
    const QByteArray buildFolder = QFile::encodeName(QFileInfo(build.path()).canonicalFilePath());
    struct Case {
        QByteArray executableFolder;
        bool expected;
    };
    const Case cases[] = {
        {buildFolder, true},
        // Root can write /usr/bin, but an installed program must not leave files among them.
        {"/usr/bin", false},
        {QFile::encodeName(QDir::tempPath()), false},
        {QByteArray(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsesExecutableFolder(c.executableFolder, buildFolder), c.expected)
            << c.executableFolder.toStdString();
    }
    EXPECT_FALSE(UsesExecutableFolder(buildFolder + "/gone", buildFolder + "/gone"));
    // A build folder configured through a symbolic link is still the executable's folder.
    const QByteArray link = buildFolder + "-link";
    ASSERT_TRUE(QFile::link(build.path(), QFile::decodeName(link)));
    EXPECT_TRUE(UsesExecutableFolder(buildFolder, link));
    QFile::remove(QFile::decodeName(link));
}

}  // namespace
}  // namespace zarame
