#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "common/run_time_error.h"

namespace zarame::workbook {

class StreamingSheet;
class WorkbookFile;
class ZipArchive;

// An open workbook: its file, held read-only until Close, and its active sheet.
class Workbook {
public:
    Workbook(std::unique_ptr<WorkbookFile> file, std::shared_ptr<const ZipArchive> archive,
             std::unique_ptr<StreamingSheet> sheet);
    ~Workbook();

    // The sheet the workbook opens on.
    StreamingSheet& ActiveSheet();
    // Lets go of the file without writing anything; the workbook cannot be read afterwards.
    void Close() noexcept;

private:
    std::unique_ptr<WorkbookFile> file_;
    std::shared_ptr<const ZipArchive> archive_;
    std::unique_ptr<StreamingSheet> sheet_;
};

// Opens a workbook in-process, read-only and without a window, choosing the format by its
// content: Office Open XML (.xlsx, .xlsm), legacy Excel (.xls), OpenDocument (.ods) and, by name,
// comma- or tab-separated text (.csv, .tsv). Any failure (missing, unreadable, not a regular file,
// not a workbook, encrypted, damaged) raises a RunTimeError whose description gives the cause.
std::unique_ptr<Workbook> LoadWorkbook(const QString& path);

// A book, or why there is none.
struct WorkbookOpening {
    std::unique_ptr<Workbook> book;
    std::optional<RunTimeError> failure;
};

// LoadWorkbook with its failure (running out of memory included) as the cause, for a front end
// to show as it sees fit. A stop heard while the book is read is still raised.
WorkbookOpening OpenWorkbook(const QString& path);

}  // namespace zarame::workbook
