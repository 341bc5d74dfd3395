#include "sources/excel_source.h"

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

WorkbookColumnNames::WorkbookColumnNames(workbook::StreamingSheet& sheet,
                                         const WorkbookColumn& column)
    : sheet_(sheet), column_(column), row_(column.startCell.row) {}

NameStep WorkbookColumnNames::Next() {
    if (ended_) {
        return {};
    }
    QString text = sheet_.CellText(row_++, column_.startCell.column);
    if (!IsBlankCell(text)) {
        blankCount_ = 0;
        return {NameStep::Kind::Item, std::move(text)};
    }
    if (++blankCount_ < column_.blankLimit) {
        return {NameStep::Kind::Blank, QString()};
    }
    ended_ = true;
    sheet_.ReadToEnd();
    return {};
}

}  // namespace zarame
