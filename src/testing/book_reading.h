#pragma once

// Reading a book the way a run does, for the readers' tests.

#include <QString>
#include <QStringList>

#include "common/run_time_error.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"

namespace zarame::testing {

// Stands for a cell refused because its text is longer than a name can be.
inline const QString kTooLong = QStringLiteral("(too long)");

// Column `column` of the active sheet from row 1 to `rows`, then the rest of the sheet read to
// its end, so that damage past the rows asked for is met as well.
inline QStringList Column(const QString& path, int column, int rows) {
    const std::unique_ptr<workbook::Workbook> book = workbook::LoadWorkbook(path);
    QStringList texts;
    for (int row = 1; row <= rows; ++row) {
        try {
            texts << book->ActiveSheet().CellText(row, column);
        } catch (const workbook::OverlongCellError&) {
            texts << kTooLong;
        }
    }
    book->ActiveSheet().ReadToEnd();
    return texts;
}

// The description of the failure that opening a book, and reading its column A down to row `rows`
// and on to the end, raises; empty when it reads. With no rows the sheet is not read at all.
inline QString ReadFailure(const QString& path, int rows = 0) {
    try {
        Column(path, 1, rows);
    } catch (const RunTimeError& error) {
        return error.description();
    }
    return {};
}

}  // namespace zarame::testing
