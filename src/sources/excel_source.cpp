#include "sources/excel_source.h"

#include "create/item_creator.h"
#include "create/item_path.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/start_cell.h"
#include "window/window_model.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"

namespace zarame {

bool IsBlankCell(QStringView text) {
    for (QChar character : text) {
        if (character != u' ' && character != u'\u3000' && character != u'\t') {
            return false;
        }
    }
    return true;
}

WalkEnd CreateFromExcel(RunContext& context, workbook::Workbook& book) {
    WindowModel& model = context.model;
    // The inputs are locked for the run and validation has refused any others, so the start
    // cell, the limit, the folder and the item kind are read once.
    const std::optional<StartCell> start =
        ParseStartCell(model.text(TextBox::txtStartCell), context.cellReach);
    if (!start) {
        throw workbook::RowOutOfRange(0);
    }
    // A limit below 1 would end the walk at the first blank cell.
    const std::int32_t blankLimit =
        ParseBlankLimit(model.text(TextBox::txtBlank), context.cellReach).value_or(1);
    std::int32_t row =
        start->row;  // at most one past the sheet's last row, which the sheet refuses
    workbook::StreamingSheet& sheet = book.ActiveSheet();
    const QString& folder = model.text(TextBox::txtFolder);
    const ItemRecipe recipe = ItemRecipeOf(model, context.templatePath);
    std::int32_t blankCount = 0;  // up to the limit, which may be every row of a sheet
    while (true) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return WalkEnd::Stopped;
        }
        const QString text = sheet.CellText(row, start->column);
        if (IsBlankCell(text)) {
            ++blankCount;
            if (blankCount >= blankLimit) {
                // Damage behind the last cell read still fails the run.
                sheet.ReadToEnd();
                return WalkEnd::Finished;
            }
        } else {
            blankCount = 0;
            const bool created = CreateItem(ItemPath(folder, text), recipe, context.files);
            AddLog(model, OutcomeLine(text, created), context.logMax);
        }
        ++row;
        context.host.PumpEvents();
        AdvanceProgress(model);
    }
}

}  // namespace zarame
