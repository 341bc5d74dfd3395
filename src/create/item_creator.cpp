#include "create/item_creator.h"

#include "create/file_service.h"

namespace zarame {

ItemRecipe ItemRecipeOf(const WindowModel& model, const QString& templatePath) {
    return ItemRecipe{model.itemKind(), model.text(TextBox::txtDup), templatePath};
}

bool CreateItem(const QString& path, const ItemRecipe& recipe, FileService& files) {
    switch (recipe.kind) {
        case ItemKind::NewFile:
        case ItemKind::Duplicate: {
            if (files.FileExists(path)) {
                return false;
            }
            const QString& source =
                recipe.kind == ItemKind::NewFile ? recipe.templatePath : recipe.duplicateSource;
            return files.CopyFile(source, path) == CreateOutcome::Created;
        }
        case ItemKind::Folder:
            if (files.FolderExists(path)) {
                return false;
            }
            return files.CreateFolder(path) == CreateOutcome::Created;
    }
    return false;
}

}  // namespace zarame
