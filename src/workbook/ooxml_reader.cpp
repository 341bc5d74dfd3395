#include "workbook/ooxml_reader.h"

#include <QDateTime>
#include <map>

#include "numformat/cell_format.h"
#include "workbook/ooxml_package.h"
#include "workbook/shared_strings.h"
#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"
#include "workbook/xml_part.h"
#include "workbook/xml_scanner.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

// Far more sheets than any book holds; each costs a few dozen bytes here.
constexpr std::size_t kSheetCap = 1 << 16;

struct WorkbookPart {
    std::vector<QString> sheetIds;  // relationship ids in sheet order, hidden ones included
    std::int64_t activeTab = 0;
    bool dates1904 = false;
};

bool IsTrue(QStringView value) {
    return value == u"1" || value == u"true";
}

WorkbookPart ReadWorkbookPart(const ZipArchive& archive, const QString& name) {
    WorkbookPart workbook;
    bool viewSeen = false;
    XmlPart part(archive.OpenEntry(name, kHeldPartCap));
    while (part.Next() != QXmlStreamReader::EndDocument) {
        if (part.reader().tokenType() != QXmlStreamReader::StartElement) {
            continue;
        }
        // Only the main namespace counts: extension lists carry look-alikes (x14:workbookPr).
        const QXmlStreamAttributes attributes = part.reader().attributes();
        const auto plain = [&attributes](QStringView name) {
            return Attribute(attributes, XmlNamespace::None, name);
        };
        if (part.Is(XmlNamespace::Spreadsheet, u"workbookPr")) {
            workbook.dates1904 = IsTrue(plain(u"date1904"));
        } else if (part.Is(XmlNamespace::Spreadsheet, u"workbookView") && !viewSeen) {
            viewSeen = true;  // the first view is the one the workbook opens in
            workbook.activeTab = plain(u"activeTab").toLongLong();
        } else if (part.Is(XmlNamespace::Spreadsheet, u"sheet")) {
            if (workbook.sheetIds.size() == kSheetCap) {
                throw DamagedWorkbook(name + QStringLiteral(": シートが多すぎます"));
            }
            workbook.sheetIds.push_back(
                Attribute(attributes, XmlNamespace::Relationships, u"id").toString());
        }
    }
    return workbook;
}

