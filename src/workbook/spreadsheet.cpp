#include "workbook/spreadsheet.h"

#include <QtEndian>
#include <new>

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
        throw DamagedWorkbook(QStringLiteral("zip として読めません"));
    }
    auto archive = std::make_shared<const ZipArchive>(std::move(*opened));
    if (std::unique_ptr<StreamingSheet> sheet = OpenXmlActiveSheet(archive)) {
        return {archive, std::move(sheet)};
    }
    if (std::unique_ptr<StreamingSheet> sheet = OpenDocumentActiveSheet(archive)) {
        return {archive, std::move(sheet)};
    }
    if (archive->Contains(QStringLiteral("xl/workbook.bin"))) {
        throw BinaryWorkbook(file.path());
    }
    throw NotAWorkbook(file.path());
}

// The BOF record that starts the bare record stream of Excel 2.x to 4.0 (a worksheet, chart or
// macro sheet, or an Excel 4.0 workbook). These books have no container; no text starts with a
// tab, a NUL and then this length, even in UTF-16.
bool IsPreExcel5Stream(const QByteArray& head) {
    if (head.size() < 4) {
        return false;
    }
    const quint16 record = qFromLittleEndian<quint16>(head.constData());
    const quint16 length = qFromLittleEndian<quint16>(head.constData() + 2);
    const bool beginning = record == 0x0009 || record == 0x0209 || record == 0x0409;
    return beginning && length >= 4 && length <= 16;
}

// A name that only a spreadsheet's own format would carry.
bool HasWorkbookName(const QString& path) {
    for (const char16_t* suffix :
         {u".xls", u".xlsx", u".xlsm", u".xlsb", u".xlt", u".xltx", u".xltm", u".ods"}) {
        if (path.endsWith(QStringView(suffix), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// Whether the start of a file holds bytes that no text does (controls other than tab, line
// ends and form feed). Text under a book's name is common (a list or a web page saved as .xls)
// and is not a damaged book.
bool LooksBinary(const QByteArray& head) {
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        return false;  // UTF-16, where every other byte may be NUL
    }
    for (const char byte : head) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 && value != '\t' && value != '\n' && value != '\r' && value != '\f') {
            return true;
        }
    }
    return false;
}

// The cause for content that is none of the formats read.
RunTimeError UnknownContent(const WorkbookFile& file) {
    if (!HasWorkbookName(file.path())) {
        return NotAWorkbook(file.path());
    }
    if (file.size() == 0) {
        return DamagedWorkbookAt(file.path(), QStringLiteral("空のファイルです"));
    }
    if (LooksBinary(file.ReadAt(0, 512))) {
        return DamagedWorkbookAt(file.path(), QStringLiteral("形式を判別できません"));
    }
    return NotAWorkbook(file.path());
}

std::unique_ptr<StreamingSheet> OpenTextWorkbook(const WorkbookFile& file) {
    const QString& path = file.path();
    std::optional<FieldSeparator> separator;
    if (path.endsWith(u".csv", Qt::CaseInsensitive)) {
        separator = FieldSeparator::Comma;
    } else if (path.endsWith(u".tsv", Qt::CaseInsensitive)) {
        separator = FieldSeparator::Tab;
    } else {
        throw UnknownContent(file);
    }
    return std::make_unique<StreamingSheet>(std::make_unique<CsvRowCursor>(file, *separator),
                                            CellFormats{}, kOpenXmlLimits);
}

std::unique_ptr<Workbook> OpenByContent(std::unique_ptr<WorkbookFile> file) {
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
    if (IsPreExcel5Stream(head)) {
        throw PreExcel5Workbook(file->path());
    }
    std::unique_ptr<StreamingSheet> sheet = OpenTextWorkbook(*file);
    return std::make_unique<Workbook>(std::move(file), nullptr, std::move(sheet));
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

std::unique_ptr<Workbook> LoadWorkbook(const QString& path) {
    try {
        return OpenByContent(std::make_unique<WorkbookFile>(path));
    } catch (const WorkbookDamage& damage) {
        throw DamagedWorkbookAt(path, damage.detail());
    }
}

WorkbookOpening OpenWorkbook(const QString& path) {
    try {
        return {LoadWorkbook(path), std::nullopt};
    } catch (const RunTimeError& error) {
        return {nullptr, error};
    } catch (const std::bad_alloc&) {
        return {nullptr, RunTimeError(7, QStringLiteral("メモリが不足しています"))};
    }
}

}  // namespace zarame::workbook
