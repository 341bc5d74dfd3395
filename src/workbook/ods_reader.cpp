#include "workbook/ods_reader.h"

#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"
#include "workbook/xml_part.h"
#include "workbook/zip_archive.h"

namespace zarame::workbook {

namespace {

// OpenDocument sheets are as large as Office Open XML ones in the writers of today.
constexpr SheetLimits kOpenDocumentLimits = kOpenXmlLimits;
// One text:s stands for at most as many spaces as a cell can show.
constexpr std::int64_t kSpaceRunCap = 32767;
constexpr qsizetype kCellTextCap = 1024 * 1024;

// A repeat count: at least 1, at most the size of a sheet, whatever the file says.
std::int64_t RepeatCount(QStringView text, std::int64_t limit) {
    bool valid = false;
    const qint64 count = text.toLongLong(&valid);
    return !valid || count < 1 ? 1 : std::min<std::int64_t>(count, limit);
}

// The name of the table the document opens on, from its view settings; empty when none is given.
QString ActiveTableName(const ZipArchive& archive) {
    const QString name = QStringLiteral("settings.xml");
    if (!archive.Contains(name)) {
        return {};
    }
    XmlPart part(archive.OpenEntry(name, kHeldPartCap));
    while (part.Next() != QXmlStreamReader::EndDocument) {
        if (part.reader().tokenType() == QXmlStreamReader::StartElement &&
            part.Is(XmlNamespace::Config, u"config-item") &&
            Attribute(part.reader().attributes(), XmlNamespace::Config, u"name") ==
                u"ActiveTable") {
            QString table = part.ElementText();
            part.ReadToEnd();
            return table;
        }
    }
    return {};
}

// Appends the text of the element at the reader (a paragraph or something inside one).
void AppendParagraphText(XmlPart& part, QString& text) {
    const int depth = part.depth();
    while (true) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::EndDocument ||
            (token == QXmlStreamReader::EndElement && part.depth() == depth)) {
            return;
        }
        if (token == QXmlStreamReader::Characters) {
            if (text.size() < kCellTextCap) {
                text += part.reader().text().left(kCellTextCap - text.size());
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (part.Is(XmlNamespace::Text, u"s")) {
            const std::int64_t count = RepeatCount(
                Attribute(part.reader().attributes(), XmlNamespace::Text, u"c"), kSpaceRunCap);
            if (text.size() < kCellTextCap) {
                text += QString(static_cast<qsizetype>(count), u' ');
            }
        } else if (part.Is(XmlNamespace::Text, u"tab")) {
            text += u'\t';
        } else if (part.Is(XmlNamespace::Text, u"line-break")) {
            text += u'\n';
        } else if (part.Is(XmlNamespace::Office, u"annotation") ||
                   part.Is(XmlNamespace::Text, u"ruby-text") ||
                   part.Is(XmlNamespace::Text, u"note")) {
            part.SkipElement();  // comments, furigana and notes are not displayed in the cell
        }
        // Spans, links and fields nest their text: the loop reads it as it comes.
    }
}

// The rows of the active table, repeats kept as runs.
class OpenDocumentRowCursor final : public RowCursor {
public:
    OpenDocumentRowCursor(std::shared_ptr<const ZipArchive> archive, QString tableName)
        : archive_(std::move(archive)), tableName_(std::move(tableName)) {}

    void Restart() override {
        part_.reset();
        done_ = false;
        nextRow_ = 1;
    }

    void ReadToEnd() override {
        if (part_ && !done_) {
            Finish();
        }
    }

