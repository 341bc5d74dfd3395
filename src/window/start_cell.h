#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace zarame {

// How far the start cell and the blank limit may reach. The window's field holds a letter and a
// digit (A1 to Z9, and row 0, which the walk asks for as it stands); the command line takes any
// cell of a sheet and any count of its rows.
enum class CellReach { WindowField, WholeSheet };

inline constexpr std::int32_t kSheetColumns = 16384;  // A to XFD
inline constexpr std::int32_t kSheetRows = 1048576;

struct StartCell {
    std::int32_t column = 1;  // A is 1
    std::int32_t row = 1;
};

// The cell a walk starts at; nothing when the text names no cell within reach. Letters in either
// case; full-width letters and digits count as their ASCII forms, as an input method types them,
// while a letter of another script (a dotless i that upper-cases into A to Z) is never a column.
std::optional<StartCell> ParseStartCell(QStringView text, CellReach reach);

// The number of blank cells in a row that ends a walk; nothing when the text is refused: not
// numeric, below 1 once converted, or (whole sheet) beyond the sheet's rows. The window's field
// is converted to 16 bits, and a value beyond them raises, as the whole-number conversion does.
std::optional<std::int32_t> ParseBlankLimit(QStringView text, CellReach reach);

}  // namespace zarame
