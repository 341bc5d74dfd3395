#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

struct zip;
struct zip_file;

namespace zarame::workbook {

class WorkbookFile;

// How much a part may inflate to. Every part is read as a stream, so a cap bounds time more than
// memory: the workbook's small parts (workbook, styles, relationships, settings) get a tight one,
// the shared strings and sheets, which may be large, wider ones.
inline constexpr std::int64_t kHeldPartCap = 64ll << 20;
inline constexpr std::int64_t kSharedStringsCap = 1ll << 30;
inline constexpr std::int64_t kStreamedPartCap = 4ll << 30;

// One member of a zip archive, inflated a piece at a time. Reading past the cap, a checksum
// mismatch or a truncated member raises a RunTimeError.
class ZipEntryStream {
public:
    ZipEntryStream(zip_file* file, QString name, std::int64_t cap);
    ~ZipEntryStream();
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    // The next piece, empty at the end.
    QByteArray Read();
    // Reads on to the end without keeping anything, so that the checksum is checked.
    void ReadToEnd();
    const QString& name() const { return name_; }

private:
    std::int64_t ReadInto(char* data, std::int64_t size);

    zip_file* file_;
    QString name_;
    std::int64_t cap_;
    std::int64_t total_ = 0;
};

// A zip archive over the workbook file; the file stays owned by the caller.
class ZipArchive {
public:
    // Nothing when the file is not a zip archive that can be read.
    static std::optional<ZipArchive> Open(const WorkbookFile& file);
    ~ZipArchive();
    ZipArchive(ZipArchive&& other) noexcept
        : archive_(other.archive_), path_(std::move(other.path_)) {
        other.archive_ = nullptr;
    }
    ZipArchive& operator=(ZipArchive&&) = delete;
    ZipArchive(const ZipArchive&) = delete;

    // Member names compare without case, as package part names do.
    bool Contains(const QString& name) const;
    // Raises when the member is missing or cannot be read.
    std::unique_ptr<ZipEntryStream> OpenEntry(const QString& name, std::int64_t cap) const;
    // The whole member, within the cap; nothing when it is missing.
    std::optional<QByteArray> ReadWhole(const QString& name, std::int64_t cap) const;
    // The workbook file's path, for causes that name the book.
    const QString& path() const { return path_; }

private:
    ZipArchive(zip* archive, QString path) : archive_(archive), path_(std::move(path)) {}
    std::int64_t Locate(const QString& name) const;

    zip* archive_;
    QString path_;
};

}  // namespace zarame::workbook
