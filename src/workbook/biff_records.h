#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace zarame::workbook {

class CompoundStream;

// One BIFF record with the bodies of the CONTINUE records that follow it appended; `continues`
// holds where each appended body begins, since a string's characters start afresh there.
struct BiffRecord {
    std::uint16_t type = 0;
    QByteArray data;
    std::vector<qsizetype> continues;
};

// The records of a workbook stream from a given position, read through a buffer.
class BiffRecordReader {
public:
    BiffRecordReader(const CompoundStream& stream, std::int64_t offset);

    // The next record; false at the end of the stream. A record cut short raises.
    bool Next(BiffRecord& record);

private:
    bool Fill(std::int64_t count);

    const CompoundStream& stream_;
    std::int64_t offset_;
    QByteArray buffer_;
    qsizetype position_ = 0;
};

// Reads values from a record's data, following the CONTINUE boundaries inside strings. Reading
// beyond the record raises.
class BiffCursor {
public:
    BiffCursor(const BiffRecord& record, qsizetype position = 0)
        : record_(record), position_(position) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    double F64();
    void Skip(qsizetype count);
    qsizetype position() const { return position_; }
    bool AtEnd() const { return position_ >= record_.data.size(); }

    // An XLUnicodeString (16-bit count) or ShortXLUnicodeString (8-bit count), with rich-text
    // runs and phonetic data skipped when the flags say they follow.
    QString UnicodeString(int countBytes);

private:
    void Need(qsizetype count) const;
    qsizetype NextBoundary() const;

    const BiffRecord& record_;
    qsizetype position_;
};

}  // namespace zarame::workbook
