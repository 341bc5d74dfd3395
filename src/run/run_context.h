#pragma once

#include <QString>
#include <cstdint>

namespace zarame {

class FileService;
class Host;
class WindowModel;

// What the procedures of one run share: the window, its host, the run's file service, the stop
// flag and the log cap.
struct RunContext {
    WindowModel& model;
    Host& host;
    FileService& files;
    bool& stopRequested;
    std::int32_t logMax;
    QString templatePath;
};

// How a name source's walk ended.
enum class WalkEnd { Finished, Stopped, FailedQuietly };

}  // namespace zarame
