#include "workbook/biff_records.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "workbook/compound_file.h"
#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"

namespace zarame::workbook {

namespace {

constexpr std::uint16_t kContinue = 0x003C;

bool MayContinue(std::uint16_t type) {
    switch (type) {
        case 0x00FC:  // SST
        case 0x0204:  // LABEL
        case 0x0207:  // STRING
            return true;
        default:
            return false;
    }
}
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
    PollStop();
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
            PollStop();
            record.continues.push_back(record.data.size());
        }
        record.data.append(buffer_.constData() + position_ + 4, length);
        position_ += 4 + length;
        first = false;
        if (!MayContinue(record.type) || !Fill(4)) {
            return true;
        }
    }
}

BiffCursor::BiffCursor(const BiffRecord& record, qsizetype position)
    : record_(record),
      position_(position),
      boundary_(static_cast<std::size_t>(
          std::lower_bound(record.continues.begin(), record.continues.end(), position) -
          record.continues.begin())) {}

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

bool BiffCursor::AtBoundary() {
    const std::vector<qsizetype>& continues = record_.continues;
    while (boundary_ < continues.size() && continues[boundary_] < position_) {
        ++boundary_;
    }
    return boundary_ < continues.size() && continues[boundary_] == position_;
}

// The first boundary after the position: the position only moves forward, so the walk along
// the boundaries does too, and a table of many strings over many CONTINUE records stays linear.
qsizetype BiffCursor::NextBoundary() {
    const std::vector<qsizetype>& continues = record_.continues;
    const std::size_t next = AtBoundary() ? boundary_ + 1 : boundary_;
    return next < continues.size() ? continues[next] : record_.data.size();
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
        if (AtBoundary()) {
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

QString BiffCursor::ByteString(int countBytes, const CodePage& codePage) {
    const qsizetype count = (countBytes == 1 ? U8() : U16()) * (codePage.wide() ? 2 : 1);
    Need(count);
    const QByteArrayView bytes(record_.data.constData() + position_, count);
    position_ += count;
    return codePage.Decode(bytes);
}

namespace {

// Qt's (ICU's) name for each code page an Excel 5.0/95 book may name.
const char* CodePageName(int number) {
    switch (number) {
        case 367:
        case 20127:
            return "US-ASCII";
        case 720:
            return "ibm-720";
        case 737:
            return "ibm-737";
        case 858:
            return "IBM00858";
        case 932:
            return "windows-31j";
        case 936:
            return "GBK";
        case 1200:
            return "UTF-16LE";
        case 10000:
        case 32768:  // Apple Roman as older versions number it
            return "macintosh";
        case 10001:  // Mac Japanese: Shift_JIS with the JIS mapping of its few differing codes
            return "ibm-943";
        case 10006:
            return "x-mac-greek";
        case 10007:
            return "x-mac-cyrillic";
        case 10029:
            return "x-mac-centraleurroman";
        case 10081:
            return "x-mac-turkish";
        case 32769:  // Windows 3.1 ANSI
            return "windows-1252";
        case 65001:
            return "UTF-8";
        default:
            return nullptr;
    }
}

QStringDecoder DecoderFor(int number) {
    if (const char* name = CodePageName(number)) {
        return QStringDecoder(name, QStringConverter::Flag::Stateless);
    }
    // The rest are known by their Windows or IBM names: windows-1250 to 1258, 874, 949 and 950,
    // IBM437, 850 to 869.
    for (const char* prefix : {"windows-", "IBM"}) {
        QStringDecoder decoder((prefix + QByteArray::number(number)).constData(),
                               QStringConverter::Flag::Stateless);
        if (decoder.isValid()) {
            return decoder;
        }
    }
    return QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
}

}  // namespace

CodePage::CodePage(int number) : decoder_(DecoderFor(number)), wide_(number == 1200) {
    if (!decoder_.isValid()) {
        decoder_ = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    }
}

QString CodePage::Decode(QByteArrayView bytes) const {
    return decoder_.decode(bytes);
}

}  // namespace zarame::workbook
