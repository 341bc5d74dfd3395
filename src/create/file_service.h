#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace zarame {

class TextStream;

// What an exclusive create found: the item is new, or something of that name was there first.
enum class CreateOutcome { Created, AlreadyExists };

// Raised by a write that the stop check ended part-way through one large item; the half-made item
// is removed first.
struct ItemStopped {};

// The one way the system touches files and folders by path. One object serves one run; every
// failure is raised as a RunTimeError naming the path. Tests put a fault-injecting service in its
// place.
class FileService {
public:
    virtual ~FileService() = default;

    // Asked now and then while one item takes long to write (a copy of gigabytes), so that a stop
    // is heard within a second even then; it may pump the window's events.
    virtual void SetStopCheck(std::function<bool()> stopCheck) { (void)stopCheck; }

    virtual bool FolderExists(const QString& path) = 0;
    virtual bool FileExists(const QString& path) = 0;

    // Creates the folder; AlreadyExists when a folder (or a link to one) is there. Anything else
    // of that name is a failure. The create is its own existence test.
    virtual CreateOutcome CreateFolder(const QString& path) = 0;

    // Copies the source to a destination that must not exist yet: nothing is ever replaced, and
    // anything but a folder at the destination (a file, a FIFO, a dangling link) reports
    // AlreadyExists without the source being opened. A folder there is a failure. The copy holds
    // the source's bytes up to its size when opened; a source that is not a regular file is
    // refused.
    virtual CreateOutcome CopyFile(const QString& source, const QString& destination) = 0;

    // Writes a new file of `size` pseudo-random bytes, the stream of item `itemIndex` of a run
    // seeded with `runSeed` (see RandomBytes), at a destination that must not exist yet: the
    // same exclusive create, existence answers and clean-up of a failed write as CopyFile.
    virtual CreateOutcome CreateRandomFile(const QString& destination, std::int64_t size,
                                           std::uint64_t runSeed, std::uint64_t itemIndex) = 0;
    // The same for a file of `size` bytes that are all `fillByte`.
    virtual CreateOutcome CreateFilledFile(const QString& destination, std::int64_t size,
                                           std::uint8_t fillByte) = 0;

    // Deletes a file; a write-protected file is refused rather than forced.
    virtual void DeleteFile(const QString& path) = 0;

    virtual std::unique_ptr<TextStream> OpenTextFile(const QString& path) = 0;

    // The template that new files are copied from. Creating it makes and locks the file before it
    // has its name, then gives it the name, removing a stale leftover (one no run holds locked)
    // without following a symbolic link; so a second run can neither delete nor overwrite it.
    // Copies are made from what this run wrote, never from whatever the name points at.
    virtual void CreateTemplate(const QString& path) = 0;
    virtual void WriteTemplate(const char* bytes, qsizetype count) = 0;
    // Deletes the template if this run made it, or a stale one no other run holds. Never fails.
    virtual void RemoveTemplate(const QString& path) noexcept = 0;
};

}  // namespace zarame
