#pragma once

#include <QStringView>
#include <cstdint>

#include "sources/name_generator.h"
#include "window/batch_request.h"

namespace zarame {

namespace workbook {
class StreamingSheet;
}

// A cell whose displayed text is empty once blanks (spaces, ideographic spaces and tabs) are
// removed at both ends.
bool IsBlankCell(QStringView text);

// The texts of one column of a sheet, read down from the start cell until the blank limit of
// blank cells in a row. A blank cell before the limit is a step without an item. When the walk
// ends, the rest of the sheet is read, so that damage behind the last cell read still fails the
// run.
class WorkbookColumnNames final : public NameGenerator {
public:
    WorkbookColumnNames(workbook::StreamingSheet& sheet, const WorkbookColumn& column);

    NameStep Next() override;
    NameOrigin origin() const override { return NameOrigin::ReadFromData; }

private:
    workbook::StreamingSheet& sheet_;
    const WorkbookColumn column_;
    // At most one past the sheet's last row, which the sheet refuses; row 0 is refused there too.
    std::int32_t row_;
    std::int32_t blankCount_ = 0;  // up to the limit, which may be every row of a sheet
    bool ended_ = false;
};

}  // namespace zarame
