#include "create/item_creator.h"

#include "create/file_service.h"

namespace zarame {

ItemSpecification ItemSpecificationOf(const WindowModel& model, const QString& templatePath) {
    return ItemSpecification{model.itemKind(), model.text(TextBox::txtDup), templatePath};
}

bool CreateItem(const QString& path, const ItemSpecification& specification, FileService& files) {
    switch (specification.kind) {
        case ItemKind::NewFile:
        case ItemKind::Duplicate: {
            if (files.FileExists(path)) {
                return false;
            }
            const QString& source = specification.kind == ItemKind::NewFile
                                        ? specification.templatePath
                                        : specification.duplicateSource;
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
