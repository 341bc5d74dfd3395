#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

#include "common/text_encoding.h"
#include "workbook/sheet_rows.h"

namespace zarame::workbook {

class WorkbookFile;

enum class FieldSeparator : char { Comma = ',', Tab = '\t' };

// The one sheet of a comma- or tab-separated file: one row per record, fields exactly as written
// (no number conversion), quoted as RFC 4180 has it, so a quoted field may hold separators, line
// breaks and doubled quotes. The text is read as the text-file source reads it: a byte-order mark
// chooses UTF-8 or UTF-16; otherwise the whole file is UTF-8 when all of it is valid UTF-8, else
// Shift_JIS (CP932).
class CsvRowCursor final : public RowCursor {
public:
    CsvRowCursor(const WorkbookFile& file, FieldSeparator separator);

    bool Next(SheetRow& row, std::int64_t) override;
    void Restart() override;

private:
    void Start();
    int NextUnit();  // the next code unit, -1 at the end of the file
    QString Decode(const QByteArray& raw);

    const WorkbookFile& file_;
    char16_t separator_;
    // Decided once, at the first row: the start of the text (after any byte-order mark) and its
    // encoding.
    std::optional<TextEncoding> encoding_;
    std::int64_t textStart_ = 0;
    QByteArray buffer_;
    qsizetype position_ = 0;
    std::int64_t offset_ = 0;
    std::int64_t row_ = 0;
};

}  // namespace zarame::workbook
