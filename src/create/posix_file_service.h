#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <QByteArray>
#include <chrono>
#include <functional>
#include <optional>

#include "create/file_service.h"
#include "create/template_file.h"

namespace zarame {

// The file service over POSIX calls. Every file it makes is written with its own bytes: no
// reflink and no in-kernel copy that could share the source's blocks, since a file of N bytes
// that takes no space is not what people fill a disk or test a quota with.
class PosixFileService : public FileService {
public:
    PosixFileService() = default;
    ~PosixFileService() override = default;
    PosixFileService(const PosixFileService&) = delete;
    PosixFileService& operator=(const PosixFileService&) = delete;

    void SetStopCheck(std::function<bool()> stopCheck) override {
        stopCheck_ = std::move(stopCheck);
    }
    bool FolderExists(const QString& path) override;
    bool FileExists(const QString& path) override;
    CreateOutcome CreateFolder(const QString& path) override;
    CreateOutcome CopyFile(const QString& source, const QString& destination) override;
    CreateOutcome CreateRandomFile(const QString& destination, std::int64_t size,
                                   std::uint64_t runSeed, std::uint64_t itemIndex) override;
    CreateOutcome CreateFilledFile(const QString& destination, std::int64_t size,
                                   std::uint8_t fillByte) override;
    void DeleteFile(const QString& path) override;
    std::unique_ptr<TextStream> OpenTextFile(const QString& path) override;
    void CreateTemplate(const QString& path) override;
    void WriteTemplate(const char* bytes, qsizetype count) override;
    void RemoveTemplate(const QString& path) noexcept override;

private:
    // Between two blocks of one item: raises ItemStopped when a stop has been asked for; asks
    // at most every 50 ms.
    void AskWhetherToStop();
    void CopySource(const QString& source, int destinationFd, const QString& destination);
    struct Copied {
        qsizetype bytes = 0;
        bool inOneRead = false;
    };
    Copied CopyContent(int sourceFd, off_t size, int destinationFd, const QString& source,
                       const QString& destination);

    TemplateFile template_;
    QByteArray buffer_;
    QByteArray filled_;  // one block of the fill byte of files written each for itself
    std::function<bool()> stopCheck_;
    std::chrono::steady_clock::time_point lastAsked_{};

    // The bytes of the last duplicate source of up to one block, with what identifies that
    // version of it: the same file, size, and modification and change times mean the same bytes.
    struct SourceCache {
        bool Holds(const QString& source, const struct stat& status) const;
        // Keeps the source's bytes when they are the whole of it (else forgets).
        void Remember(const QString& source, const struct stat& status, const QByteArray& whole);

        bool valid = false;
        QString path;
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        timespec changed{};
        QByteArray content;
    } sourceCache_;
};

}  // namespace zarame
