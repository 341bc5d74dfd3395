#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "sources/name_generator.h"

namespace zarame {

class FileService;
class TextStream;

// The lines of a text file, up to the first empty line or the end of the file. Opening the file,
// a line that cannot be read and a long wait that the stop check ends are raised to the run.
class TextFileNames final : public NameGenerator {
public:
    // The stop check is asked while a pipe has nothing to read and while a long file is looked
    // through; it may pump the window's events.
    TextFileNames(FileService& files, const QString& path, std::function<bool()> stopCheck);
    ~TextFileNames() override;

    NameStep Next() override;
    NameOrigin origin() const override { return NameOrigin::ReadFromData; }
    SourceExtent extent() const override;

    // The number of the empty line that ended the list while lines that are not empty follow
    // it in a regular file; 0 otherwise. Those lines are never made into items, which a user who
    // left a blank line in the middle of the list may want to hear.
    std::int64_t emptyLineBeforeMore() const { return emptyLineBeforeMore_; }

private:
    std::unique_ptr<TextStream> stream_;
    std::int64_t emptyLineBeforeMore_ = 0;
    bool ended_ = false;
};

}  // namespace zarame
