#pragma once

#include <QStringView>

#include "run/run_context.h"

namespace zarame {

namespace workbook {
class Workbook;
}

// A cell whose displayed text is empty once blanks (spaces, ideographic spaces and tabs) are
// removed at both ends.
bool IsBlankCell(QStringView text);

// Walks down one column of the workbook's active sheet from the start cell, creating one item per
// non-blank cell and logging each with the cell text, until txtBlank blank cells in a row, a stop
// request, or a failure, which is raised to the run.
WalkEnd CreateFromExcel(RunContext& context, workbook::Workbook& book);

}  // namespace zarame
