#include "create/item_creator.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

class ItemCreator : public ::testing::Test {
protected:
    ItemCreator() {
        folder = temporary.path();
        WriteFile(folder + "/source.bin", "source bytes");
        recipe.duplicateSource = folder + "/source.bin";
        recipe.templatePath = folder + "/KRB_tmp.tmp";
    }
    bool Create(ItemKind kind, const QString& name) {
        recipe.kind = kind;
        return CreateItem(folder + "/" + name, recipe, files);
    }
    int ErrorOf(ItemKind kind, const QString& name) {
        try {
            Create(kind, name);
        } catch (const RunTimeError& error) {
            return error.number();
        }
        return 0;
    }

    QTemporaryDir temporary;
    QString folder;
    PosixFileService files;
    ItemRecipe recipe;
};

TEST_F(ItemCreator, EachKindCreatesOnceThenReportsExisting) {
    files.CreateTemplate(recipe.templatePath);
    files.WriteTemplate("AAAA", 4);
    EXPECT_TRUE(Create(ItemKind::NewFile, "new.dat"));
    EXPECT_FALSE(Create(ItemKind::NewFile, "new.dat"));
    EXPECT_EQ(ReadFile(folder + "/new.dat"), "AAAA");

    EXPECT_TRUE(Create(ItemKind::Duplicate, "copy.dat"));
    EXPECT_FALSE(Create(ItemKind::Duplicate, "copy.dat"));
    EXPECT_EQ(ReadFile(folder + "/copy.dat"), "source bytes");

    EXPECT_TRUE(Create(ItemKind::Folder, "sub"));
    EXPECT_FALSE(Create(ItemKind::Folder, "sub"));
    EXPECT_TRUE(QDir(folder + "/sub").exists());
}

TEST_F(ItemCreator, ExistingItemsAreNeverTouched) {
    WriteFile(folder + "/keep.dat", "precious");
    EXPECT_FALSE(Create(ItemKind::Duplicate, "keep.dat"));
    EXPECT_EQ(ReadFile(folder + "/keep.dat"), "precious");

    // A link that appears where a copy goes is neither followed nor replaced.
    ASSERT_EQ(::symlink("nowhere/target", EncodeBytes(folder + "/link.dat").constData()), 0);
    EXPECT_FALSE(Create(ItemKind::Duplicate, "link.dat"));
    EXPECT_FALSE(Exists(folder + "/nowhere/target"));

    // The template itself, met under its own name, already exists.
    files.CreateTemplate(recipe.templatePath);
    EXPECT_FALSE(Create(ItemKind::NewFile, "KRB_tmp.tmp"));

    // Something that appears between the existence test and the copy is not replaced either.
    EXPECT_EQ(files.CopyFile(recipe.duplicateSource, folder + "/keep.dat"),
              CreateOutcome::AlreadyExists);
    EXPECT_EQ(ReadFile(folder + "/keep.dat"), "precious");
    QDir(folder).mkdir("raced");
    EXPECT_EQ(files.CreateFolder(folder + "/raced"), CreateOutcome::AlreadyExists);
}

TEST_F(ItemCreator, WrongKindAtThePathAndMissingPlacesAreErrors) {
    QDir(folder).mkdir("dir.dat");
    EXPECT_EQ(ErrorOf(ItemKind::Duplicate, "dir.dat"), EISDIR);
    WriteFile(folder + "/file", "x");
    EXPECT_EQ(ErrorOf(ItemKind::Folder, "file"), EEXIST);
    EXPECT_EQ(ErrorOf(ItemKind::Folder, "missing/level"), ENOENT);
    EXPECT_EQ(ErrorOf(ItemKind::Duplicate, QString(300, u'n')), ENAMETOOLONG);
    const QString withNul = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b");
    EXPECT_EQ(ErrorOf(ItemKind::Folder, withNul), EINVAL);
    EXPECT_FALSE(Exists(folder + "/a"));  // never cut short at the NUL
    QFile::remove(recipe.duplicateSource);
    EXPECT_EQ(ErrorOf(ItemKind::Duplicate, "after-delete.dat"), ENOENT);
    EXPECT_FALSE(Exists(folder + "/after-delete.dat"));  // made first, removed again
}

TEST_F(ItemCreator, NameWithSeparatorCreatesInAnExistingSubFolderOnly) {
    QDir(folder).mkdir("a");
    EXPECT_TRUE(Create(ItemKind::Folder, "a/b"));
    EXPECT_TRUE(QDir(folder + "/a/b").exists());
    EXPECT_TRUE(Create(ItemKind::Duplicate, "a/c.dat"));
}

}  // namespace
}  // namespace zarame