    bool Next(SheetRow& row, std::int64_t onlyColumn) override {
        if (!part_) {
            Start();
        }
        if (done_ || nextRow_ > kOpenDocumentLimits.rows ||
            !part_->NextStartBelow(tableDepth_, XmlNamespace::Table, u"table-row")) {
            Finish();
            return false;
        }
        QXmlStreamReader& reader = part_->reader();
        row.row = nextRow_;
        row.count = RepeatCount(
            Attribute(reader.attributes(), XmlNamespace::Table, u"number-rows-repeated"),
            kOpenDocumentLimits.rows);
        nextRow_ += row.count;
        row.cells.clear();
        const int rowDepth = part_->depth();
        std::int64_t column = 1;
        while (part_->Next() != QXmlStreamReader::EndDocument) {
            const QXmlStreamReader::TokenType token = reader.tokenType();
            if (token == QXmlStreamReader::EndElement && part_->depth() == rowDepth) {
                break;
            }
            if (token != QXmlStreamReader::StartElement) {
                continue;
            }
            // A covered cell (under a merged one) takes its column like any other.
            if (!part_->Is(XmlNamespace::Table, u"table-cell") &&
                !part_->Is(XmlNamespace::Table, u"covered-table-cell")) {
                part_->SkipElement();
                continue;
            }
            const std::int64_t repeat = RepeatCount(
                Attribute(reader.attributes(), XmlNamespace::Table, u"number-columns-repeated"),
                kOpenDocumentLimits.columns);
            // Only the asked column's text is built: a row may hold thousands of long cells.
            const bool wanted =
                column <= kOpenDocumentLimits.columns &&
                (onlyColumn == 0 || (column <= onlyColumn && onlyColumn - column < repeat));
            if (wanted) {
                CellRun cell;
                cell.column = column;
                cell.count = repeat;
                cell.value.text = CellText();
                if (!cell.value.text.isEmpty()) {
                    cell.value.kind = CellValue::Kind::Text;
                    row.cells.push_back(std::move(cell));
                }
            } else {
                part_->SkipElement();
            }
            column += repeat;
        }
        return true;
    }

private:
    void Start() {
        part_ = std::make_unique<XmlPart>(
            archive_->OpenEntry(QStringLiteral("content.xml"), kStreamedPartCap));
        while (part_->Next() != QXmlStreamReader::EndDocument) {
            QXmlStreamReader& reader = part_->reader();
            if (reader.tokenType() != QXmlStreamReader::StartElement ||
                !part_->Is(XmlNamespace::Table, u"table")) {
                continue;
            }
            const QString name =
                Attribute(reader.attributes(), XmlNamespace::Table, u"name").toString();
            if (tableName_.isEmpty() || name == tableName_) {
                tableDepth_ = part_->depth();
                return;
            }
            part_->SkipElement();
        }
        if (!tableName_.isEmpty()) {
            tableName_.clear();  // the settings name a table that is not there: the first one
            Start();
            return;
        }
        done_ = true;
    }

    // The walk is over: the rest of the part is read only for its checksum.
    void Finish() {
        done_ = true;
        part_->ReadToEnd();
    }

    // The displayed text of the cell at the reader: its paragraphs joined by line feeds.
    QString CellText() {
        const QXmlStreamAttributes attributes = part_->reader().attributes();
        const int cellDepth = part_->depth();
        QString text;
        bool paragraphs = false;
        while (part_->Next() != QXmlStreamReader::EndDocument) {
            QXmlStreamReader& reader = part_->reader();
            if (reader.tokenType() == QXmlStreamReader::EndElement && part_->depth() == cellDepth) {
                break;
            }
            if (reader.tokenType() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (part_->Is(XmlNamespace::Text, u"p") || part_->Is(XmlNamespace::Text, u"h")) {
                if (paragraphs) {
                    text += u'\n';
                }
                paragraphs = true;
                AppendParagraphText(*part_, text);
            } else {
                part_->SkipElement();  // annotations, drawings, nested tables
            }
        }
        if (!paragraphs) {
            // A writer that leaves out the paragraph still gives the value.
            const QStringView value = Attribute(attributes, XmlNamespace::Office, u"string-value");
            return value.isEmpty()
                       ? Attribute(attributes, XmlNamespace::Office, u"value").toString()
                       : value.toString();
        }
        return text;
    }

    std::shared_ptr<const ZipArchive> archive_;
    QString tableName_;
    std::unique_ptr<XmlPart> part_;
    int tableDepth_ = 0;
    bool done_ = false;
    std::int64_t nextRow_ = 1;
};

}  // namespace

std::unique_ptr<StreamingSheet> OpenDocumentActiveSheet(std::shared_ptr<const ZipArchive> archive) {
    if (!archive->Contains(QStringLiteral("content.xml"))) {
        return nullptr;
    }
    if (std::optional<QByteArray> mimeType = archive->ReadWhole(QStringLiteral("mimetype"), 4096)) {
        if (mimeType->trimmed() != "application/vnd.oasis.opendocument.spreadsheet") {
            return nullptr;
        }
    }
    QString tableName = ActiveTableName(*archive);
    return std::make_unique<StreamingSheet>(
        std::make_unique<OpenDocumentRowCursor>(std::move(archive), std::move(tableName)),
        CellFormats{}, kOpenDocumentLimits);
}

}  // namespace zarame::workbook
