#include "create/application_folder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zarame {
namespace {

TEST(ApplicationFolderTest, OnlyTheWritableBuildFolderHoldsTheTemplate) {
    QTemporaryDir build;
    const QByteArray buildFolder = QFile::encodeName(build.path());
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
}

}  // namespace
}  // namespace zarame
