#include "testing/legacy_book.h"

#include <QtEndian>

namespace zarame::workbook::test_books {

namespace {

constexpr int kSector = 512;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

template <typename Number>
QByteArray Bytes(Number value) {
    QByteArray bytes(sizeof value, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Entry(const QString& name, int type, std::uint32_t start, std::uint32_t size,
                 std::uint32_t right, std::uint32_t child) {
    QByteArray entry(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
    entry.resize(64, '\0');
    entry += Bytes<std::uint16_t>(static_cast<std::uint16_t>(name.size() * 2 + 2));
    entry += static_cast<char>(type);
    entry += '\1';
    entry += Bytes(kFree) + Bytes(right) + Bytes(child);
    entry.resize(0x74, '\0');
    return entry + Bytes(start) + Bytes<std::uint64_t>(size);
}

}  // namespace

QByteArray Uint16(int value) {
    return Bytes(static_cast<std::uint16_t>(value));
}

QByteArray Uint32(std::uint32_t value) {
    return Bytes(value);
}

QByteArray Record(std::uint16_t type, const QByteArray& body) {
    return Bytes(type) + Bytes(static_cast<std::uint16_t>(body.size())) + body;
}

QByteArray CellHeader(int row, int column, int style) {
    return Bytes(static_cast<std::uint16_t>(row)) + Bytes(static_cast<std::uint16_t>(column)) +
           Bytes(static_cast<std::uint16_t>(style));
}

QByteArray Latin1String(const QByteArray& text) {
    return Bytes(static_cast<std::uint16_t>(text.size())) + '\0' + text;
}

QByteArray BookStream(std::uint16_t version, const QByteArray& globals,
                      const QList<QByteArray>& sheets) {
    const auto bof = [version](std::uint16_t kind) {
        return Record(0x0809,
                      Bytes(version) + Bytes(kind) + QByteArray(version == 0x0600 ? 12 : 4, '\0'));
    };
    const auto globalsPart = [&](const QList<std::uint32_t>& offsets) {
        QByteArray part = bof(5) + globals;
        for (std::uint32_t offset : offsets) {
            // Offset, visible worksheet, a one-character name.
            part += Record(0x0085, Bytes(offset) + QByteArray("\0\0\1", 3) +
                                       (version == 0x0600 ? QByteArray("\0s", 2) : "s"));
        }
        return part + Record(0x000A);
    };
    QList<std::uint32_t> offsets(sheets.size(), 0);
    std::uint32_t at = static_cast<std::uint32_t>(globalsPart(offsets).size());
    QByteArray bodies;
    for (qsizetype index = 0; index < sheets.size(); ++index) {
        offsets[index] = at + static_cast<std::uint32_t>(bodies.size());
        bodies += bof(0x10) + sheets[index] + Record(0x000A);
    }
    return globalsPart(offsets) + bodies;
}

QByteArray CompoundFileOf(const QList<QPair<QString, QByteArray>>& streams) {
    // Sectors: the allocation table, one directory sector, then each stream padded to at least
    // 4096 bytes, the size from which a stream lives outside the mini stream.
    QList<QByteArray> data;
    qsizetype dataSectors = 1;
    for (const auto& stream : streams) {
        QByteArray bytes = stream.second;
        bytes.resize(std::max<qsizetype>(4096, (bytes.size() + kSector - 1) / kSector * kSector),
                     '\0');
        dataSectors += bytes.size() / kSector;
        data << bytes;
    }
    const qsizetype tableSectors = (dataSectors + kSector / 4 - 1) / (kSector / 4 - 1);
    QList<std::uint32_t> table(tableSectors * kSector / 4, kFree);
    for (qsizetype sector = 0; sector < tableSectors; ++sector) {
        table[sector] = 0xFFFFFFFD;
    }
    table[tableSectors] = kEndOfChain;  // the directory
    QByteArray directory = Entry(QStringLiteral("Root Entry"), 5, kEndOfChain, 0, 0xFFFFFFFF,
                                 streams.empty() ? kFree : 1);
    std::uint32_t next = static_cast<std::uint32_t>(tableSectors + 1);
    for (qsizetype index = 0; index < streams.size(); ++index) {
        const std::uint32_t count = static_cast<std::uint32_t>(data[index].size() / kSector);
        for (std::uint32_t sector = next; sector < next + count; ++sector) {
            table[sector] = sector + 1 < next + count ? sector + 1 : kEndOfChain;
        }
        const std::uint32_t right = index + 1 < streams.size() ? index + 2 : kFree;
        directory +=
            Entry(streams[index].first, 2, next,
                  static_cast<std::uint32_t>(
                      streams[index].second.size() < 4096 ? 4096 : streams[index].second.size()),
                  right, kFree);
        next += count;
    }
    directory.resize(kSector, '\0');
    QByteArray file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    file += QByteArray(16, '\0') + Bytes<std::uint16_t>(0x3E) + Bytes<std::uint16_t>(3) +
            Bytes<std::uint16_t>(0xFFFE) + Bytes<std::uint16_t>(9) + Bytes<std::uint16_t>(6) +
            QByteArray(10, '\0');
    file += Bytes(static_cast<std::uint32_t>(tableSectors)) +
            Bytes(static_cast<std::uint32_t>(tableSectors)) + QByteArray(4, '\0') +
            Bytes<std::uint32_t>(4096) + Bytes(kEndOfChain) + QByteArray(4, '\0') +
            Bytes(kEndOfChain) + QByteArray(4, '\0');
    for (int index = 0; index < 109; ++index) {
        file += Bytes(index < tableSectors ? static_cast<std::uint32_t>(index) : kFree);
    }
    for (std::uint32_t link : table) {
        file += Bytes(link);
    }
    file += directory;
    for (const QByteArray& bytes : data) {
        file += bytes;
    }
    return file;
}

}  // namespace zarame::workbook::test_books
