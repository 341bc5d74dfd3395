#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace zarame::workbook {

class WorkbookFile;

// One stream of a compound file, read by position through its sector chain; the chain is
// followed once, when the stream is opened.
class CompoundStream {
public:
    CompoundStream(const WorkbookFile& file, std::vector<std::int64_t> pieceOffsets,
                   std::int64_t pieceSize, std::int64_t size);

    std::int64_t size() const { return size_; }
    // Up to `count` bytes from `offset`; fewer only at the end of the stream.
    QByteArray ReadAt(std::int64_t offset, std::int64_t count) const;

private:
    const WorkbookFile& file_;
    std::vector<std::int64_t> pieceOffsets_;  // file offset of each sector of the stream
    std::int64_t pieceSize_;
    std::int64_t size_;
};

// A compound file (the container of legacy Office documents): the sector allocation table with
// its DIFAT extension, the directory and the mini stream. Every chain is checked against the
// file: a sector out of range or a chain that loops raises a RunTimeError.
class CompoundFile {
public:
    explicit CompoundFile(const WorkbookFile& file);

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

    std::vector<std::uint32_t> Chain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                     std::int64_t limit) const;
    std::vector<std::uint32_t> ReadTable(const std::vector<std::uint32_t>& sectors) const;
    std::int64_t SectorOffset(std::uint32_t sector) const;
    const Entry* FindInRoot(const QString& name) const;

    const WorkbookFile& file_;
    std::int64_t sectorSize_ = 512;
    std::int64_t miniSectorSize_ = 64;
    std::int64_t miniCutoff_ = 4096;
    std::int64_t sectorCount_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<Entry> entries_;
};

}  // namespace zarame::workbook