CellFormats ReadStyles(const ZipArchive& archive, const QString& name, bool dates1904) {
    CellFormats formats;
    formats.dates = dates1904 ? numformat::DateSystem::Date1904 : numformat::DateSystem::Date1900;
    if (name.isEmpty() || !archive.Contains(name)) {
        return formats;
    }
    std::map<int, QString> explicitCodes;
    std::vector<int> formatIds;
    XmlPart part(archive.OpenEntry(name, kHeldPartCap));
    int cellXfsDepth = 0;
    while (part.Next() != QXmlStreamReader::EndDocument) {
        const QXmlStreamReader::TokenType token = part.reader().tokenType();
        if (token == QXmlStreamReader::EndElement && part.depth() == cellXfsDepth) {
            cellXfsDepth = 0;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QXmlStreamAttributes attributes = part.reader().attributes();
        const auto plain = [&attributes](QStringView name) {
            return Attribute(attributes, XmlNamespace::None, name);
        };
        if (part.Is(XmlNamespace::Spreadsheet, u"numFmt")) {
            explicitCodes[plain(u"numFmtId").toInt()] = plain(u"formatCode").toString();
        } else if (part.Is(XmlNamespace::Spreadsheet, u"cellXfs")) {
            cellXfsDepth = part.depth();
        } else if (cellXfsDepth != 0 && part.depth() == cellXfsDepth + 1 &&
                   part.Is(XmlNamespace::Spreadsheet, u"xf")) {
            formatIds.push_back(plain(u"numFmtId").toInt());
        }
    }
    // Codes written in the file win over the built-in ones of the same number.
    formats.codeOfStyle.reserve(formatIds.size());
    for (int id : formatIds) {
        const auto found = explicitCodes.find(id);
        formats.codeOfStyle.push_back(
            found != explicitCodes.end() ? found->second : numformat::BuiltInFormatCode(id));
    }
    return formats;
}

// A serial number from an ISO 8601 date cell; nothing when the text is not such a date.
std::optional<double> SerialOfIsoDate(QStringView text, numformat::DateSystem dates) {
    QDateTime moment = QDateTime::fromString(text.toString(), Qt::ISODateWithMs);
    if (!moment.isValid()) {
        const QTime time = QTime::fromString(text.toString(), Qt::ISODateWithMs);
        if (!time.isValid()) {
            return std::nullopt;
        }
        return time.msecsSinceStartOfDay() / 86400000.0;
    }
    const QDate date = moment.date();
    qint64 base;
    if (dates == numformat::DateSystem::Date1904) {
        base = QDate(1904, 1, 1).toJulianDay();
    } else {
        // Serial 60 is the phantom 1900-02-29, so days before March 1900 count from one day
        // later.
        base = date < QDate(1900, 3, 1) ? QDate(1899, 12, 31).toJulianDay()
                                        : QDate(1899, 12, 30).toJulianDay();
    }
    return static_cast<double>(date.toJulianDay() - base) +
           moment.time().msecsSinceStartOfDay() / 86400000.0;
}

// The rows of one worksheet part, scanned straight from the archive.
class OpenXmlRowCursor final : public RowCursor {
public:
    OpenXmlRowCursor(std::shared_ptr<const ZipArchive> archive, QString partName,
                     std::shared_ptr<const SharedStrings> strings, numformat::DateSystem dates)
        : archive_(std::move(archive)),
          partName_(std::move(partName)),
          strings_(std::move(strings)),
          dates_(dates) {}

    bool Next(SheetRow& row, std::int64_t onlyColumn) override {
        onlyColumn_ = onlyColumn;
        if (!scanner_) {
            Start();
        }
        while (!done_) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->Is(XmlNamespace::Spreadsheet, "row")) {
                        ReadRow(row);
                        return true;
                    }
                    scanner_->SkipElement();
                    break;
                case XmlScanner::Token::End:  // of sheetData: what follows holds no cells
                case XmlScanner::Token::EndOfPart:
                    Finish();
                    break;
                case XmlScanner::Token::Text:
                    break;
            }
        }
        return false;
    }

    void Restart() override {
        scanner_.reset();
        done_ = false;
        lastRow_ = 0;
    }

    // The rows behind the last one read are checked for their order (one stored out of place
    // would have been passed over), not read; then the rest of the part for its checksum.
    void ReadToEnd() override {
        while (scanner_ && !done_) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->Is(XmlNamespace::Spreadsheet, "row")) {
                        ReadRowNumber();
                        scanner_->SkipElementText();
                    } else {
                        scanner_->SkipElement();
                    }
                    break;
                case XmlScanner::Token::End:
                case XmlScanner::Token::EndOfPart:
                    Finish();
                    break;
                case XmlScanner::Token::Text:
                    break;
            }
        }
    }

