#include "workbook/biff_reader.h"

#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

std::unique_ptr<StreamingSheet> LegacyActiveSheet(const WorkbookFile& file) {
    throw NotAWorkbook(file.path());
}

}  // namespace zarame::workbook
