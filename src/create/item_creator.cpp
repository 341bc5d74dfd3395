#include "create/item_creator.h"

#include "create/file_service.h"

namespace zarame {

ItemRecipe ItemRecipeOf(const ItemRequest& items, const QString& templatePath) {
    return ItemRecipe{.kind = items.kind,
                      .duplicateSource = items.duplicateSource,
                      .templatePath = templatePath,
                      .content = items.content,
                      .writing = items.writing,
                      .fileSize = items.fileSize,
                      .fillByte = items.fillByte,
                      .randomSeed = items.randomSeed};
}

// The existence test of each kind is made by the exclusive create itself: it fails when anything
// stands at the path, and only then does the service look at what it is, to tell an item of the
// kind (false) from something that is in the way (an error). One system call per new item.
bool CreateItem(const QString& path, const ItemRecipe& recipe, FileService& files) {
    switch (recipe.kind) {
        case ItemKind::NewFile:
            if (recipe.content == FileContent::Random) {
                return files.CreateRandomFile(path, recipe.fileSize, recipe.randomSeed,
                                              recipe.nextItemIndex++) == CreateOutcome::Created;
            }
            if (recipe.writing == NewFileWriting::EachFileItself) {
                return files.CreateFilledFile(path, recipe.fileSize, recipe.fillByte) ==
                       CreateOutcome::Created;
            }
            return files.CopyFile(recipe.templatePath, path) == CreateOutcome::Created;
        case ItemKind::Duplicate:
            return files.CopyFile(recipe.duplicateSource, path) == CreateOutcome::Created;
        case ItemKind::Folder:
            return files.CreateFolder(path) == CreateOutcome::Created;
    }
    return false;
}

}  // namespace zarame
