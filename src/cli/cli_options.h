#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "window/window_model.h"

namespace zarame {

// What the command line asked for. Each input option becomes one input of the window, exactly as
// given; everything not given keeps the window's first-start value.
struct CliOptions {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    bool saved = false;
    std::vector<std::pair<TextBox, QString>> texts;
    std::vector<std::pair<OptionGroup, int>> selections;
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

QString CliUsage();

}  // namespace zarame
