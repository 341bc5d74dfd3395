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

struct WorkbookPart {
    std::vector<QString> sheetIds;  // relationship ids in sheet order, hidden ones included
    std::int64_t activeTab = 0;
    bool dates1904 = false;
};

bool IsTrue(QStringView value) {
    return value == u"1" || value == u"true";
}

WorkbookPart ReadWorkbookPart(const ZipArchive& archive, const QString& name) {
    std::optional<QByteArray> whole = archive.ReadWhole(name, kHeldPartCap);
    if (!whole) {
        throw DamagedWorkbook(name + QStringLiteral(" がありません"));
    }
    WorkbookPart workbook;
    bool viewSeen = false;
    XmlPart part(std::move(*whole), name);
    while (part.Next() != QXmlStreamReader::EndDocument) {
        if (part.reader().tokenType() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView element = part.reader().name();
        const QXmlStreamAttributes attributes = part.reader().attributes();
        if (element == u"workbookPr") {
            workbook.dates1904 = IsTrue(Attribute(attributes, u"date1904"));
        } else if (element == u"workbookView" && !viewSeen) {
            viewSeen = true;  // the first view is the one the workbook opens in
            workbook.activeTab = Attribute(attributes, u"activeTab").toLongLong();
        } else if (element == u"sheet") {
            workbook.sheetIds.push_back(NamespacedAttribute(attributes, u"id").toString());
        }
    }
    return workbook;
}

CellFormats ReadStyles(const ZipArchive& archive, const QString& name, bool dates1904) {
    CellFormats formats;
    formats.dates = dates1904 ? numformat::DateSystem::Date1904 : numformat::DateSystem::Date1900;
    std::optional<QByteArray> whole;
    if (!name.isEmpty()) {
        whole = archive.ReadWhole(name, kHeldPartCap);
    }
    if (!whole) {
        return formats;
    }
    std::map<int, QString> explicitCodes;
    std::vector<int> formatIds;
    XmlPart part(std::move(*whole), name);
    int cellXfsDepth = 0;
    while (part.Next() != QXmlStreamReader::EndDocument) {
        const QXmlStreamReader::TokenType token = part.reader().tokenType();
        if (token == QXmlStreamReader::EndElement && part.depth() == cellXfsDepth) {
            cellXfsDepth = 0;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView element = part.reader().name();
        const QXmlStreamAttributes attributes = part.reader().attributes();
        if (element == u"numFmt") {
            explicitCodes[Attribute(attributes, u"numFmtId").toInt()] =
                Attribute(attributes, u"formatCode").toString();
        } else if (element == u"cellXfs") {
            cellXfsDepth = part.depth();
        } else if (element == u"xf" && cellXfsDepth != 0 && part.depth() == cellXfsDepth + 1) {
            formatIds.push_back(Attribute(attributes, u"numFmtId").toInt());
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
                    if (scanner_->name() == "row") {
                        ReadRow(row);
                        return true;
                    }
                    break;
                case XmlScanner::Token::End:
                    done_ = scanner_->name() == "sheetData";
                    break;
                case XmlScanner::Token::Text:
                    break;
                case XmlScanner::Token::EndOfPart:
                    done_ = true;
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

private:
    void Start() {
        scanner_ = std::make_unique<XmlScanner>(archive_->OpenEntry(partName_, kStreamedPartCap));
        while (true) {
            const XmlScanner::Token token = scanner_->Next();
            if (token == XmlScanner::Token::EndOfPart) {
                done_ = true;
                return;
            }
            if (token == XmlScanner::Token::Start && scanner_->name() == "sheetData") {
                done_ = scanner_->selfClosing();
                return;
            }
        }
    }

    void ReadRow(SheetRow& row) {
        const QByteArray number = scanner_->Attribute("r");
        bool valid = true;
        row.row = number.isEmpty() ? lastRow_ + 1 : number.trimmed().toLongLong(&valid);
        if (!valid || row.row < 1) {
            throw DamagedWorkbook(partName_ + QStringLiteral(": 行番号"));
        }
        lastRow_ = row.row;
        row.count = 1;
        row.cells.clear();
        if (scanner_->selfClosing()) {
            return;
        }
        std::int64_t column = 1;
        while (true) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->name() == "c") {
                        CellRun cell;
                        column = ReadCell(column, cell.value);
                        cell.column = column;
                        // Cells come left to right; a repeated or out-of-sheet column is dropped,
                        // so a row never holds more cells than a sheet has columns.
                        if (cell.value.kind != CellValue::Kind::Empty &&
                            column <= kOpenXmlLimits.columns &&
                            (row.cells.empty() || column > row.cells.back().column)) {
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
        const std::int64_t column = ColumnOfReference(scanner_->Attribute("r"), nextColumn);
        if ((onlyColumn_ != 0 && column != onlyColumn_) || column > kOpenXmlLimits.columns) {
            scanner_->SkipElementText();
            return column;
        }
        const QByteArray style = scanner_->Attribute("s");
        value.style = style.isEmpty() ? -1 : style.toInt();
        const QByteArray type = scanner_->Attribute("t");
        QByteArray stored;
        bool hasStored = false;
        for (int depth = scanner_->selfClosing() ? 0 : 1; depth > 0;) {
            switch (scanner_->Next()) {
                case XmlScanner::Token::Start:
                    if (scanner_->name() == "v") {
                        stored = scanner_->ElementText();
                        hasStored = true;
                    } else if (scanner_->name() == "is") {
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
        return column;
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
};

}  // namespace

std::int64_t ColumnOfReference(QByteArrayView reference, std::int64_t otherwise) {
    std::int64_t column = 0;
    for (char character : reference) {
        const char upper = character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
        if (upper < 'A' || upper > 'Z') {
            break;
        }
        column = column * 26 + (upper - 'A' + 1);
        if (column > kOpenXmlLimits.columns) {
            return otherwise;
        }
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
        *strings = ScanSharedStrings(scanner);
    }
    const numformat::DateSystem dates = formats.dates;
    return std::make_unique<StreamingSheet>(
        std::make_unique<OpenXmlRowCursor>(std::move(archive), sheet->second.target,
                                           std::move(strings), dates),
        std::move(formats), kOpenXmlLimits);
}

}  // namespace zarame::workbook
