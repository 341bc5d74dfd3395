#pragma once

#include <QString>

#include "common/run_time_error.h"

namespace zarame::workbook {

// Every failure of the reader is a RunTimeError: while a workbook is being opened it ends in the
// connection message, during a walk it becomes an error line.

// The number a spreadsheet gives for a cell it refuses or a book it cannot read.
inline constexpr int kWorkbookErrorNumber = 1004;

// Not a workbook of a format the reader knows.
RunTimeError NotAWorkbook(const QString& path);
// Protected by a password.
RunTimeError EncryptedWorkbook(const QString& path);
// A structure that cannot be followed: truncated, out of range, looping, badly formed.
RunTimeError DamagedWorkbook(const QString& detail);
// A part that inflates beyond what the reader accepts.
RunTimeError OversizedPart(const QString& part);
// A row the sheet format cannot hold (row 0 included).
RunTimeError RowOutOfRange(qint64 row);
RunTimeError ColumnOutOfRange(qint64 column);
// A compound file (an Office document of the old kind) that holds no workbook.
RunTimeError NoWorkbookStream(const QString& path);

}  // namespace zarame::workbook
