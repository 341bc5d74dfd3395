#pragma once

#include <QString>
#include <cstdint>

#include "window/batch_request.h"

namespace zarame {

class FileService;

// What every item of one run is; fixed for the run because its inputs are locked.
struct ItemRecipe {
    ItemKind kind = ItemKind::NewFile;
    QString duplicateSource;  // the duplicate kind's source file
    // New files copy the run's template, unless they are random or written each for itself from
    // their size and fill byte.
    QString templatePath;
    FileContent content = FileContent::FillByte;
    NewFileWriting writing = NewFileWriting::CopyOfTemplate;
    std::int64_t fileSize = 0;
    std::uint8_t fillByte = 0;
    std::uint64_t randomSeed = 0;
    // The place of the next item in the walk, counting every item tried, made or found, so that
    // a name's random bytes do not depend on which items were there before. The only part of the
    // recipe that moves during a run.
    mutable std::uint64_t nextItemIndex = 0;
};

ItemRecipe ItemRecipeOf(const ItemRequest& items, const QString& templatePath);

// Makes one item at the path unless an item of that kind is already there. True when this call
// created it, false when it existed; every other failure is raised to the caller.
bool CreateItem(const QString& path, const ItemRecipe& recipe, FileService& files);

}  // namespace zarame
