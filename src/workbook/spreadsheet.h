#pragma once

#include <QString>
#include <memory>

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

enum class OpenMode { ReadOnly };

// The spreadsheet component a run talks to in place of a spreadsheet application: in-process,
// without a window, reading Office Open XML (.xlsx, .xlsm), legacy Excel (.xls), OpenDocument
// (.ods) and, by name, comma- or tab-separated text (.csv, .tsv).
class SpreadsheetApplication {
public:
    // Nothing is ever shown or asked; the settings are kept for the shape of the conversation.
    void SetDisplayAlerts(bool displayAlerts) { displayAlerts_ = displayAlerts; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Opens the workbook, choosing the format by its content. Any failure (missing, unreadable,
    // not a regular file, not a workbook, encrypted, damaged) raises a RunTimeError whose
    // description gives the cause.
    std::unique_ptr<Workbook> Open(const QString& path, OpenMode mode);

    void Quit() noexcept {}

private:
    bool displayAlerts_ = true;
    bool visible_ = true;
};

}  // namespace zarame::workbook