private:
    void Start() {
        scanner_ = std::make_unique<XmlScanner>(archive_->OpenEntry(partName_, kStreamedPartCap));
        while (true) {
            const XmlScanner::Token token = scanner_->Next();
            if (token == XmlScanner::Token::EndOfPart) {
                // Not a worksheet at all (a link entry holding some other file, say).
                throw DamagedWorkbook(partName_ + QStringLiteral(": sheetData がありません"));
            }
            if (token != XmlScanner::Token::Start || scanner_->depth() != 2) {
                continue;  // the root, or text and ends between the root's children
            }
            if (scanner_->Is(XmlNamespace::Spreadsheet, "sheetData")) {
                if (scanner_->selfClosing()) {
                    Finish();
                }
                return;
            }
            scanner_->SkipElement();  // views, columns, and look-alikes in other namespaces
        }
    }

    // The walk is over: the rest of the part is read only for its checksum.
    void Finish() {
        done_ = true;
        scanner_->ReadToEnd();
    }

    // The number of the row at the scanner, checked against the sheet and the rows before it.
    std::int64_t ReadRowNumber() {
        const QByteArrayView number = scanner_->AttributeView("r", attributeValue_);
        bool valid = true;
        const std::int64_t row =
            number.isEmpty() ? lastRow_ + 1 : number.trimmed().toLongLong(&valid);
        if (!valid || row < 1 || row > kOpenXmlLimits.rows) {
            throw DamagedWorkbook(
                partName_ + QStringLiteral(": 行番号 ") +
                QString::fromUtf8(number.first(std::min<qsizetype>(number.size(), 40))));
        }
        // Rows come top to bottom; one stored after a lower one cannot be read in its place by a
        // single pass, and dropping it would lose a name.
        if (row <= lastRow_) {
            throw DamagedWorkbook(
                partName_ +
                QStringLiteral(": 行 %1 が行 %2 の後にあります").arg(row).arg(lastRow_));
        }
        lastRow_ = row;
        return row;
    }

    void ReadRow(SheetRow& row) {
        row.row = ReadRowNumber();
        row.count = 1;
        row.cells.clear();
        if (scanner_->selfClosing()) {
            return;
        }
        std::int64_t column = 1;
        while (true) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->Is(XmlNamespace::Spreadsheet, "c")) {
                        CellRun cell;
                        column = ReadCell(column, cell.value);
                        cell.column = column;
                        // Cells come left to right within the sheet, so a row never holds more
                        // cells than a sheet has columns.
                        if (cell.value.kind != CellValue::Kind::Empty) {
                            row.cells.push_back(std::move(cell));
                        }
                        ++column;
                    } else {
                        scanner_->SkipElement();
                    }
                    break;
                case XmlScanner::Token::End:
                    return;  // the row's end
                case XmlScanner::Token::Text:
                    break;
                case XmlScanner::Token::EndOfPart:
                    done_ = true;
                    return;
            }
        }
    }

    // Reads the cell at the scanner into `value` (unless it lies in a column not asked for);
    // returns its column. `nextColumn` is the column of a cell without a reference.
    std::int64_t ReadCell(std::int64_t nextColumn, CellValue& value) {
        const QByteArrayView reference = scanner_->AttributeView("r", attributeValue_);
        const std::optional<std::int64_t> column = ColumnOfReference(reference, nextColumn);
        // Beyond the sheet (XFE1, or a cell without a reference after XFD), or left of a cell
        // before it in the row: read as another column, it would give a wrong name.
        if (!column || *column > kOpenXmlLimits.columns || *column < nextColumn) {
            throw DamagedWorkbook(partName_ + QStringLiteral(": セル参照 ") +
                                  (reference.isEmpty()
                                       ? QString::number(nextColumn)
                                       : QString::fromUtf8(reference.first(
                                             std::min<qsizetype>(reference.size(), 40)))));
        }
        if (onlyColumn_ != 0 && *column != onlyColumn_) {
            scanner_->SkipElementText();
            return *column;
        }
        const QByteArray style = scanner_->Attribute("s");
        value.style = style.isEmpty() ? -1 : style.toInt();
        const QByteArray type = scanner_->Attribute("t");
        QByteArray stored;
        bool hasStored = false;
        for (int depth = scanner_->selfClosing() ? 0 : 1; depth > 0;) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->Is(XmlNamespace::Spreadsheet, "v")) {
                        stored = scanner_->ElementText();
                        hasStored = true;
                    } else if (scanner_->Is(XmlNamespace::Spreadsheet, "is")) {
                        stored = ScanStringItem(*scanner_);
                        hasStored = true;
                    } else {
                        scanner_->SkipElement();  // the formula and anything else
                    }
                    break;
                case XmlScanner::Token::End:
                    --depth;
                    break;
                case XmlScanner::Token::Text:
                    break;
                case XmlScanner::Token::EndOfPart:
                    depth = 0;
                    break;
            }
        }
        if (hasStored) {
            SetValue(type, stored, value);
        }
        return *column;
    }

    void SetValue(const QByteArray& type, const QByteArray& stored, CellValue& value) const {
        if (type == "s") {
            bool valid = false;
            const qint64 index = stored.trimmed().toLongLong(&valid);
            if (!valid) {
                throw DamagedWorkbook(partName_ + QStringLiteral(": 共有文字列の番号"));
            }
            value.kind = CellValue::Kind::Text;
            value.text = strings_->At(index);
        } else if (type == "inlineStr" || type == "str") {
            value.kind = CellValue::Kind::Text;
            value.text = DecodeEscapes(QString::fromUtf8(stored));
        } else if (type == "b") {
            value.kind = CellValue::Kind::Boolean;
            value.number = IsTrue(QString::fromLatin1(stored.trimmed())) ? 1 : 0;
        } else if (type == "e") {
            value.kind = CellValue::Kind::Error;
            value.text = QString::fromUtf8(stored);
        } else if (type == "d") {
            const QString text = QString::fromUtf8(stored.trimmed());
            if (const std::optional<double> serial = SerialOfIsoDate(text, dates_)) {
                value.kind = CellValue::Kind::Number;
                value.number = *serial;
            } else {
                value.kind = CellValue::Kind::Text;
                value.text = text;
            }
        } else {
            bool valid = false;
            value.number = stored.trimmed().toDouble(&valid);
            if (!valid) {
                throw DamagedWorkbook(partName_ + QStringLiteral(": 数値 ") +
                                      QString::fromUtf8(stored.left(40)));
            }
            value.kind = CellValue::Kind::Number;
        }
    }

    std::shared_ptr<const ZipArchive> archive_;
    QString partName_;
    std::shared_ptr<const SharedStrings> strings_;
    numformat::DateSystem dates_;
    std::unique_ptr<XmlScanner> scanner_;
    std::int64_t onlyColumn_ = 0;
    bool done_ = false;
    std::int64_t lastRow_ = 0;
    QByteArray attributeValue_;  // room for a decoded attribute, kept from cell to cell
};

}  // namespace

