#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "numformat/cell_format.h"

namespace zarame::workbook {

// One cell's stored value, before it is turned into displayed text.
struct CellValue {
    enum class Kind { Empty, Text, Number, Boolean, Error };
    Kind kind = Kind::Empty;
    QString text;       // Text and Error
    double number = 0;  // Number; Boolean as 0 or 1
    int style = -1;     // index into the workbook's format codes, -1 for none
};

// A run of equal cells in one row (OpenDocument repeats a cell across columns; other formats
// give runs of one).
struct CellRun {
    std::int64_t column = 1;
    std::int64_t count = 1;
    CellValue value;
};

// A run of equal rows (OpenDocument repeats rows, up to the whole sheet).
struct SheetRow {
    std::int64_t row = 1;
    std::int64_t count = 1;
    std::vector<CellRun> cells;
};

// The rows of one sheet in file order, read a row at a time. Rows a file leaves out are empty.
class RowCursor {
public:
    virtual ~RowCursor() = default;
    // Fills `row` with the next stored row; false after the last. A cursor may leave out every
    // cell but those of `onlyColumn` (0 asks for all). Damage raises a RunTimeError.
    virtual bool Next(SheetRow& row, std::int64_t onlyColumn) = 0;
    // Back to the first row, for a caller that asks for a row it has passed.
    virtual void Restart() = 0;
    // Reads what is left of the sheet's data without keeping it, so that damage behind the last
    // row read (a checksum that fails at the end of the part) still comes to light.
    virtual void ReadToEnd() {}
};

// What turns a stored number into its displayed text: the format code of each style and the
// calendar of the workbook.
struct CellFormats {
    std::vector<QString> codeOfStyle;
    numformat::DateSystem dates = numformat::DateSystem::Date1900;
};

QString DisplayedText(const CellValue& value, const CellFormats& formats);

// The size of a sheet in each format.
struct SheetLimits {
    std::int64_t rows;
    std::int64_t columns;
};
inline constexpr SheetLimits kOpenXmlLimits{1048576, 16384};
inline constexpr SheetLimits kBiff8Limits{65536, 256};

}  // namespace zarame::workbook
