#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <vector>

namespace zarame::workbook {

class CodePage;
class CompoundStream;

// One BIFF record. The few records whose body may run on into CONTINUE records (the shared
// strings, a formula's text and a text cell) carry those bodies appended; `continues` holds where
// each appended body begins, since a string's characters start afresh there. After any other
// record a CONTINUE stays a record of its own, which the readers pass over: a record joined with
// thousands of CONTINUE records is a way to make one cell cost minutes.
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
    explicit BiffCursor(const BiffRecord& record, qsizetype position = 0);

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
    // A string of an Excel 5.0/95 book: a byte count, then the bytes in the book's code page.
    QString ByteString(int countBytes, const CodePage& codePage);

private:
    void Need(qsizetype count) const;
    bool AtBoundary();
    qsizetype NextBoundary();

    const BiffRecord& record_;
    qsizetype position_;
    std::size_t boundary_;  // the first CONTINUE boundary not behind the position
};

// The code page of the 8-bit strings of an Excel 5.0/95 book, by the number its CODEPAGE record
// gives (1252 when it has none). A number Qt cannot decode is read as 1252.
class CodePage {
public:
    explicit CodePage(int number = 1252);
    QString Decode(QByteArrayView bytes) const;
    // UTF-16 (1200): two bytes a character, so a count of characters is twice as many bytes.
    bool wide() const { return wide_; }

private:
    mutable QStringDecoder decoder_;
    bool wide_ = false;
};

}  // namespace zarame::workbook
