#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "window/batch_request.h"
#include "window/window_model.h"

namespace zarame {

// What the command line asked for. Each input option becomes one input of the window, exactly as
// given; everything not given keeps the window's first-start value. The size and the random fill
// go past what the window's inputs hold: they reach the checked request instead.
struct CliOptions {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    bool saved = false;
    std::vector<std::pair<TextBox, QString>> texts;
    std::vector<std::pair<OptionGroup, int>> selections;
    std::optional<std::int64_t> fileSize;
    FileContent content = FileContent::FillByte;
    std::optional<std::uint64_t> randomSeed;  // a random fill without one takes a fresh seed
    ParentFolders parentFolders = ParentFolders::MustExist;
    RunMode mode = RunMode::Create;
    // No per-item lines on standard output; errors and the summary still go to standard error.
    bool quiet = false;
    std::optional<QString> reportPath;
};

struct CliParseResult {
    std::optional<CliOptions> options;
    QString error;  // set when options is empty
};

// The program's arguments (argv without the program name) as text that keeps every byte: a path
// that is not valid UTF-8 must still name the same file when it reaches the system.
QStringList DecodeArguments(int argc, const char* const argv[]);

CliParseResult ParseCliOptions(const QStringList& arguments);

// Puts the options into the window, selections first, as a user would.
void ApplyCliOptions(const CliOptions& options, WindowModel& model);

// Puts the size, the random fill, the parent folders and the dry run into the request the
// window's inputs passed; called once per run, so an unseeded random fill draws its seed there.
void AmendRequest(const CliOptions& options, BatchRequest& request);

QString CliUsage();

}  // namespace zarame
