#include "workbook/compound_file.h"

#include <QtEndian>

#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::int64_t kHeaderSize = 512;
constexpr std::int64_t kEntrySize = 128;
constexpr int kStreamEntry = 2;
constexpr int kRootEntry = 5;

std::uint32_t U32(const QByteArray& bytes, std::int64_t at) {
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}
std::uint16_t U16(const QByteArray& bytes, std::int64_t at) {
    return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

[[noreturn]] void Damaged(const char* what) {
    throw DamagedWorkbook(QStringLiteral("複合ファイル: ") + QString::fromUtf8(what));
}

}  // namespace

CompoundStream::CompoundStream(const WorkbookFile& file, std::vector<std::int64_t> pieceOffsets,
                               std::int64_t pieceSize, std::int64_t size)
    : file_(file),
      pieceOffsets_(std::move(pieceOffsets)),
      pieceSize_(pieceSize),
      size_(std::min<std::int64_t>(size,
                                   static_cast<std::int64_t>(pieceOffsets_.size()) * pieceSize)) {}

QByteArray CompoundStream::ReadAt(std::int64_t offset, std::int64_t count) const {
    QByteArray bytes;
    count = std::min(count, size_ - offset);
    while (count > 0) {
        const std::int64_t piece = offset / pieceSize_;
        const std::int64_t within = offset % pieceSize_;
        const std::int64_t take = std::min(count, pieceSize_ - within);
        const QByteArray part =
            file_.ReadAt(pieceOffsets_[static_cast<std::size_t>(piece)] + within, take);
        if (part.size() != take) {
            Damaged("ストリームが途中で切れています");
        }
        bytes += part;
        offset += take;
        count -= take;
    }
    return bytes;
}

CompoundFile::CompoundFile(const WorkbookFile& file) : file_(file) {
    const QByteArray header = file.ReadAt(0, kHeaderSize);
    if (header.size() < kHeaderSize || U16(header, 0x1C) != 0xFFFE) {
        Damaged("ヘッダ");
    }
    const int sectorShift = U16(header, 0x1E);
    const int miniShift = U16(header, 0x20);
    if ((sectorShift != 9 && sectorShift != 12) || miniShift != 6) {
        Damaged("セクタの大きさ");
    }
    sectorSize_ = std::int64_t{1} << sectorShift;
    miniSectorSize_ = std::int64_t{1} << miniShift;
    miniCutoff_ = U32(header, 0x38);
    sectorCount_ = (file.size() + sectorSize_ - 1) / sectorSize_;  // an upper bound

    // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain.
    const std::int64_t fatSectorCount = U32(header, 0x2C);
    if (fatSectorCount > sectorCount_) {
        Damaged("FAT の大きさ");
    }
    std::vector<std::uint32_t> fatSectors;
    for (int index = 0;
         index < 109 && static_cast<std::int64_t>(fatSectors.size()) < fatSectorCount; ++index) {
        fatSectors.push_back(U32(header, 0x4C + 4 * index));
    }
    std::uint32_t difat = U32(header, 0x44);
    const std::int64_t perDifat = sectorSize_ / 4 - 1;
    for (std::int64_t visited = 0;
         static_cast<std::int64_t>(fatSectors.size()) < fatSectorCount && difat < kEndOfChain;
         ++visited) {
        if (visited > sectorCount_) {
            Damaged("DIFAT が循環しています");
        }
        const QByteArray sector = file.ReadAt(SectorOffset(difat), sectorSize_);
        if (sector.size() != sectorSize_) {
            Damaged("DIFAT");
        }
        for (std::int64_t index = 0;
             index < perDifat && static_cast<std::int64_t>(fatSectors.size()) < fatSectorCount;
             ++index) {
            fatSectors.push_back(U32(sector, 4 * index));
        }
        difat = U32(sector, 4 * perDifat);
    }
    if (static_cast<std::int64_t>(fatSectors.size()) < fatSectorCount) {
        Damaged("FAT が足りません");
    }
    fat_ = ReadTable(fatSectors);

    miniFat_ = ReadTable(Chain(fat_, U32(header, 0x3C), U32(header, 0x40)));

    const std::vector<std::uint32_t> directory = Chain(fat_, U32(header, 0x30), -1);
    for (std::uint32_t sector : directory) {
        const QByteArray bytes = file.ReadAt(SectorOffset(sector), sectorSize_);
        if (bytes.size() != sectorSize_) {
            Damaged("ディレクトリ");
        }
        for (std::int64_t at = 0; at + kEntrySize <= sectorSize_; at += kEntrySize) {
            Entry entry;
            const int nameBytes = std::min<int>(U16(bytes, at + 0x40), 64);
            entry.name =
                QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + at),
                                   std::max(0, nameBytes / 2 - 1));
            entry.type = static_cast<unsigned char>(bytes[static_cast<qsizetype>(at + 0x42)]);
            entry.left = U32(bytes, at + 0x44);
            entry.right = U32(bytes, at + 0x48);
            entry.child = U32(bytes, at + 0x4C);
            entry.start = U32(bytes, at + 0x74);
            entry.size = static_cast<std::int64_t>(
                qFromLittleEndian<quint64>(bytes.constData() + at + 0x78) &
                (sectorShift == 9 ? 0xFFFFFFFFull : 0x7FFFFFFFFFFFFFFFull));
            entries_.push_back(std::move(entry));
        }
    }
    if (entries_.empty() || entries_.front().type != kRootEntry) {
        Damaged("ルート");
    }
}

