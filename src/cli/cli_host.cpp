#include "cli/cli_host.h"

#include <unistd.h>
#include <QByteArray>
#include <initializer_list>

#include "run/run_sequence.h"
#include "window/window_model.h"

namespace zarame {

volatile std::sig_atomic_t CliHost::stopSignalled_ = 0;

namespace {

void WriteToStandardError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

}  // namespace

CliHost::CliHost(WindowModel& model) {
    progressOnTerminal_ = ::isatty(STDERR_FILENO) != 0;
    clock_.start();
    QObject::connect(&model, &WindowModel::logLineAppended, &model,
                     [this](const QString& line) { WriteLogLine(line); });
}

CliHost::~CliHost() {
    EndProgress();
}

void CliHost::InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = [](int) { stopSignalled_ = 1; };
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
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
    if (stopSignalled_ != 0 && run_ != nullptr) {
        run_->cmdStop_Click();
    }
    if (progressOnTerminal_) {
        ShowProgress();
    }
}

void CliHost::WriteLogLine(const QString& line) {
    ++items_;
    if (progressShown_ && ::isatty(STDOUT_FILENO) != 0) {
        EndProgress();  // keep the live count out of the lines on a shared terminal
    }
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void CliHost::ShowProgress() {
    const qint64 now = clock_.elapsed();
    if (now - lastProgressAt_ < 200) {
        return;
    }
    lastProgressAt_ = now;
    std::fflush(stdout);
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
