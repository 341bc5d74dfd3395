#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "cli/cli_host.h"
#include "window/batch_request.h"

namespace zarame {

class WindowModel;
struct CliOptions;

// Everything a report tells about one run that got past its checks. Its fields, as the README
// lists them, stay stable for the scripts that read them.
struct RunReport {
    const WindowModel& model;     // the inputs as typed, after --saved and the options
    const BatchRequest& request;  // the inputs as the run used them
    const CliHost::Counts& counts;
    std::int64_t bytesWritten = 0;
    double elapsedSeconds = 0;
    RunOutcome outcome = RunOutcome::Completed;
    int exitStatus = 0;
    QString firstError;
};

// The bytes of content the made items hold (or, in a dry run, would hold): new files of the
// request's size, copies of the source's size as it is now, and nothing for folders.
std::int64_t BytesWritten(const BatchRequest& request, long long namedItemsMade);

QByteArray ReportJson(const RunReport& report);

// Why a report cannot go to the path (its folder is missing, or something other than a regular
// file stands there); nothing when it can.
std::optional<QString> ReportPathRefusal(const QString& path);

// Puts the bytes at the path in one step, so that a reader sees the old report or the new one,
// never half of one: written beside it, synced, then renamed over it. Only a regular file is
// replaced; nothing when it worked, else why not.
std::optional<QString> WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace zarame
