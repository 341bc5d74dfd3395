#include "workbook/compound_file.h"

#include <QtEndian>
#include <array>
#include <unordered_set>

#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFirstMarker = 0xFFFFFFFB;  // this and above: markers, not sectors
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::int64_t kHeaderSize = 512;
constexpr std::int64_t kEntrySize = 128;
constexpr int kHeaderFatSectors = 109;
constexpr int kStreamEntry = 2;
constexpr int kRootEntry = 5;
constexpr std::int64_t kCheckpointEvery = 64;

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

// The file's own sectors, linked through the allocation table. The table is read a sector at a
// time as links are asked for, through a small cache, and its sectors beyond the 109 the header
// lists are found by following the DIFAT chain only as far as needed.
class FileSectors final : public SectorSpace {
public:
    FileSectors(const WorkbookFile& file, const QByteArray& header, int sectorShift)
        : file_(file),
          sectorSize_(std::int64_t{1} << sectorShift),
          linksPerSector_(sectorSize_ / 4),
          fileSectors_(
              std::max<std::int64_t>(0, (file.size() + sectorSize_ - 1) / sectorSize_ - 1)),
          tableSectors_(U32(header, 0x2C)),
          firstDifat_(U32(header, 0x44)) {
        // The table's own sectors lie in the file, so it cannot have more of them than the file.
        if (tableSectors_ > fileSectors_) {
            Damaged("FAT の大きさ");
        }
        for (int index = 0; index < kHeaderFatSectors; ++index) {
            headerTable_[static_cast<std::size_t>(index)] = U32(header, 0x4C + 4 * index);
        }
        cacheKeys_.fill(-1);
    }

    std::int64_t sectorSize() const override { return sectorSize_; }
    std::int64_t sectorCount() const override {
        return std::min(fileSectors_, tableSectors_ * linksPerSector_);
    }

    std::uint32_t Next(std::uint32_t sector) const override {
        const std::int64_t page = sector / linksPerSector_;
        if (page >= tableSectors_) {
            Damaged("範囲外のセクタ");
        }
        const std::size_t slot = static_cast<std::size_t>(page) % kCacheSlots;
        if (cacheKeys_[slot] != page) {
            cache_[slot] = ReadWhole(TableSector(page), "割り当て表");
            cacheKeys_[slot] = page;
        }
        return U32(cache_[slot], (sector % linksPerSector_) * 4);
    }

    QByteArray Read(std::uint32_t sector, std::int64_t within, std::int64_t count) const override {
        return file_.ReadAt(Offset(sector) + within, count);
    }

    QByteArray ReadWhole(std::uint32_t sector, const char* what) const {
        QByteArray bytes = Read(sector, 0, sectorSize_);
        if (bytes.size() != sectorSize_) {
            Damaged(what);
        }
        return bytes;
    }

private:
    static constexpr std::size_t kCacheSlots = 64;

    std::int64_t Offset(std::uint32_t sector) const {
        if (static_cast<std::int64_t>(sector) >= fileSectors_) {
            Damaged("範囲外のセクタ");
        }
        return (static_cast<std::int64_t>(sector) + 1) * sectorSize_;  // the header fills sector -1
    }

    // Where the allocation table's sector number `page` lies.
    std::uint32_t TableSector(std::int64_t page) const {
        if (page < kHeaderFatSectors) {
            return headerTable_[static_cast<std::size_t>(page)];
        }
        const std::int64_t perDifat = linksPerSector_ - 1;
        const std::size_t difat = static_cast<std::size_t>((page - kHeaderFatSectors) / perDifat);
        while (difatChain_.size() <= difat) {
            PollStop();
            const std::uint32_t next =
                difatChain_.empty() ? firstDifat_
                                    : U32(ReadWhole(difatChain_.back(), "DIFAT"), 4 * perDifat);
            if (next >= kFirstMarker) {
                Damaged("FAT が足りません");
            }
            difatChain_.push_back(next);
        }
        const QByteArray link =
            Read(difatChain_[difat], 4 * ((page - kHeaderFatSectors) % perDifat), 4);
        if (link.size() != 4) {
            Damaged("DIFAT");
        }
        return U32(link, 0);
    }

