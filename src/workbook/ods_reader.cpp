#include "workbook/ods_reader.h"

#include "workbook/streaming_sheet.h"

namespace zarame::workbook {

std::unique_ptr<StreamingSheet> OpenDocumentActiveSheet(std::shared_ptr<const ZipArchive>) {
    return nullptr;
}

}  // namespace zarame::workbook
