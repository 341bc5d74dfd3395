#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "common/run_time_error.h"
#include "create/posix_file_service.h"
#include "create/text_stream.h"

namespace zarame {

// Raised when a dry run would have to remember more items than it may: the run ends on it, while
// the dry run's other failures are logged and passed.
class DryRunLimitError : public RunTimeError {
public:
    explicit DryRunLimitError(std::size_t remembered);
};

// The file service of a dry run: it looks, and tells what the real service would do (create,
// find an item there, or fail with the error it would raise), but writes nothing, not even the
// template. What it would have made is remembered by a 64-bit hash of the path, so that a name
// given twice, or a parent folder it would have made, is judged as the real run would find it.
// It remembers at most kRememberedItems (about 50 bytes each), so that no list, however long,
// costs more than a few hundred megabytes.
class DryRunFileService final : public FileService {
public:
    // New files are copies of the template, which a dry run never writes.
    static constexpr std::size_t kRememberedItems = std::size_t{1} << 23;

    explicit DryRunFileService(QString templatePath, std::size_t rememberedItems = kRememberedItems)
        : templatePath_(std::move(templatePath)), rememberedItems_(rememberedItems) {}

    bool FolderExists(const QString& path) override { return real_.FolderExists(path); }
    bool FileExists(const QString& path) override { return real_.FileExists(path); }
    CreateOutcome CreateFolder(const QString& path) override;
    CreateOutcome CopyFile(const QString& source, const QString& destination) override;
    CreateOutcome CreateRandomFile(const QString& destination, std::int64_t, std::uint64_t,
                                   std::uint64_t) override {
        return CreateFile(destination, {});
    }
    CreateOutcome CreateFilledFile(const QString& destination, std::int64_t,
                                   std::uint8_t) override {
        return CreateFile(destination, {});
    }
    void DeleteFile(const QString&) override {}
    std::unique_ptr<TextStream> OpenTextFile(const QString& path) override {
        return real_.OpenTextFile(path);
    }
    void CreateTemplate(const QString&) override {}
    void WriteTemplate(const char*, qsizetype) override {}
    void RemoveTemplate(const QString&) noexcept override {}

private:
    enum class Made { Folder, File };
    // What stands at the path once the items so far would have been made; nothing when the path
    // names nothing yet. A failure to look is raised.
    enum class Standing { Nothing, Folder, Other };
    Standing Look(const QString& path) const;
    void CheckParent(const QString& path);
    void CheckSource(const QString& source);
    // What a new file at the destination would meet; what it would be made of is checked first.
    CreateOutcome CreateFile(const QString& destination, const std::function<void()>& checkContent);
    void Remember(const QString& path, Made made);

    PosixFileService real_;
    std::unordered_map<std::uint64_t, Made> made_;
    QString templatePath_;
    QString checkedSource_;
    QString lastFolder_;  // the last folder found to be there
    std::size_t rememberedItems_;
};

}  // namespace zarame
