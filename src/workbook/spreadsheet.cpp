#include "workbook/spreadsheet.h"

#include "workbook/biff_reader.h"
#include "workbook/csv_reader.h"
#include "workbook/ods_reader.h"
#include "workbook/ooxml_reader.h"
#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

constexpr char kCompoundFileMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

struct OpenedSheet {
    std::shared_ptr<const ZipArchive> archive;
    std::unique_ptr<StreamingSheet> sheet;
};

OpenedSheet OpenZipWorkbook(const WorkbookFile& file) {
    std::optional<ZipArchive> opened = ZipArchive::Open(file);
    if (!opened) {
        throw DamagedWorkbook(QStringLiteral("zip"));
    }
    auto archive = std::make_shared<const ZipArchive>(std::move(*opened));
    if (std::unique_ptr<StreamingSheet> sheet = OpenXmlActiveSheet(archive)) {
        return {archive, std::move(sheet)};
    }
    if (std::unique_ptr<StreamingSheet> sheet = OpenDocumentActiveSheet(archive)) {
        return {archive, std::move(sheet)};
    }
    throw NotAWorkbook(file.path());
}

std::unique_ptr<StreamingSheet> OpenTextWorkbook(const WorkbookFile& file) {
    const QString& path = file.path();
    std::optional<FieldSeparator> separator;
    if (path.endsWith(u".csv", Qt::CaseInsensitive)) {
        separator = FieldSeparator::Comma;
    } else if (path.endsWith(u".tsv", Qt::CaseInsensitive)) {
        separator = FieldSeparator::Tab;
    } else {
        throw NotAWorkbook(path);
    }
    return std::make_unique<StreamingSheet>(std::make_unique<CsvRowCursor>(file, *separator),
                                            CellFormats{}, kOpenXmlLimits);
}

}  // namespace

Workbook::Workbook(std::unique_ptr<WorkbookFile> file, std::shared_ptr<const ZipArchive> archive,
                   std::unique_ptr<StreamingSheet> sheet)
    : file_(std::move(file)), archive_(std::move(archive)), sheet_(std::move(sheet)) {}

Workbook::~Workbook() {
    Close();
}

StreamingSheet& Workbook::ActiveSheet() {
    if (!sheet_) {
        throw RunTimeError(kWorkbookErrorNumber, QStringLiteral("ブックは閉じられています"));
    }
    return *sheet_;
}

void Workbook::Close() noexcept {
    sheet_.reset();  // the readers first: they read through the archive and the file
    archive_.reset();
    file_.reset();
}

std::unique_ptr<Workbook> SpreadsheetApplication::Open(const QString& path, OpenMode) {
    auto file = std::make_unique<WorkbookFile>(path);
    const QByteArray head = file->ReadAt(0, 8);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        OpenedSheet opened = OpenZipWorkbook(*file);
        return std::make_unique<Workbook>(std::move(file), std::move(opened.archive),
                                          std::move(opened.sheet));
    }
    if (head == QByteArray(kCompoundFileMagic, 8)) {
        std::unique_ptr<StreamingSheet> sheet = LegacyActiveSheet(*file);
        return std::make_unique<Workbook>(std::move(file), nullptr, std::move(sheet));
    }
    std::unique_ptr<StreamingSheet> sheet = OpenTextWorkbook(*file);
    return std::make_unique<Workbook>(std::move(file), nullptr, std::move(sheet));
}

}  // namespace zarame::workbook
