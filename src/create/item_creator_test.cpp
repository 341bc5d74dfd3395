#include "create/item_creator.h"

#include <gtest/gtest.h>
#include <QDir>

#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// Each kind goes to its own call of the file service, whose refusals are tested with it.
TEST(ItemCreator, EachKindCreatesOnceThenReportsExisting) {
    QTemporaryDir temporary;
    const QString folder = temporary.path();
    WriteFile(folder + "/source.bin", "source bytes");
    PosixFileService files;
    ItemRecipe recipe;
    recipe.duplicateSource = folder + "/source.bin";
    recipe.templatePath = folder + "/KRB_tmp.tmp";
    files.CreateTemplate(recipe.templatePath);
    files.WriteTemplate("AAAA", 4);
    QDir(folder).mkdir("sub");
    const struct {
        ItemKind kind;
        const char* name;
    } cases[] = {
        {ItemKind::NewFile, "new.dat"},
        {ItemKind::Duplicate, "copy.dat"},
        {ItemKind::Folder, "folder"},
        // A name with a separator makes its item in an existing subfolder.
        {ItemKind::Duplicate, "sub/copy.dat"},
        {ItemKind::Folder, "sub/folder"},
    };
    for (const auto& c : cases) {
        recipe.kind = c.kind;
        const QString path = folder + u'/' + QLatin1String(c.name);
        EXPECT_TRUE(CreateItem(path, recipe, files)) << c.name;
        EXPECT_FALSE(CreateItem(path, recipe, files)) << c.name;
    }
    EXPECT_EQ(ReadFile(folder + "/new.dat"), "AAAA");
    EXPECT_EQ(ReadFile(folder + "/copy.dat"), "source bytes");
    EXPECT_TRUE(QDir(folder + "/sub/folder").exists());
    files.RemoveTemplate(recipe.templatePath);
}

}  // namespace
}  // namespace zarame
