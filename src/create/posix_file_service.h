#pragma once

#include <sys/types.h>
#include <QByteArray>

#include "create/file_service.h"

namespace zarame {

// The file service over POSIX calls. Copies take the fastest safe kernel path: a reflink where
// the file system offers one, else an in-kernel copy, else read and write.
class PosixFileService : public FileService {
public:
    PosixFileService() = default;
    ~PosixFileService() override;
    PosixFileService(const PosixFileService&) = delete;
    PosixFileService& operator=(const PosixFileService&) = delete;

    bool FolderExists(const QString& path) override;
    bool FileExists(const QString& path) override;
    CreateOutcome CreateFolder(const QString& path) override;
    CreateOutcome CopyFile(const QString& source, const QString& destination) override;
    void DeleteFile(const QString& path) override;
    std::unique_ptr<TextStream> OpenTextFile(const QString& path) override;
    void CreateTemplate(const QString& path) override;
    void WriteTemplate(const char* bytes, qsizetype count) override;
    void RemoveTemplate(const QString& path) noexcept override;

private:
    void CopyContent(int sourceFd, off_t size, int destinationFd, const QString& destination);
    void CloseTemplate() noexcept;

    int templateFd_ = -1;
    QString templatePath_;
    off_t templateSize_ = 0;
    bool reflinkUnavailable_ = false;
    bool kernelCopyUnavailable_ = false;
};

}  // namespace zarame
