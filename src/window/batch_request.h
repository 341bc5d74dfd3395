#pragma once

#include <QString>
#include <cstdint>

#include "window/sequence_name.h"
#include "window/start_cell.h"

namespace zarame {

// Where the names come from; the window's `optType` tests 0, then 1, and treats anything else
// as 2.
enum class NameSource { ExcelColumn = 0, TextFile = 1, SequentialNumbers = 2 };
// What each item is; the window's `optSpec` is read the same way.
enum class ItemKind { NewFile = 0, Duplicate = 1, Folder = 2 };

// One column of a workbook's active sheet, read down from a cell.
struct WorkbookColumn {
    QString workbookPath;
    StartCell startCell;
    std::int32_t blankLimit = 1;  // blank cells in a row that end the walk
};

// The name source with its inputs; only those of the chosen source are filled in.
struct NameRequest {
    NameSource source = NameSource::ExcelColumn;
    WorkbookColumn workbookColumn;
    QString textFilePath;
    NumberSequence numbers;
};

// What new files hold: every byte the fill byte (the window's only choice), or pseudo-random
// bytes of their own.
enum class FileContent { FillByte, Random };

// How new files are written: as copies of one template written first (the window's way), or each
// from memory, which needs no second copy of a file's size on the disk. Random files are always
// written each for itself.
enum class NewFileWriting { CopyOfTemplate, EachFileItself };

// The largest size the window's field can hold, and so the largest a template is written for.
inline constexpr std::int64_t kLargestTemplatedSize = 2147483647;

// The item kind with its inputs; only those of the chosen kind are filled in.
struct ItemRequest {
    ItemKind kind = ItemKind::NewFile;
    std::int64_t fileSize = 0;  // bytes of every new file; the window's field holds 32 bits
    std::uint8_t fillByte = 0;
    QString duplicateSource;
    FileContent content = FileContent::FillByte;
    std::uint64_t randomSeed = 0;  // for random content: same seed and names, same bytes
    NewFileWriting writing = NewFileWriting::CopyOfTemplate;
};

// Whether a name with "/" may make the folders it names inside the destination, as mkdir -p
// would; the window's names need them to be there.
enum class ParentFolders { MustExist, Make };

// A dry run looks at every item and tells what a run would do, writing nothing.
enum class RunMode { Create, DryRun };

// Whether the run's new files are copies of a template it writes first.
inline bool UsesTemplate(const ItemRequest& items) {
    return items.kind == ItemKind::NewFile && items.content == FileContent::FillByte &&
           items.writing == NewFileWriting::CopyOfTemplate;
}

// One batch, as the inputs asked for it once they were checked.
struct BatchRequest {
    NameRequest names;
    ItemRequest items;
    QString folder;  // the destination, as typed
    ParentFolders parentFolders = ParentFolders::MustExist;
    RunMode mode = RunMode::Create;
};

}  // namespace zarame
