#include "workbook/biff_records.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "workbook/compound_file.h"
#include "workbook/workbook_error.h"

namespace zarame::workbook {

namespace {

constexpr std::uint16_t kContinue = 0x003C;
constexpr std::int64_t kReadPiece = 64 * 1024;

[[noreturn]] void Truncated() {
    throw DamagedWorkbook(QStringLiteral("レコードが途中で切れています"));
}

}  // namespace

BiffRecordReader::BiffRecordReader(const CompoundStream& stream, std::int64_t offset)
    : stream_(stream), offset_(offset) {}

bool BiffRecordReader::Fill(std::int64_t count) {
    while (buffer_.size() - position_ < count) {
        const QByteArray piece = stream_.ReadAt(offset_, kReadPiece);
        if (piece.isEmpty()) {
            return false;
        }
        buffer_ = buffer_.mid(position_) + piece;
        position_ = 0;
        offset_ += piece.size();
    }
    return true;
}

bool BiffRecordReader::Next(BiffRecord& record) {
    if (!Fill(4)) {
        if (buffer_.size() != position_) {
            Truncated();
        }
        return false;
    }
    record.continues.clear();
    record.data.clear();
    bool first = true;
    while (true) {
        const std::uint16_t type =
            qFromLittleEndian<std::uint16_t>(buffer_.constData() + position_);
        const std::uint16_t length =
            qFromLittleEndian<std::uint16_t>(buffer_.constData() + position_ + 2);
        if (!first && type != kContinue) {
            return true;
        }
        if (!Fill(4 + length)) {
            Truncated();
        }
        if (first) {
            record.type = type;
        } else {
            record.continues.push_back(record.data.size());
        }
        record.data.append(buffer_.constData() + position_ + 4, length);
        position_ += 4 + length;
        first = false;
        if (!Fill(4)) {
            return true;
        }
    }
}

void BiffCursor::Need(qsizetype count) const {
    if (count < 0 || record_.data.size() - position_ < count) {
        Truncated();
    }
}

std::uint8_t BiffCursor::U8() {
    Need(1);
    return static_cast<std::uint8_t>(record_.data[position_++]);
}

std::uint16_t BiffCursor::U16() {
    Need(2);
    const auto value = qFromLittleEndian<std::uint16_t>(record_.data.constData() + position_);
    position_ += 2;
    return value;
}

std::uint32_t BiffCursor::U32() {
    Need(4);
    const auto value = qFromLittleEndian<std::uint32_t>(record_.data.constData() + position_);
    position_ += 4;
    return value;
}

double BiffCursor::F64() {
    Need(8);
    const quint64 bits = qFromLittleEndian<quint64>(record_.data.constData() + position_);
    position_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void BiffCursor::Skip(qsizetype count) {
    Need(count);
    position_ += count;
}

qsizetype BiffCursor::NextBoundary() const {
    for (qsizetype boundary : record_.continues) {
        if (boundary > position_) {
            return boundary;
        }
    }
    return record_.data.size();
}

QString BiffCursor::UnicodeString(int countBytes) {
    qsizetype remaining = countBytes == 1 ? U8() : U16();
    const std::uint8_t flags = U8();
    bool wide = (flags & 0x01) != 0;
    const qsizetype runs = (flags & 0x08) != 0 ? U16() : 0;
    const qsizetype phonetic = (flags & 0x04) != 0 ? static_cast<qsizetype>(U32()) : 0;
    QString text;
    text.reserve(remaining);
    while (remaining > 0) {
        // Characters run up to the next CONTINUE, which starts with its own width flag.
        if (std::find(record_.continues.begin(), record_.continues.end(), position_) !=
            record_.continues.end()) {
            wide = (U8() & 0x01) != 0;
        }
        const qsizetype width = wide ? 2 : 1;
        const qsizetype available = (NextBoundary() - position_) / width;
        if (available == 0) {
            Truncated();  // a character cut in two, or the end of the record
        }
        const qsizetype take = std::min(available, remaining);
        const char* bytes = record_.data.constData() + position_;
        if (wide) {
            for (qsizetype index = 0; index < take; ++index) {
                text += QChar(qFromLittleEndian<char16_t>(bytes + 2 * index));
            }
        } else {
            text += QString::fromLatin1(bytes, take);
        }
        position_ += take * width;
        remaining -= take;
    }
    Skip(std::min<qsizetype>(runs * 4, record_.data.size() - position_));
    Skip(std::min<qsizetype>(phonetic, record_.data.size() - position_));
    return text;
}

}  // namespace zarame::workbook