std::optional<std::int64_t> ColumnOfReference(QByteArrayView reference, std::int64_t otherwise) {
    std::int64_t column = 0;
    qsizetype at = 0;
    for (; at < reference.size(); ++at) {
        const char character = reference[at];
        const char upper = character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
        if (upper < 'A' || upper > 'Z') {
            break;
        }
        column = column * 26 + (upper - 'A' + 1);
        if (column > kOpenXmlLimits.columns) {
            return std::nullopt;
        }
    }
    std::int64_t row = 0;
    const qsizetype firstDigit = at;
    for (; at < reference.size() && reference[at] >= '0' && reference[at] <= '9'; ++at) {
        row = row * 10 + (reference[at] - '0');
        if (row > kOpenXmlLimits.rows) {
            return std::nullopt;
        }
    }
    if (at > firstDigit && row == 0) {
        return std::nullopt;
    }
    return column == 0 ? otherwise : column;
}

std::unique_ptr<StreamingSheet> OpenXmlActiveSheet(std::shared_ptr<const ZipArchive> archive) {
    const QString workbookName = WorkbookPartName(*archive);
    if (!archive->Contains(workbookName) || !workbookName.endsWith(u".xml", Qt::CaseInsensitive)) {
        return nullptr;
    }
    const WorkbookPart workbook = ReadWorkbookPart(*archive, workbookName);
    if (workbook.sheetIds.empty()) {
        throw DamagedWorkbook(workbookName + QStringLiteral(": シートがありません"));
    }
    const std::map<QString, Relationship> relationships = ReadRelationships(*archive, workbookName);
    QString stylesName;
    QString stringsName;
    for (const auto& [id, relationship] : relationships) {
        if (relationship.type == u"styles") {
            stylesName = relationship.target;
        } else if (relationship.type == u"sharedStrings") {
            stringsName = relationship.target;
        }
    }
    const std::size_t active =
        workbook.activeTab >= 0 &&
                static_cast<std::size_t>(workbook.activeTab) < workbook.sheetIds.size()
            ? static_cast<std::size_t>(workbook.activeTab)
            : 0;
    const auto sheet = relationships.find(workbook.sheetIds[active]);
    if (sheet == relationships.end()) {
        throw DamagedWorkbook(workbookName + QStringLiteral(": シートの参照"));
    }
    CellFormats formats = ReadStyles(*archive, stylesName, workbook.dates1904);
    auto strings = std::make_shared<SharedStrings>();
    if (!stringsName.isEmpty() && archive->Contains(stringsName)) {
        XmlScanner scanner(archive->OpenEntry(stringsName, kSharedStringsCap));
        *strings = ScanSharedStrings(scanner, archive->path());
    }
    const numformat::DateSystem dates = formats.dates;
    return std::make_unique<StreamingSheet>(
        std::make_unique<OpenXmlRowCursor>(std::move(archive), sheet->second.target,
                                           std::move(strings), dates),
        std::move(formats), kOpenXmlLimits);
}

}  // namespace zarame::workbook
