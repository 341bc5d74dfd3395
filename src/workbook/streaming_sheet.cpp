#include "workbook/streaming_sheet.h"

#include "common/byte_text.h"
#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"

namespace zarame::workbook {
namespace {

// The most bytes a file name holds (NAME_MAX). A displayed text is a name, so a longer one is
// refused at the cell instead of being carried into a path and a log line.
constexpr qsizetype kMaxNameBytes = 255;

// Measured in the bytes the name would reach the system as. Every UTF-16 unit takes one to
// three bytes (an escaped byte one, a surrogate pair four for two units), so only texts of 86 to
// 255 units need to be encoded to tell.
bool TooLongForAName(const QString& text) {
    if (text.size() > kMaxNameBytes) {
        return true;
    }
    return text.size() * 3 > kMaxNameBytes && EncodeBytes(text).size() > kMaxNameBytes;
}

// A1 notation: column 28, row 5 is AB5.
QString CellReference(std::int64_t row, std::int64_t column) {
    QString letters;
    for (std::int64_t rest = column; rest > 0; rest = (rest - 1) / 26) {
        letters.prepend(QChar(u'A' + static_cast<char16_t>((rest - 1) % 26)));
    }
    return letters + QString::number(row);
}

}  // namespace

OverlongCellError::OverlongCellError(std::int64_t row, std::int64_t column)
    : RunTimeError(kWorkbookErrorNumber,
                   QStringLiteral("セル %1 の表示文字列が長すぎて名前に使えません (%2 バイトまで)")
                       .arg(CellReference(row, column))
                       .arg(kMaxNameBytes)) {}

QString DisplayedText(const CellValue& value, const CellFormats& formats) {
    const QString code =
        value.style >= 0 && static_cast<std::size_t>(value.style) < formats.codeOfStyle.size()
            ? formats.codeOfStyle[static_cast<std::size_t>(value.style)]
            : QString();
    const QString effective = code.isEmpty() ? QStringLiteral("General") : code;
    switch (value.kind) {
        case CellValue::Kind::Empty:
            return {};
        case CellValue::Kind::Text:
            return numformat::FormatText(value.text, effective);
        case CellValue::Kind::Number:
            return numformat::FormatNumber(value.number, effective, formats.dates);
        case CellValue::Kind::Boolean:
            return value.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case CellValue::Kind::Error:
            return value.text.left(numformat::kMaxDisplayedLength + 1);
    }
    return {};
}

StreamingSheet::StreamingSheet(std::unique_ptr<RowCursor> cursor, CellFormats formats,
                               SheetLimits limits)
    : cursor_(std::move(cursor)), formats_(std::move(formats)), limits_(limits) {}

QString StreamingSheet::CellText(std::int64_t row, std::int64_t column) {
    if (row < 1 || row > limits_.rows) {
        throw RowOutOfRange(row);
    }
    if (column < 1 || column > limits_.columns) {
        throw ColumnOutOfRange(column);
    }
    if (column_ < 0) {
        column_ = column;
    } else if (column_ != 0 && column_ != column) {
        column_ = 0;  // from now on every column, read again from the top
        Restart();
    }
    if (row < passed_) {
        Restart();
    }
    while (true) {
        if (holding_) {
            if (row < held_.row) {
                return {};  // a row the file leaves out
            }
            if (row - held_.row < held_.count) {
                const CellValue* value = Find(column);
                if (value == nullptr) {
                    return {};
                }
                // The formatter stops one unit past the cap, so a hostile text costs no more.
                QString text = DisplayedText(*value, formats_);
                if (TooLongForAName(text)) {
                    throw OverlongCellError(row, column);
                }
                return text;
            }
            passed_ = held_.row + held_.count;
            holding_ = false;
        }
        if (exhausted_) {
            return {};
        }
        PollStop();  // a sheet may store a million rows between two requested cells
        if (!cursor_->Next(held_, column_) || held_.row > limits_.rows) {
            exhausted_ = true;
            return {};
        }
        // A row that repeats one already passed adds nothing; the first one stands.
        holding_ = held_.row >= passed_ && held_.count > 0;
    }
}

const CellValue* StreamingSheet::Find(std::int64_t column) const {
    for (const CellRun& run : held_.cells) {
        if (column >= run.column && column - run.column < run.count) {
            return &run.value;
        }
    }
    return nullptr;
}

void StreamingSheet::Restart() {
    cursor_->Restart();
    holding_ = false;
    exhausted_ = false;
    passed_ = 1;
}

}  // namespace zarame::workbook