    const WorkbookFile& file_;
    std::int64_t sectorSize_;
    std::int64_t linksPerSector_;
    std::int64_t fileSectors_;  // the sectors the file's size leaves room for
    std::int64_t tableSectors_;
    std::uint32_t firstDifat_;
    std::array<std::uint32_t, kHeaderFatSectors> headerTable_{};
    mutable std::vector<std::uint32_t> difatChain_;  // the DIFAT sectors followed so far
    mutable std::array<std::int64_t, kCacheSlots> cacheKeys_{};
    mutable std::array<QByteArray, kCacheSlots> cache_;
};

namespace {

// The small sectors of the mini stream, which is the root entry's own stream, linked through the
// mini table, itself a stream of the file.
class MiniSectors final : public SectorSpace {
public:
    MiniSectors(std::unique_ptr<CompoundStream> table, std::unique_ptr<CompoundStream> container)
        : table_(std::move(table)), container_(std::move(container)) {}

    std::int64_t sectorSize() const override { return kMiniSectorSize; }
    std::int64_t sectorCount() const override {
        return std::min(table_->size() / 4, container_->size() / kMiniSectorSize);
    }
    std::uint32_t Next(std::uint32_t sector) const override {
        const QByteArray link = table_->ReadAt(4 * static_cast<std::int64_t>(sector), 4);
        if (link.size() != 4) {
            Damaged("ミニストリームの範囲外");
        }
        return U32(link, 0);
    }
    QByteArray Read(std::uint32_t sector, std::int64_t within, std::int64_t count) const override {
        return container_->ReadAt(static_cast<std::int64_t>(sector) * kMiniSectorSize + within,
                                  count);
    }

private:
    static constexpr std::int64_t kMiniSectorSize = 64;
    std::unique_ptr<CompoundStream> table_;
    std::unique_ptr<CompoundStream> container_;
};

}  // namespace

CompoundStream::CompoundStream(std::shared_ptr<const SectorSpace> space, std::uint32_t start,
                               std::int64_t size)
    : space_(std::move(space)), start_(start), size_(size) {
    if (size_ < 0) {
        while (Advance()) {
        }
        size_ = walked_ * space_->sectorSize();
    }
}

// One more link of the chain; false at its end.
bool CompoundStream::Advance() const {
    if (ended_) {
        return false;
    }
    PollStop();
    const std::uint32_t sector = walked_ == 0 ? start_ : space_->Next(frontier_);
    if (sector >= kFirstMarker) {
        ended_ = true;
        return false;
    }
    if (static_cast<std::int64_t>(sector) >= space_->sectorCount()) {
        Damaged("範囲外のセクタ");
    }
    if (walked_ == 0) {
        tortoise_ = sector;
    } else if (sector == tortoise_) {
        Damaged("セクタの連鎖が循環しています");
    } else if (++lambda_ == power_) {
        tortoise_ = sector;
        power_ *= 2;
        lambda_ = 0;
    }
    if (walked_ % kCheckpointEvery == 0) {
        checkpoints_.push_back(sector);
    }
    frontier_ = sector;
    ++walked_;
    return true;
}

std::optional<std::uint32_t> CompoundStream::SectorAt(std::int64_t index) const {
    while (walked_ <= index) {
        if (!Advance()) {
            return std::nullopt;
        }
    }
    std::int64_t at = index - index % kCheckpointEvery;
    std::uint32_t sector = checkpoints_[static_cast<std::size_t>(at / kCheckpointEvery)];
    if (lastIndex_ >= at && lastIndex_ <= index) {
        at = lastIndex_;
        sector = lastSector_;
    }
    for (; at < index; ++at) {
        sector = space_->Next(sector);  // links already walked and checked
    }
    lastIndex_ = index;
    lastSector_ = sector;
    return sector;
}

QByteArray CompoundStream::ReadAt(std::int64_t offset, std::int64_t count) const {
    QByteArray bytes;
    const std::int64_t pieceSize = space_->sectorSize();
    count = std::min(count, size_ - offset);
    while (count > 0) {
        const std::optional<std::uint32_t> sector = SectorAt(offset / pieceSize);
        if (!sector) {
            break;  // the chain ends before the size it claims
        }
        const std::int64_t within = offset % pieceSize;
        const std::int64_t take = std::min(count, pieceSize - within);
        const QByteArray part = space_->Read(*sector, within, take);
        if (part.size() != take) {
            Damaged("ストリームが途中で切れています");
        }
        bytes += part;
        offset += take;
        count -= take;
    }
    return bytes;
}

