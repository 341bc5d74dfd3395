#pragma once

#include <memory>

namespace zarame::workbook {

class StreamingSheet;
class WorkbookFile;

// The active sheet of a legacy Excel workbook (.xls, BIFF8 in a compound file). A compound file
// that holds no such workbook, or an encrypted one, raises a RunTimeError, as does damage.
std::unique_ptr<StreamingSheet> LegacyActiveSheet(const WorkbookFile& file);

}  // namespace zarame::workbook
