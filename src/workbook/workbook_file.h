#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zarame::workbook {

// The workbook file, opened read-only for the life of a connection. Opening never waits: a FIFO,
// a device or a folder is refused before anything is read, and nothing is ever written or locked.
class WorkbookFile {
public:
    // Raises a RunTimeError naming the cause when the path cannot be opened or is not a regular
    // file.
    explicit WorkbookFile(const QString& path);
    ~WorkbookFile();
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    const QString& path() const { return path_; }
    std::int64_t size() const { return size_; }
    int descriptor() const { return fd_; }

    // Up to `count` bytes from `offset`; fewer only at the end of the file. A read failure raises.
    QByteArray ReadAt(std::int64_t offset, std::int64_t count) const;

    // Hands the descriptor over to a reader that closes it itself.
    int Release();

private:
    QString path_;
    int fd_ = -1;
    std::int64_t size_ = 0;
};

}  // namespace zarame::workbook
