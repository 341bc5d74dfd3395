#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace zarame::workbook {

class StreamingSheet;
class ZipArchive;

// The active sheet of an Office Open XML workbook (.xlsx, .xlsm): the sheet the workbook view
// opens on (its index counts hidden sheets too), with the shared strings and number formats it
// needs. Nothing when the archive holds no such workbook; damage raises a RunTimeError.
std::unique_ptr<StreamingSheet> OpenXmlActiveSheet(std::shared_ptr<const ZipArchive> archive);

// A cell reference's column ("B" of "B12") as a number from 1; `otherwise` when there are no
// letters; nothing when the column or the row lies beyond any sheet (XFE2, A1048577, A0).
std::optional<std::int64_t> ColumnOfReference(QByteArrayView reference, std::int64_t otherwise);

}  // namespace zarame::workbook
