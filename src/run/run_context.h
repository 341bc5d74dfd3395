#pragma once

#include <QString>
#include <cstdint>

namespace zarame {

class FileService;
class Host;
class WindowModel;

// How far a walk has come through its name source, for a front end that tells the share done and
// the time left (the window's bar needs none of it): numbers made of the range, or bytes read of
// the text file. The total is 0 where it cannot be known (names through a pipe).
struct SourceExtent {
    enum class Unit { Items, Bytes };
    Unit unit = Unit::Items;
    std::int64_t done = 0;
    std::int64_t total = 0;
};

// What the procedures of one run share: the window, its host, the run's file service, the stop
// flag, the log cap and the walk's extent.
struct RunContext {
    WindowModel& model;
    Host& host;
    FileService& files;
    bool& stopRequested;
    std::int32_t logMax;
    QString templatePath;
    SourceExtent& extent;
};

// How a name source's walk ended.
enum class WalkEnd { Finished, Stopped };

}  // namespace zarame
