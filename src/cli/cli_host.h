#pragma once

#include <QElapsedTimer>
#include <csignal>
#include <cstdio>

#include "run/host.h"

namespace zarame {

class RunSequence;
class WindowModel;

// The host of a run without a window: log lines to standard output as they come, messages to
// standard error, Ctrl+C, SIGTERM, SIGHUP and SIGPIPE as the stop button, and a live count on a
// terminal.
class CliHost final : public Host {
public:
    explicit CliHost(WindowModel& model);
    ~CliHost() override;

    // These signals only raise the stop flag, however often they come, so a run always reaches
    // its clean-up and never leaves a template behind.
    static void InstallStopSignals();

    void attach(RunSequence& run) { run_ = &run; }

    void ShowMessage(const QString& text, MessageIcon icon) override;
    void MoveFocus(TextBox box) override;
    void PumpEvents() override;

    void EndProgress();

private:
    void WriteLogLine(const QString& line);
    void ShowProgress();

    static volatile std::sig_atomic_t stopSignalled_;

    RunSequence* run_ = nullptr;
    bool progressOnTerminal_ = false;
    bool progressShown_ = false;
    long long items_ = 0;
    QElapsedTimer clock_;
    qint64 lastProgressAt_ = 0;
};

}  // namespace zarame
