#pragma once

#include <QString>

#include "common/run_time_error.h"

namespace zarame::workbook {

// Every failure of the reader is a RunTimeError: while a workbook is being opened it ends in the
// connection message, during a walk it becomes an error line.

// The number a spreadsheet gives for a cell it refuses or a book it cannot read.
inline constexpr int kWorkbookErrorNumber = 1004;

// Damage found inside a book. The readers know the part, not the book: opening it names the book
// (DamagedWorkbookAt), and a walk's error line is read beside the book the run names.
class WorkbookDamage : public RunTimeError {
public:
    explicit WorkbookDamage(QString detail);
    const QString& detail() const { return detail_; }

private:
    QString detail_;
};

// Not a workbook of a format the reader knows.
RunTimeError NotAWorkbook(const QString& path);
// Protected by a password.
RunTimeError EncryptedWorkbook(const QString& path);
// A binary workbook (.xlsb): a zip like an .xlsx, its parts in records instead of XML.
RunTimeError BinaryWorkbook(const QString& path);
// A worksheet or workbook of Excel 4.0 or earlier: a bare record stream, no container.
RunTimeError PreExcel5Workbook(const QString& path);
// A structure that cannot be followed: truncated, out of range, looping, badly formed.
WorkbookDamage DamagedWorkbook(const QString& detail);
// The same damage, found while the book at `path` was being opened.
RunTimeError DamagedWorkbookAt(const QString& path, const QString& detail);
// A part that inflates beyond what the reader accepts.
RunTimeError OversizedPart(const QString& part);
// A row the sheet format cannot hold (row 0 included).
RunTimeError RowOutOfRange(qint64 row);
RunTimeError ColumnOutOfRange(qint64 column);
// A compound file (an Office document of the old kind) that holds no workbook.
RunTimeError NoWorkbookStream(const QString& path);

// A book whose shared-string table would take more memory than the reader allows.
RunTimeError SharedStringsTooLarge(const QString& path);

}  // namespace zarame::workbook
