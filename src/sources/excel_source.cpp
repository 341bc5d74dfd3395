#include "sources/excel_source.h"

#include "create/item_creator.h"
#include "create/item_path.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/window_model.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"

namespace zarame {

bool IsBlankCell(QStringView text) {
    for (QChar character : text) {
        if (character != u' ' && character != u'\u3000' && character != u'\t') {
            return false;
        }
    }
    return true;
}

WalkEnd CreateFromExcel(RunContext& context, const BatchRequest& request,
                        workbook::Workbook& book) {
    WindowModel& model = context.model;
    const WorkbookColumn& column = request.names.workbookColumn;
    // At most one past the sheet's last row, which the sheet refuses; row 0 is refused there too.
    std::int32_t row = column.startCell.row;
    workbook::StreamingSheet& sheet = book.ActiveSheet();
    const ItemRecipe recipe = ItemRecipeOf(request.items, context.templatePath);
    std::int32_t blankCount = 0;  // up to the limit, which may be every row of a sheet
    while (true) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return WalkEnd::Stopped;
        }
        const QString text = sheet.CellText(row, column.startCell.column);
        if (IsBlankCell(text)) {
            ++blankCount;
            if (blankCount >= column.blankLimit) {
                // Damage behind the last cell read still fails the run.
                sheet.ReadToEnd();
                return WalkEnd::Finished;
            }
        } else {
            blankCount = 0;
            const bool created = CreateItem(ItemPath(request.folder, text), recipe, context.files);
            AddLog(model, OutcomeLine(text, created), context.logMax);
        }
        ++row;
        context.host.PumpEvents();
        AdvanceProgress(model);
    }
}

}  // namespace zarame
