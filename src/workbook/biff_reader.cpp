#include "workbook/biff_reader.h"

#include <cmath>
#include <cstring>
#include <map>

#include "numformat/cell_format.h"
#include "workbook/biff_records.h"
#include "workbook/compound_file.h"
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
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
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

constexpr std::uint16_t kBiff8 = 0x0600;

struct Globals {
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

Globals ReadGlobals(const CompoundStream& stream, const QString& path) {
    Globals globals;
    BiffRecordReader reader(stream, 0);
    BiffRecord record;
    if (!reader.Next(record) || record.type != kBof || BiffCursor(record).U16() != kBiff8) {
        throw NotAWorkbook(path);  // an older BIFF version or no workbook at all
    }
    std::map<int, QString> explicitCodes;
    std::vector<int> formatIds;
    bool windowSeen = false;
    bool dates1904 = false;
    while (reader.Next(record) && record.type != kEof) {
        BiffCursor cursor(record);
        switch (record.type) {
            case kFilePass:
                throw EncryptedWorkbook(path);
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
                explicitCodes[id] = cursor.UnicodeString(2);
                break;
            }
            case kXf:
                cursor.Skip(2);
                formatIds.push_back(cursor.U16());
                break;
            case kBoundSheet:
                globals.sheetOffsets.push_back(cursor.U32());
                break;
            case kSst: {
                cursor.Skip(4);
                const std::uint32_t unique = cursor.U32();
                for (std::uint32_t index = 0; index < unique && !cursor.AtEnd(); ++index) {
                    globals.strings.Append(cursor.UnicodeString(2));
                }
                break;
            }
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

// The cell records of one sheet substream, gathered into rows.
class BiffRowCursor final : public RowCursor {
public:
    BiffRowCursor(std::unique_ptr<CompoundStream> stream, std::int64_t offset,
                  std::shared_ptr<const SharedStrings> strings)
        : stream_(std::move(stream)), offset_(offset), strings_(std::move(strings)) {
        Restart();
    }

    void Restart() override {
        reader_ = std::make_unique<BiffRecordReader>(*stream_, offset_);
        depth_ = 0;
        done_ = false;
        pending_.reset();
    }

    bool Next(SheetRow& row, std::int64_t) override {
        row.cells.clear();
        row.count = 1;
        if (pending_) {
            row.row = pending_->first;
            row.cells.push_back(std::move(pending_->second));
            pending_.reset();
        }
        std::int64_t cellRow = 0;
        CellRun cell;
        while (!done_ && NextCell(cellRow, cell)) {
            if (row.cells.empty()) {
                row.row = cellRow;
            } else if (cellRow != row.row) {
                pending_.emplace(cellRow, std::move(cell));
                return true;
            }
            // Cells come left to right; a repeated column is dropped, so a row never holds more
            // cells than a sheet has columns.
            if (row.cells.empty() || cell.column > row.cells.back().column) {
                row.cells.push_back(std::move(cell));
            }
            cell = CellRun();
        }
        return !row.cells.empty();
    }

private:
    // The next cell of the sheet (its row through `cellRow`); false at the sheet's end.
    bool NextCell(std::int64_t& cellRow, CellRun& cell) {
        BiffRecord& record = record_;
        while (true) {
            if (!multiple_.empty()) {
                cellRow = multipleRow_;
                cell = std::move(multiple_.back());
                multiple_.pop_back();
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

    bool ReadCell(const BiffRecord& record, std::int64_t& cellRow, CellRun& cell) {
        const auto header = [&](BiffCursor& cursor) {
            cellRow = cursor.U16() + 1;
            cell.column = cursor.U16() + 1;
            cell.value.style = cursor.U16();
        };
        BiffCursor cursor(record);
        CellValue& value = cell.value;
        switch (record.type) {
            case kLabelSst:
                header(cursor);
                value.kind = CellValue::Kind::Text;
                value.text = strings_->At(cursor.U32());
                return true;
            case kLabel:
                header(cursor);
                value.kind = CellValue::Kind::Text;
                value.text = cursor.UnicodeString(2);
                return true;
            case kNumber:
                header(cursor);
                value.kind = CellValue::Kind::Number;
                value.number = cursor.F64();
                return true;
            case kRk:
                header(cursor);
                value.kind = CellValue::Kind::Number;
                value.number = RkValue(cursor.U32());
                return true;
            case kBoolErr: {
                header(cursor);
                const std::uint8_t code = cursor.U8();
                const bool error = cursor.U8() != 0;
                value.kind = error ? CellValue::Kind::Error : CellValue::Kind::Boolean;
                value.text = error ? ErrorText(code) : QString();
                value.number = code != 0 ? 1 : 0;
                return true;
            }
            case kMulRk: {
                const std::int64_t row = cursor.U16() + 1;
                const std::int64_t first = cursor.U16() + 1;
                // Six bytes per cell, then the last column.
                const qsizetype count = (record.data.size() - 6) / 6;
                for (qsizetype index = 0; index < count; ++index) {
                    CellRun each;
                    each.column = first + index;
                    each.value.style = cursor.U16();
                    each.value.kind = CellValue::Kind::Number;
                    each.value.number = RkValue(cursor.U32());
                    multiple_.insert(multiple_.begin(), std::move(each));
                }
                multipleRow_ = row;
                return false;  // handed out by NextCell
            }
            case kFormula:
                header(cursor);
                return ReadFormula(cursor, value);
            default:
                return false;
        }
    }

    // A formula's cached result; a text result follows in a STRING record.
    bool ReadFormula(BiffCursor& cursor, CellValue& value) {
        const qsizetype resultAt = cursor.position();
        const QByteArray& data = record_.data;
        cursor.Skip(8);
        if (static_cast<unsigned char>(data[resultAt + 6]) != 0xFF ||
            static_cast<unsigned char>(data[resultAt + 7]) != 0xFF) {
            value.kind = CellValue::Kind::Number;
            value.number = BiffCursor(record_, resultAt).F64();
            return true;
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
                value.kind = CellValue::Kind::Text;
                value.text = BiffCursor(text).UnicodeString(2);
                return true;
            }
            case 1:
                value.kind = CellValue::Kind::Boolean;
                value.number = detail != 0 ? 1 : 0;
                return true;
            case 2:
                value.kind = CellValue::Kind::Error;
                value.text = ErrorText(detail);
                return true;
            default:
                return false;  // an empty text: nothing shown
        }
    }

    std::unique_ptr<CompoundStream> stream_;
    std::int64_t offset_;
    std::shared_ptr<const SharedStrings> strings_;
    std::unique_ptr<BiffRecordReader> reader_;
    BiffRecord record_;
    int depth_ = 0;
    bool done_ = false;
    std::optional<std::pair<std::int64_t, CellRun>> pending_;
    std::vector<CellRun> multiple_;  // the rest of a MULRK, last cell first
    std::int64_t multipleRow_ = 0;
};

}  // namespace

std::unique_ptr<StreamingSheet> LegacyActiveSheet(const WorkbookFile& file) {
    const CompoundFile container(file);
    if (container.HasStream(QStringLiteral("EncryptionInfo")) ||
        container.HasStream(QStringLiteral("EncryptedPackage"))) {
        throw EncryptedWorkbook(file.path());
    }
    if (!container.HasStream(QStringLiteral("Workbook"))) {
        throw NotAWorkbook(file.path());
    }
    std::unique_ptr<CompoundStream> stream = container.OpenStream(QStringLiteral("Workbook"));
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
                                        std::move(strings)),
        std::move(globals.formats), kBiff8Limits);
}

}  // namespace zarame::workbook
