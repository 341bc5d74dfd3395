#include "create/item_creator.h"

#include <gtest/gtest.h>
#include <QFileInfo>

#include "create/random_fill.h"
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
    const struct {
        ItemKind kind;
        const char* name;
    } cases[] = {
        {ItemKind::NewFile, "new.dat"},
        {ItemKind::Duplicate, "copy.dat"},
        {ItemKind::Folder, "folder"},
    };
    for (const auto& c : cases) {
        recipe.kind = c.kind;
        const QString path = folder + u'/' + QLatin1String(c.name);
        EXPECT_TRUE(CreateItem(path, recipe, files)) << c.name;
        EXPECT_FALSE(CreateItem(path, recipe, files)) << c.name;
    }
    EXPECT_EQ(ReadFile(folder + "/new.dat"), "AAAA");
    EXPECT_EQ(ReadFile(folder + "/copy.dat"), "source bytes");
    EXPECT_TRUE(QFileInfo(folder + "/folder").isDir());
    files.RemoveTemplate(recipe.templatePath);
}

// Random files take the stream of their place in the walk, counted over items found as well, so
// that a name gets the same bytes whether or not the items before it were already there.
TEST(ItemCreator, RandomFilesTakeTheStreamOfTheirPlace) {
    QTemporaryDir temporary;
    const QString folder = temporary.path();
    WriteFile(folder + "/1", "precious");
    PosixFileService files;
    ItemRequest items;
    items.content = FileContent::Random;
    items.fileSize = 1001;
    items.randomSeed = 99;
    const ItemRecipe recipe = ItemRecipeOf(items, folder + "/KRB_tmp.tmp");
    for (const char* name : {"0", "1", "2"}) {
        CreateItem(folder + u'/' + QLatin1String(name), recipe, files);
    }
    EXPECT_EQ(ReadFile(folder + "/1"), "precious");
    for (std::uint64_t index : {0, 2}) {
        QByteArray expected(1001, '\0');
        RandomBytes(99, index).Fill(expected.data(), 1001);
        EXPECT_EQ(ReadFile(folder + u'/' + QString::number(index)), expected) << index;
    }
    EXPECT_FALSE(QFileInfo::exists(folder + "/KRB_tmp.tmp"));
}

}  // namespace
}  // namespace zarame
