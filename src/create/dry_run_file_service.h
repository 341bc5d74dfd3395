#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "create/posix_file_service.h"
#include "create/text_stream.h"

namespace zarame {

// The file service of a dry run: it looks, and tells what the real service would do (create,
// find an item there, or fail with the error it would raise), but writes nothing, not even the
// template. What it would have made is remembered by a 64-bit hash of the path, so that a name
// given twice, or a parent folder it would have made, is judged as the real run would find it,
// in bounded memory (16 bytes and a node per item).
class DryRunFileService final : public FileService {
public:
    // New files are copies of the template, which a dry run never writes.
    explicit DryRunFileService(QString templatePath) : templatePath_(std::move(templatePath)) {}

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

    PosixFileService real_;
    std::unordered_map<std::uint64_t, Made> made_;
    QString templatePath_;
    QString checkedSource_;
    QString lastFolder_;  // the last folder found to be there
};

}  // namespace zarame
