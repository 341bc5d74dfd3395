#include "cli/cli_host.h"

#include <unistd.h>
#include <QByteArray>
#include <initializer_list>

#include "run/run_sequence.h"
#include "window/window_model.h"

namespace zarame {

volatile std::sig_atomic_t CliHost::stopSignalled_ = 0;

namespace {

// Log lines reach a reader at least this often, and the live count is redrawn as often.
constexpr qint64 kRefreshMilliseconds = 200;

}  // namespace

void WriteToStandardError(const QString& text) {
    WriteMessage(STDERR_FILENO, text.toLocal8Bit(), &CliHost::StopSignalled);
}

CliHost::CliHost(WindowModel& model) : log_(STDOUT_FILENO, &CliHost::StopSignalled) {
    outputOnTerminal_ = ::isatty(STDOUT_FILENO) != 0;
    progressOnTerminal_ = ::isatty(STDERR_FILENO) != 0;
    clock_.start();
    QObject::connect(&model, &WindowModel::logLineAppended, &model,
                     [this](const QString& line) { WriteLogLine(line); });
}

CliHost::~CliHost() {
    Finish();
}

void CliHost::InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = [](int) { stopSignalled_ = 1; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    // A closed terminal or a reader that went away (zarame-cli ... | head) would otherwise end
    // the program on its next write, before the clean-up that removes the template.
    for (int stopSignal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaction(stopSignal, &action, nullptr);
    }
}

void CliHost::ShowMessage(const QString& text, MessageIcon) {
    EndProgress();
    WriteToStandardError(QStringLiteral("ざらめ: ") + text + u'\n');
}

void CliHost::MoveFocus(TextBox) {
    // No focus without a window: the message names the input.
}

void CliHost::PumpEvents() {
    // The first lines go out at once, so that an output that cannot be written stops the run
    // after one item.
    const qint64 now = clock_.elapsed();
    if (log_.HasPending() && now - lastFlushAt_ >= kRefreshMilliseconds) {
        lastFlushAt_ = now;
        FlushLog();
    }
    if (stopSignalled_ != 0 && run_ != nullptr) {
        run_->cmdStop_Click();
    }
    if (progressOnTerminal_) {
        ShowProgress();
    }
}

void CliHost::Finish() {
    FlushLog();
    EndProgress();
}

void CliHost::WriteLogLine(const QString& line) {
    ++items_;
    log_.Append(line);
    // A log that cannot be written any more ends the run as the stop button would.
    if (log_.state() != LogOutput::State::Open && run_ != nullptr) {
        run_->cmdStop_Click();
    }
}

void CliHost::FlushLog() {
    if (!log_.HasPending()) {
        return;
    }
    if (progressShown_ && outputOnTerminal_) {
        EndProgress();  // keep the live count out of the lines on a shared terminal
    }
    log_.Flush();
    if (log_.state() != LogOutput::State::Open && run_ != nullptr) {
        run_->cmdStop_Click();
    }
}

void CliHost::ShowProgress() {
    const qint64 now = clock_.elapsed();
    if (now - lastProgressAt_ < kRefreshMilliseconds) {
        return;
    }
    lastProgressAt_ = now;
    const double seconds = static_cast<double>(now) / 1000.0;
    const long long rate = seconds > 0 ? static_cast<long long>(items_ / seconds) : 0;
    WriteToStandardError(QStringLiteral("\r\033[K%1 件 (%2 件/秒)").arg(items_).arg(rate));
    progressShown_ = true;
}

void CliHost::EndProgress() {
    if (progressShown_) {
        WriteToStandardError(QStringLiteral("\r\033[K"));
        progressShown_ = false;
    }
}

}  // namespace zarame
