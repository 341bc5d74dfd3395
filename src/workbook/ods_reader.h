#pragma once

#include <memory>

namespace zarame::workbook {

class StreamingSheet;
class ZipArchive;

// The active sheet of an OpenDocument spreadsheet (.ods): the table its settings name as active,
// else the first. Cells give the text they display, paragraphs joined by line feeds. Nothing
// when the archive is not such a document; damage raises a RunTimeError.
std::unique_ptr<StreamingSheet> OpenDocumentActiveSheet(std::shared_ptr<const ZipArchive> archive);

}  // namespace zarame::workbook