CompoundFile::CompoundFile(const WorkbookFile& file) {
    const QByteArray header = file.ReadAt(0, kHeaderSize);
    if (header.size() < kHeaderSize || U16(header, 0x1C) != 0xFFFE) {
        Damaged("ヘッダ");
    }
    const int sectorShift = U16(header, 0x1E);
    if ((sectorShift != 9 && sectorShift != 12) || U16(header, 0x20) != 6) {
        Damaged("セクタの大きさ");
    }
    wideSizes_ = sectorShift != 9;
    miniCutoff_ = U32(header, 0x38);
    miniTableStart_ = U32(header, 0x3C);
    miniTableSectors_ = U32(header, 0x40);
    sectors_ = std::make_shared<const FileSectors>(file, header, sectorShift);
    // The directory's chain is followed to its end now, so that a loop in it is found whichever
    // entries are read later.
    directory_ = std::make_unique<CompoundStream>(sectors_, U32(header, 0x30), -1);
    entryCount_ = directory_->size() / kEntrySize;
    root_ = ReadEntry(0);
    if (entryCount_ == 0 || root_.type != kRootEntry) {
        Damaged("ルート");
    }
}

CompoundFile::~CompoundFile() = default;

CompoundFile::Entry CompoundFile::ReadEntry(std::uint32_t index) const {
    Entry entry;
    if (static_cast<std::int64_t>(index) >= entryCount_) {
        return entry;
    }
    const QByteArray bytes = directory_->ReadAt(index * kEntrySize, kEntrySize);
    if (bytes.size() != kEntrySize) {
        Damaged("ディレクトリ");
    }
    const int nameBytes = std::min<int>(U16(bytes, 0x40), 64);
    entry.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                    std::max(0, nameBytes / 2 - 1));
    entry.type = static_cast<unsigned char>(bytes[0x42]);
    entry.left = U32(bytes, 0x44);
    entry.right = U32(bytes, 0x48);
    entry.child = U32(bytes, 0x4C);
    entry.start = U32(bytes, 0x74);
    entry.size = static_cast<std::int64_t>(qFromLittleEndian<quint64>(bytes.constData() + 0x78) &
                                           (wideSizes_ ? 0x7FFFFFFFFFFFFFFFull : 0xFFFFFFFFull));
    return entry;
}

std::optional<CompoundFile::Entry> CompoundFile::FindInRoot(const QString& name) const {
    // The root's children form a tree through their left and right siblings.
    std::unordered_set<std::uint32_t> seen;
    std::vector<std::uint32_t> pending{root_.child};
    while (!pending.empty()) {
        PollStop();
        const std::uint32_t index = pending.back();
        pending.pop_back();
        if (index == kNoStream || static_cast<std::int64_t>(index) >= entryCount_ ||
            !seen.insert(index).second) {
            continue;
        }
        Entry entry = ReadEntry(index);
        if (entry.type == kStreamEntry && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            return entry;
        }
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return std::nullopt;
}

bool CompoundFile::HasStream(const QString& name) const {
    return FindInRoot(name).has_value();
}

std::shared_ptr<const SectorSpace> CompoundFile::MiniSpace() const {
    if (!miniSpace_) {
        miniSpace_ = std::make_shared<const MiniSectors>(
            std::make_unique<CompoundStream>(sectors_, miniTableStart_,
                                             miniTableSectors_ * sectors_->sectorSize()),
            std::make_unique<CompoundStream>(sectors_, root_.start, root_.size));
    }
    return miniSpace_;
}

std::unique_ptr<CompoundStream> CompoundFile::OpenStream(const QString& name) const {
    const std::optional<Entry> entry = FindInRoot(name);
    if (!entry) {
        throw DamagedWorkbook(name + QStringLiteral(" がありません"));
    }
    // A small stream lives in the mini stream.
    std::shared_ptr<const SectorSpace> space = sectors_;
    if (entry->size < miniCutoff_) {
        space = MiniSpace();
    }
    return std::make_unique<CompoundStream>(std::move(space), entry->start, entry->size);
}

}  // namespace zarame::workbook
