#include "workbook/biff_reader.h"

#include <cmath>
#include <cstring>
#include <map>

#include "numformat/cell_format.h"
#include "workbook/biff_records.h"
#include "workbook/compound_file.h"
#include "workbook/read_stop.h"
#include "workbook/shared_strings.h"
#include "workbook/streaming_sheet.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

namespace {

enum RecordType : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kWindow1 = 0x003D,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kXf = 0x00E0,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

// Excel 97 and later write BIFF8 into the `Workbook` stream; Excel 5.0 and 95 wrote BIFF5 (BIFF7
// differs from it in nothing read here) into `Book`, with 8-bit strings in the book's code page.
enum class BiffVersion { Biff5 = 0x0500, Biff8 = 0x0600 };

// Reads the strings of a book the way its version stores them.
class BookText {
public:
    explicit BookText(BiffVersion version, int codePage = 1252)
        : version_(version), codePage_(codePage) {}
    QString Read(BiffCursor& cursor, int countBytes) const {
        return version_ == BiffVersion::Biff8 ? cursor.UnicodeString(countBytes)
                                              : cursor.ByteString(countBytes, codePage_);
    }

private:
    BiffVersion version_;
    CodePage codePage_;
};

struct Globals {
    BiffVersion version = BiffVersion::Biff8;
    int codePage = 1252;                      // what a book without a CODEPAGE record is written in
    std::vector<std::uint32_t> sheetOffsets;  // every sheet's BOF, charts included, in tab order
    std::int64_t activeTab = 0;
    CellFormats formats;
    SharedStrings strings;
};

QString ErrorText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return QStringLiteral("#NULL!");
        case 0x07:
            return QStringLiteral("#DIV/0!");
        case 0x0F:
            return QStringLiteral("#VALUE!");
        case 0x17:
            return QStringLiteral("#REF!");
        case 0x1D:
            return QStringLiteral("#NAME?");
        case 0x24:
            return QStringLiteral("#NUM!");
        case 0x2A:
            return QStringLiteral("#N/A");
        default:
            return QStringLiteral("#GETTING_DATA");
    }
}

double RkValue(std::uint32_t rk) {
    double value;
    if ((rk & 0x02) != 0) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) != 0 ? value / 100 : value;
}

BiffVersion ReadVersion(BiffRecordReader& reader, const QString& path) {
    BiffRecord record;
    if (reader.Next(record) && record.type == kBof) {
        const std::uint16_t version = BiffCursor(record).U16();
        if (version == static_cast<std::uint16_t>(BiffVersion::Biff8) ||
            version == static_cast<std::uint16_t>(BiffVersion::Biff5)) {
            return static_cast<BiffVersion>(version);
        }
    }
    throw NotAWorkbook(path);  // no workbook at all
}

void ReadSharedStrings(BiffCursor& cursor, SharedStrings& strings) {
    cursor.Skip(4);
    const std::uint32_t unique = cursor.U32();
    for (std::uint32_t index = 0; index < unique && !cursor.AtEnd(); ++index) {
        PollStop();
        strings.Append(cursor.UnicodeString(2));
    }
}

Globals ReadGlobals(const CompoundStream& stream, const QString& path) {
    Globals globals;
    globals.strings = SharedStrings(path);  // an over-sized table names its book
    BiffRecordReader reader(stream, 0);
    globals.version = ReadVersion(reader, path);
    std::unique_ptr<BookText> text = std::make_unique<BookText>(globals.version);
    std::map<int, QString> explicitCodes;
    std::vector<int> formatIds;
    bool windowSeen = false;
    bool dates1904 = false;
    BiffRecord record;
    while (reader.Next(record) && record.type != kEof) {
        BiffCursor cursor(record);
        switch (record.type) {
            case kFilePass:
                throw EncryptedWorkbook(path);
            case kCodePage:
                globals.codePage = cursor.U16();
                text = std::make_unique<BookText>(globals.version, globals.codePage);
                break;
            case kDateMode:
                dates1904 = cursor.U16() != 0;
                break;
            case kWindow1:
                if (!windowSeen) {
                    windowSeen = true;
                    cursor.Skip(10);
                    globals.activeTab = cursor.U16();
                }
                break;
            case kFormat: {
                const int id = cursor.U16();
                explicitCodes[id] =
                    text->Read(cursor, globals.version == BiffVersion::Biff8 ? 2 : 1);
                break;
            }
            case kXf:
                cursor.Skip(2);
                formatIds.push_back(cursor.U16());
                break;
            case kBoundSheet:
                globals.sheetOffsets.push_back(cursor.U32());
                break;
            case kSst:
                ReadSharedStrings(cursor, globals.strings);
                break;
            default:
                break;
        }
    }
    globals.formats.dates =
        dates1904 ? numformat::DateSystem::Date1904 : numformat::DateSystem::Date1900;
    for (int id : formatIds) {
        const auto found = explicitCodes.find(id);
        globals.formats.codeOfStyle.push_back(
            found != explicitCodes.end() ? found->second : numformat::BuiltInFormatCode(id));
    }
    return globals;
}