std::int64_t CompoundFile::SectorOffset(std::uint32_t sector) const {
    if (static_cast<std::int64_t>(sector) >= sectorCount_) {
        Damaged("範囲外のセクタ");
    }
    return (static_cast<std::int64_t>(sector) + 1) * sectorSize_;
}

std::vector<std::uint32_t> CompoundFile::ReadTable(
    const std::vector<std::uint32_t>& sectors) const {
    std::vector<std::uint32_t> table;
    table.reserve(sectors.size() * static_cast<std::size_t>(sectorSize_ / 4));
    for (std::uint32_t sector : sectors) {
        const QByteArray bytes = file_.ReadAt(SectorOffset(sector), sectorSize_);
        if (bytes.size() != sectorSize_) {
            Damaged("割り当て表");
        }
        for (std::int64_t at = 0; at < sectorSize_; at += 4) {
            table.push_back(U32(bytes, at));
        }
    }
    return table;
}

// The sectors of a chain; a chain longer than the table (so looping) or leaving it is damage.
// A positive limit stops early, for chains whose length the header gives.
std::vector<std::uint32_t> CompoundFile::Chain(const std::vector<std::uint32_t>& table,
                                               std::uint32_t start, std::int64_t limit) const {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t sector = start; sector < kEndOfChain - 3 /* special markers */;
         sector = table[sector]) {
        if (limit >= 0 && static_cast<std::int64_t>(chain.size()) >= limit) {
            break;
        }
        if (sector >= table.size()) {
            Damaged("範囲外のセクタ");
        }
        if (chain.size() >= table.size()) {
            Damaged("セクタの連鎖が循環しています");
        }
        chain.push_back(sector);
    }
    return chain;
}

const CompoundFile::Entry* CompoundFile::FindInRoot(const QString& name) const {
    // The root's children form a tree through their left and right siblings.
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> pending{entries_.front().child};
    while (!pending.empty()) {
        const std::uint32_t index = pending.back();
        pending.pop_back();
        if (index == kNoStream || index >= entries_.size() || seen[index]) {
            continue;
        }
        seen[index] = true;
        const Entry& entry = entries_[index];
        if (entry.type == kStreamEntry && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            return &entry;
        }
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return nullptr;
}

bool CompoundFile::HasStream(const QString& name) const {
    return FindInRoot(name) != nullptr;
}

std::unique_ptr<CompoundStream> CompoundFile::OpenStream(const QString& name) const {
    const Entry* entry = FindInRoot(name);
    if (entry == nullptr) {
        throw DamagedWorkbook(name + QStringLiteral(" がありません"));
    }
    std::vector<std::int64_t> offsets;
    if (entry->size >= miniCutoff_) {
        for (std::uint32_t sector : Chain(fat_, entry->start, -1)) {
            offsets.push_back(SectorOffset(sector));
        }
        return std::make_unique<CompoundStream>(file_, std::move(offsets), sectorSize_,
                                                entry->size);
    }
    // A small stream lives in the mini stream, which is the root entry's own chain.
    const std::vector<std::uint32_t> container = Chain(fat_, entries_.front().start, -1);
    const std::int64_t perSector = sectorSize_ / miniSectorSize_;
    for (std::uint32_t mini : Chain(miniFat_, entry->start, -1)) {
        const std::int64_t sector = mini / perSector;
        if (sector >= static_cast<std::int64_t>(container.size())) {
            Damaged("ミニストリームの範囲外");
        }
        offsets.push_back(SectorOffset(container[static_cast<std::size_t>(sector)]) +
                          (mini % perSector) * miniSectorSize_);
    }
    return std::make_unique<CompoundStream>(file_, std::move(offsets), miniSectorSize_,
                                            entry->size);
}

}  // namespace zarame::workbook
