#pragma once

#include <QString>
#include <memory>

namespace zarame {

class TextStream;

// What an exclusive create found: the item is new, or something of that name was there first.
enum class CreateOutcome { Created, AlreadyExists };

// The one way the system touches files and folders by path. One object serves one run; every
// failure is raised as a RunTimeError naming the path. Tests put a fault-injecting service in its
// place.
class FileService {
public:
    virtual ~FileService() = default;

    virtual bool FolderExists(const QString& path) = 0;
    virtual bool FileExists(const QString& path) = 0;

    // Creates the folder; AlreadyExists when a folder appeared there first. A file of that name is
    // a failure.
    virtual CreateOutcome CreateFolder(const QString& path) = 0;

    // Copies the source to a destination that must not exist yet: nothing is ever replaced, so a
    // file that appears between a caller's test and the copy reports AlreadyExists. A folder at
    // the destination is a failure.
    virtual CreateOutcome CopyFile(const QString& source, const QString& destination) = 0;

    // Deletes a file; a write-protected file is refused rather than forced.
    virtual void DeleteFile(const QString& path) = 0;

    virtual std::unique_ptr<TextStream> OpenTextFile(const QString& path) = 0;

    // The template that new files are copied from. Creating it removes a stale leftover, creates
    // the file exclusively without following a symbolic link, and locks it for this run, so that a
    // second run cannot delete or overwrite it; copies of it read the locked file itself.
    virtual void CreateTemplate(const QString& path) = 0;
    virtual void WriteTemplate(const char* bytes, qsizetype count) = 0;
    // Deletes the template if this run made it, or a stale one no other run holds. Never fails.
    virtual void RemoveTemplate(const QString& path) noexcept = 0;
};

}  // namespace zarame
