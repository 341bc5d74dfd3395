#pragma once

#include <QString>

namespace zarame {

class FileService;
class Host;
class RunObserver;

// What the procedures of one run share: the host that pumps and shows messages, the observer
// that hears what happened, the run's file service, the stop flag and the template's path.
struct RunContext {
    Host& host;
    RunObserver& observer;
    FileService& files;
    bool& stopRequested;
    QString templatePath;
};

// How a walk through the names ended.
enum class WalkEnd { Finished, Stopped };

}  // namespace zarame