// The cell records of one sheet substream, gathered into rows. Only the asked column is kept
// when one is asked for, so a row of 65,536 cells costs one cell.
class BiffRowCursor final : public RowCursor {
public:
    BiffRowCursor(std::unique_ptr<CompoundStream> stream, std::int64_t offset,
                  std::shared_ptr<const SharedStrings> strings, BookText text)
        : stream_(std::move(stream)),
          offset_(offset),
          strings_(std::move(strings)),
          text_(std::move(text)) {
        Restart();
    }

    void Restart() override {
        reader_ = std::make_unique<BiffRecordReader>(*stream_, offset_);
        depth_ = 0;
        done_ = false;
        pending_.reset();
        multiple_.clear();
        multipleNext_ = 0;
    }

    bool Next(SheetRow& row, std::int64_t onlyColumn) override {
        onlyColumn_ = onlyColumn;
        row.cells.clear();
        row.count = 1;
        bool seen = false;
        if (pending_) {
            seen = true;
            row.row = pending_->first;
            Keep(row, std::move(pending_->second));
            pending_.reset();
        }
        std::int64_t cellRow = 0;
        CellRun cell;
        while (!done_ && NextCell(cellRow, cell)) {
            if (!seen) {
                seen = true;
                row.row = cellRow;
            } else if (cellRow != row.row) {
                pending_.emplace(cellRow, std::move(cell));
                return true;
            }
            Keep(row, std::move(cell));
            cell = CellRun();
        }
        return seen;
    }

private:
    // Cells come left to right; a repeated column is dropped, so a row never holds more cells
    // than a sheet has columns. A cell of a column not asked for only marks its row.
    void Keep(SheetRow& row, CellRun&& cell) const {
        if (Wanted(cell.column) && (row.cells.empty() || cell.column > row.cells.back().column)) {
            row.cells.push_back(std::move(cell));
        }
    }

    bool Wanted(std::int64_t column) const { return onlyColumn_ == 0 || column == onlyColumn_; }

    // The next cell of the sheet (its row through `cellRow`); false at the sheet's end.
    bool NextCell(std::int64_t& cellRow, CellRun& cell) {
        BiffRecord& record = record_;
        while (true) {
            if (multipleNext_ < multiple_.size()) {
                cellRow = multipleRow_;
                cell = std::move(multiple_[multipleNext_++]);
                return true;
            }
            if (!reader_->Next(record)) {
                done_ = true;
                return false;
            }
            if (record.type == kBof) {
                ++depth_;  // the sheet's own BOF, then those of embedded charts
                continue;
            }
            if (record.type == kEof && --depth_ <= 0) {
                done_ = true;
                return false;
            }
            if (depth_ != 1) {
                continue;
            }
            if (ReadCell(record, cellRow, cell)) {
                return true;
            }
        }
    }

    // Reads the cell a record holds; false for records that hold none. The value is read only
    // for a column asked for.
    bool ReadCell(const BiffRecord& record, std::int64_t& cellRow, CellRun& cell) {
        BiffCursor cursor(record);
        switch (record.type) {
            case kLabelSst:
            case kLabel:
            case kRString:
            case kNumber:
            case kRk:
            case kBoolErr:
            case kFormula:
                cellRow = cursor.U16() + 1;
                cell.column = cursor.U16() + 1;
                cell.value.style = cursor.U16();
                return !Wanted(cell.column) || ReadValue(record.type, cursor, cell.value);
            case kMulRk:
                ReadMultiple(record, cursor);
                return false;  // handed out by NextCell
            default:
                return false;
        }
    }

    bool ReadValue(std::uint16_t type, BiffCursor& cursor, CellValue& value) {
        switch (type) {
            case kLabelSst:
                value.kind = CellValue::Kind::Text;
                value.text = strings_->At(cursor.U32());
                return true;
            case kLabel:
            case kRString:  // the rich-text runs after the text are left out
                value.kind = CellValue::Kind::Text;
                value.text = text_.Read(cursor, 2);
                return true;
            case kNumber:
                value.kind = CellValue::Kind::Number;
                value.number = cursor.F64();
                return true;
            case kRk:
                value.kind = CellValue::Kind::Number;
                value.number = RkValue(cursor.U32());
                return true;
            case kBoolErr: {
                const std::uint8_t code = cursor.U8();
                const bool error = cursor.U8() != 0;
                value.kind = error ? CellValue::Kind::Error : CellValue::Kind::Boolean;
                value.text = error ? ErrorText(code) : QString();
                value.number = code != 0 ? 1 : 0;
                return true;
            }
            case kFormula:
                ReadFormula(cursor, value);
                return true;
            default:
                return false;
        }
    }

