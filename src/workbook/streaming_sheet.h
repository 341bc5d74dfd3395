#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "common/run_time_error.h"
#include "workbook/sheet_rows.h"

namespace zarame::workbook {

// A cell whose displayed text is longer than a file name can be (255 bytes): the text could name
// nothing, so the cell is refused with its A1 reference.
class OverlongCellError : public RunTimeError {
public:
    OverlongCellError(std::int64_t row, std::int64_t column);
};

// The active sheet as a connection hands it out: the displayed text of a cell by row and column.
// Rows are read from the file as the requests move down, so a walk down a column reads the sheet
// once and holds only the current row; a request above the rows already passed reads again from
// the top.
class StreamingSheet {
public:
    StreamingSheet(std::unique_ptr<RowCursor> cursor, CellFormats formats, SheetLimits limits);

    // Row 0 or a row or column beyond the format's limits raises a RunTimeError, as does a file
    // that turns out damaged on the way, and a displayed text longer than a file name can be.
    QString CellText(std::int64_t row, std::int64_t column);
    // For a walk that is over: reads the rest of the sheet's data only to check it, raising a
    // RunTimeError when it turns out damaged.
    void ReadToEnd() { cursor_->ReadToEnd(); }

private:
    const CellValue* Find(std::int64_t column) const;
    void Restart();

    std::unique_ptr<RowCursor> cursor_;
    CellFormats formats_;
    SheetLimits limits_;
    SheetRow held_;
    bool holding_ = false;
    bool exhausted_ = false;
    std::int64_t passed_ = 1;  // every row above this one is behind the cursor
    // The one column the rows are read for (cursors may skip the others), 0 once a second column
    // has been asked for.
    std::int64_t column_ = -1;
};

}  // namespace zarame::workbook
