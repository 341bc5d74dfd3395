#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace zarame {

// The template that new files are copied from, over its whole life. Creating it makes and locks
// the file before it has its name, then gives it the name, taking over a leftover (one no run
// holds locked) without following a symbolic link; so a second run can neither delete nor
// overwrite it. Copies are made from what this run wrote, never from whatever the name points
// at. Removing it deletes it if this run made it, or a leftover no other run holds.
class TemplateFile {
public:
    TemplateFile() = default;
    ~TemplateFile();
    TemplateFile(const TemplateFile&) = delete;
    TemplateFile& operator=(const TemplateFile&) = delete;

    void Create(const QString& path);
    void Write(const char* bytes, qsizetype count);
    // Whether a copy of `source` is a copy of the template this run wrote.
    bool Serves(const QString& source) const { return fd_ >= 0 && source == path_; }
    // Writes the template's bytes to a new file open for writing.
    void CopyTo(int destinationFd, const QString& destination,
                const std::function<void()>& betweenBlocks);
    // Never fails: a template that cannot be deleted stays.
    void Remove(const QString& path) noexcept;

private:
    void Close() noexcept;

    int fd_ = -1;
    QString path_;
    off_t size_ = 0;
    // The byte every template byte equals, while that holds: copies are then written from
    // memory, never read back.
    std::optional<char> fill_;
    QByteArray buffer_;
};

}  // namespace zarame