    // A row of RK numbers: six bytes per cell, then the last column.
    void ReadMultiple(const BiffRecord& record, BiffCursor& cursor) {
        multiple_.clear();
        multipleNext_ = 0;
        multipleRow_ = cursor.U16() + 1;
        const std::int64_t first = cursor.U16() + 1;
        const qsizetype count = (record.data.size() - 6) / 6;
        for (qsizetype index = 0; index < count; ++index) {
            if (!Wanted(first + index)) {
                continue;
            }
            BiffCursor at(record, 4 + 6 * index);
            CellRun each;
            each.column = first + index;
            each.value.style = at.U16();
            each.value.kind = CellValue::Kind::Number;
            each.value.number = RkValue(at.U32());
            multiple_.push_back(std::move(each));
        }
        if (multiple_.empty() && count > 0) {
            multiple_.emplace_back().column = 0;  // no column asked for, but the row is there
        }
    }

    // A formula's cached result; a text result follows in a STRING record. An empty text shows
    // nothing.
    void ReadFormula(BiffCursor& cursor, CellValue& value) {
        const qsizetype resultAt = cursor.position();
        const QByteArray& data = record_.data;
        cursor.Skip(8);
        if (static_cast<unsigned char>(data[resultAt + 6]) != 0xFF ||
            static_cast<unsigned char>(data[resultAt + 7]) != 0xFF) {
            value.kind = CellValue::Kind::Number;
            value.number = BiffCursor(record_, resultAt).F64();
            return;
        }
        const std::uint8_t kind = static_cast<std::uint8_t>(data[resultAt]);
        const std::uint8_t detail = static_cast<std::uint8_t>(data[resultAt + 2]);
        switch (kind) {
            case 0: {
                BiffRecord text;
                while (reader_->Next(text) && text.type != kString) {
                    if (text.type == kEof) {
                        throw DamagedWorkbook(QStringLiteral("数式の文字列がありません"));
                    }
                }
                BiffCursor textCursor(text);
                value.kind = CellValue::Kind::Text;
                value.text = text_.Read(textCursor, 2);
                return;
            }
            case 1:
                value.kind = CellValue::Kind::Boolean;
                value.number = detail != 0 ? 1 : 0;
                return;
            case 2:
                value.kind = CellValue::Kind::Error;
                value.text = ErrorText(detail);
                return;
            default:
                return;
        }
    }

    std::unique_ptr<CompoundStream> stream_;
    std::int64_t offset_;
    std::shared_ptr<const SharedStrings> strings_;
    BookText text_;
    std::unique_ptr<BiffRecordReader> reader_;
    BiffRecord record_;
    int depth_ = 0;
    bool done_ = false;
    std::int64_t onlyColumn_ = 0;
    std::optional<std::pair<std::int64_t, CellRun>> pending_;
    std::vector<CellRun> multiple_;  // the cells of a MULRK still to hand out, from multipleNext_
    std::size_t multipleNext_ = 0;
    std::int64_t multipleRow_ = 0;
};

}  // namespace

std::unique_ptr<StreamingSheet> LegacyActiveSheet(const WorkbookFile& file) {
    const CompoundFile container(file);
    if (container.HasStream(QStringLiteral("EncryptionInfo")) ||
        container.HasStream(QStringLiteral("EncryptedPackage"))) {
        throw EncryptedWorkbook(file.path());  // a protected .xlsx wrapped in a compound file
    }
    // A book saved for both Excel 97 and Excel 95 holds both streams; the newer one is complete.
    std::unique_ptr<CompoundStream> stream;
    for (const QString& name : {QStringLiteral("Workbook"), QStringLiteral("Book")}) {
        if (!stream && container.HasStream(name)) {
            stream = container.OpenStream(name);
        }
    }
    if (!stream) {
        throw NoWorkbookStream(file.path());
    }
    Globals globals = ReadGlobals(*stream, file.path());
    if (globals.sheetOffsets.empty()) {
        throw DamagedWorkbook(QStringLiteral("シートがありません"));
    }
    const std::size_t active =
        globals.activeTab >= 0 &&
                static_cast<std::size_t>(globals.activeTab) < globals.sheetOffsets.size()
            ? static_cast<std::size_t>(globals.activeTab)
            : 0;
    auto strings = std::make_shared<const SharedStrings>(std::move(globals.strings));
    return std::make_unique<StreamingSheet>(
        std::make_unique<BiffRowCursor>(std::move(stream), globals.sheetOffsets[active],
                                        std::move(strings),
                                        BookText(globals.version, globals.codePage)),
        std::move(globals.formats), kBiff8Limits);
}

}  // namespace zarame::workbook
