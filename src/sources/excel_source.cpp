#include "sources/excel_source.h"

#include "common/numbers.h"
#include "create/item_creator.h"
#include "create/item_path.h"
#include "run/host.h"
#include "run/progress_log.h"
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
    const QString& startCell = model.text(TextBox::txtStartCell);
    if (startCell.isEmpty()) {
        throw workbook::RowOutOfRange(0);  // validation refuses this; never index an empty text
    }
    const std::int32_t column = startCell.front().toUpper().unicode() - u'A' + 1;
    std::int32_t row = startCell.back().unicode() - u'0';
    workbook::StreamingSheet& sheet = book.ActiveSheet();
    // The inputs are locked for the run, so the folder and item kind are read once.
    const QString& folder = model.text(TextBox::txtFolder);
    const ItemRecipe recipe = ItemRecipeOf(model, context.templatePath);
    std::int16_t blankCount = 0;
    while (true) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return WalkEnd::Stopped;
        }
        const QString text = sheet.CellText(row, column);
        if (IsBlankCell(text)) {
            ++blankCount;
            if (blankCount >= ToInt16(model.text(TextBox::txtBlank))) {
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
