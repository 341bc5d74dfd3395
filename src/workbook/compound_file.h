#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zarame::workbook {

class WorkbookFile;

// Where the sectors of a chain live and how they link: the file's sectors through the allocation
// table, or the small sectors of the mini stream through the mini table.
class SectorSpace {
public:
    virtual ~SectorSpace() = default;
    virtual std::int64_t sectorSize() const = 0;
    // How many sectors the table can name; a link at or past it is damage.
    virtual std::int64_t sectorCount() const = 0;
    // The link that follows `sector` in its chain.
    virtual std::uint32_t Next(std::uint32_t sector) const = 0;
    // Up to `count` bytes of `sector` from `within`; fewer only where the file ends.
    virtual QByteArray Read(std::uint32_t sector, std::int64_t within,
                            std::int64_t count) const = 0;
};

// One stream of a compound file, read by position. The sector chain is followed as far as the
// reads go, never further, and only every 64th link is kept, so a stream that claims gigabytes
// costs nothing until it is read; a chain that loops is damage, found within twice its length
// (Brent's cycle test, without remembering the sectors passed).
class CompoundStream {
public:
    // A negative size stands for the whole chain, followed here to its end.
    CompoundStream(std::shared_ptr<const SectorSpace> space, std::uint32_t start,
                   std::int64_t size);

    std::int64_t size() const { return size_; }
    // Up to `count` bytes from `offset`; fewer only at the end of the stream or of its chain.
    QByteArray ReadAt(std::int64_t offset, std::int64_t count) const;

private:
    // The sector of piece `index`, or nothing when the chain ends before it.
    std::optional<std::uint32_t> SectorAt(std::int64_t index) const;
    bool Advance() const;

    std::shared_ptr<const SectorSpace> space_;
    std::uint32_t start_;
    std::int64_t size_;
    // The walk so far: `walked_` pieces, the last one in `frontier_`, a checkpoint every 64.
    mutable std::vector<std::uint32_t> checkpoints_;
    mutable std::int64_t walked_ = 0;
    mutable std::uint32_t frontier_ = 0;
    mutable bool ended_ = false;
    mutable std::uint32_t tortoise_ = 0;
    mutable std::int64_t power_ = 1;
    mutable std::int64_t lambda_ = 0;
    // The piece found last, where a reader going forward picks up again.
    mutable std::int64_t lastIndex_ = -1;
    mutable std::uint32_t lastSector_ = 0;
};

class FileSectors;

// A compound file (the container of legacy Office documents), read through pread as the streams
// are read: the header and, on demand, the allocation table, its DIFAT extension, the directory
// and the mini stream. A file that claims more than it holds (a sparse file of terabytes) costs
// only the sectors actually followed. A sector out of range or a chain that loops raises a
// RunTimeError.
class CompoundFile {
public:
    explicit CompoundFile(const WorkbookFile& file);
    ~CompoundFile();

    // Whether the root storage holds a stream of that name (compared without case).
    bool HasStream(const QString& name) const;
    // The named stream of the root storage; raises when it is missing.
    std::unique_ptr<CompoundStream> OpenStream(const QString& name) const;

private:
    struct Entry {
        QString name;
        int type = 0;
        std::uint32_t start = 0;
        std::int64_t size = 0;
        std::uint32_t left = 0, right = 0, child = 0;
    };

    Entry ReadEntry(std::uint32_t index) const;
    std::optional<Entry> FindInRoot(const QString& name) const;
    std::shared_ptr<const SectorSpace> MiniSpace() const;

    std::shared_ptr<const FileSectors> sectors_;
    std::unique_ptr<CompoundStream> directory_;
    std::int64_t entryCount_ = 0;
    bool wideSizes_ = false;
    std::int64_t miniCutoff_ = 4096;
    std::uint32_t miniTableStart_ = 0;
    std::int64_t miniTableSectors_ = 0;
    Entry root_;
    mutable std::shared_ptr<const SectorSpace> miniSpace_;
};

}  // namespace zarame::workbook
