#pragma once

#include <QStringView>

#include "run/run_context.h"
#include "window/batch_request.h"

namespace zarame {

namespace workbook {
class Workbook;
}

// A cell whose displayed text is empty once blanks (spaces, ideographic spaces and tabs) are
// removed at both ends.
bool IsBlankCell(QStringView text);

// Walks down the request's column of the workbook's active sheet from its start cell, creating
// one item per non-blank cell and logging each with the cell text, until the blank limit of blank
// cells in a row, a stop request, or a failure, which is raised to the run.
WalkEnd CreateFromExcel(RunContext& context, const BatchRequest& request, workbook::Workbook& book);

}  // namespace zarame
