#include "workbook/csv_reader.h"

#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

namespace {

constexpr std::int64_t kReadPiece = 64 * 1024;
// A record longer than this is not a name list but an unclosed quote or a hostile file.
constexpr qsizetype kRecordCap = 16 * 1024 * 1024;

}  // namespace

CsvRowCursor::CsvRowCursor(const WorkbookFile& file, FieldSeparator separator)
    : file_(file), separator_(static_cast<char16_t>(separator)) {}

void CsvRowCursor::Restart() {
    buffer_.clear();
    position_ = 0;
    offset_ = textStart_;
    row_ = 0;
}

void CsvRowCursor::Start() {
    const QByteArray head = file_.ReadAt(0, 3);
    if (const std::optional<ByteOrderMark> mark = ByteOrderMarkOf(head)) {
        encoding_ = mark->encoding;
        textStart_ = mark->length;
    } else {
        EncodingDecision decision;
        for (std::int64_t at = 0; !decision.settled(); at += kReadPiece) {
            const QByteArray piece = file_.ReadAt(at, kReadPiece);
            if (piece.isEmpty()) {
                break;
            }
            decision.Feed(piece);
            PollStop();
        }
        encoding_ = decision.Whole();
    }
    offset_ = textStart_;
}

int CsvRowCursor::NextUnit() {
    const qsizetype unit =
        encoding_ == TextEncoding::Utf16LittleEndian || encoding_ == TextEncoding::Utf16BigEndian
            ? 2
            : 1;
    if (position_ + unit > buffer_.size()) {
        buffer_ = buffer_.mid(position_) + file_.ReadAt(offset_, kReadPiece);
        offset_ += kReadPiece;
        position_ = 0;
        if (buffer_.size() < unit) {
            return -1;  // a lone last byte of UTF-16 is dropped
        }
    }
    const auto byte = [this](qsizetype at) { return static_cast<unsigned char>(buffer_[at]); };
    int value = byte(position_);
    if (encoding_ == TextEncoding::Utf16LittleEndian) {
        value |= byte(position_ + 1) << 8;
    } else if (encoding_ == TextEncoding::Utf16BigEndian) {
        value = value << 8 | byte(position_ + 1);
    }
    position_ += unit;
    return value;
}

QString CsvRowCursor::Decode(const QByteArray& raw) {
    if (std::optional<QString> text = DecodeText(raw, *encoding_)) {
        return *std::move(text);
    }
    throw DamagedWorkbook(QStringLiteral("%1 行目の文字コード").arg(row_));
}

bool CsvRowCursor::Next(SheetRow& row, std::int64_t) {
    if (!encoding_) {
        Start();
    }
    int unit = NextUnit();
    if (unit < 0) {
        return false;
    }
    row.row = ++row_;
    row.count = 1;
    row.cells.clear();
    // Fields are collected as raw code units and decoded once the record is complete.
    std::vector<QByteArray> fields(1);
    const bool wide =
        encoding_ == TextEncoding::Utf16LittleEndian || encoding_ == TextEncoding::Utf16BigEndian;
    // Fields beyond the last column of a sheet are read past, not kept.
    QByteArray beyondSheet;
    const auto field = [&]() -> QByteArray& {
        return fields.size() <= static_cast<std::size_t>(kOpenXmlLimits.columns) ? fields.back()
                                                                                 : beyondSheet;
    };
    const auto append = [&](int value) {
        if (wide) {
            const char16_t code = static_cast<char16_t>(value);
            field().append(reinterpret_cast<const char*>(&code), 2);
        } else {
            field().append(static_cast<char>(value));
        }
    };
    qsizetype recordSize = 0;
    bool quoted = false;
    for (; unit >= 0; unit = NextUnit()) {
        if (++recordSize > kRecordCap) {
            throw DamagedWorkbook(QStringLiteral("%1 行目が長すぎます").arg(row_));
        }
        if (quoted) {
            if (unit != u'"') {
                append(unit);
                continue;
            }
            const qsizetype mark = position_;
            const std::int64_t markOffset = offset_;
            const QByteArray markBuffer = buffer_;
            const int following = NextUnit();
            if (following == u'"') {
                append(u'"');
                continue;
            }
            quoted = false;
            // Step back to what follows the closing quote.
            buffer_ = markBuffer;
            offset_ = markOffset;
            position_ = mark;
            continue;
        }
        if (unit == u'"' && field().isEmpty()) {
            quoted = true;
        } else if (unit == separator_) {
            if (fields.size() <= static_cast<std::size_t>(kOpenXmlLimits.columns)) {
                fields.emplace_back();
            }
            beyondSheet.clear();
        } else if (unit == u'\n') {
            break;
        } else if (unit == u'\r') {
            const qsizetype mark = position_;
            const std::int64_t markOffset = offset_;
            const QByteArray markBuffer = buffer_;
            if (NextUnit() != u'\n') {
                buffer_ = markBuffer;
                offset_ = markOffset;
                position_ = mark;
            }
            break;
        } else {
            append(unit);
        }
    }
    std::int64_t column = 0;
    for (const QByteArray& field : fields) {
        ++column;
        if (field.isEmpty() || column > kOpenXmlLimits.columns) {
            continue;
        }
        CellRun cell;
        cell.column = column;
        cell.value.kind = CellValue::Kind::Text;
        cell.value.text = Decode(field);
        row.cells.push_back(std::move(cell));
    }
    return true;
}

}  // namespace zarame::workbook
