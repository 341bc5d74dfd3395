// zarame-cli: the same run as the window, filled from the command line, for scripts.
#include <QCoreApplication>
#include <cstdio>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/run_report.h"
#include "common/byte_text.h"
#include "common/process_start.h"
#include "common/run_time_error.h"
#include "create/application_folder.h"
#include "run/run_sequence.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "window/window_model.h"

namespace {

enum ExitStatus {
    kCompleted = 0,
    kEndedByError = 1,
    kRefused = 2,
    kWorkbookUnavailable = 3,
    kStopped = 130,
};

void PrintTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

int ExitStatusOf(zarame::RunOutcome outcome) {
    switch (outcome) {
        case zarame::RunOutcome::Completed:
            return kCompleted;
        case zarame::RunOutcome::Failed:
            return kEndedByError;
        case zarame::RunOutcome::Refused:
            return kRefused;
        case zarame::RunOutcome::WorkbookUnavailable:
            return kWorkbookUnavailable;
        case zarame::RunOutcome::Stopped:
            return kStopped;
    }
    return kEndedByError;
}

// The exit status of a run once its log has been written: a log that could not be written, or
// was cut short, says so on standard error and in the status.
int ExitStatusAfterTheLog(const zarame::CliHost& host, zarame::RunOutcome outcome) {
    switch (host.logState()) {
        case zarame::LogOutput::State::Failed:
            // Items made without their log lines are a failed run for a script.
            zarame::WriteToStandardError(
                QStringLiteral("zarame-cli: ログを書き込めません: ") +
                zarame::FileSystemError(host.logError(), QStringLiteral("標準出力")).description() +
                u'\n');
            return kEndedByError;
        case zarame::LogOutput::State::Abandoned:
            // The reader stopped reading and the stop could not wait for it: a script must know
            // that its log is short, and by how much.
            zarame::WriteToStandardError(
                QStringLiteral("zarame-cli: 出力が読み取られないまま中止したため、ログの %1 "
                               "行を書き出せませんでした\n")
                    .arg(host.droppedLogLines()));
            [[fallthrough]];
        case zarame::LogOutput::State::ReaderGone:
            return outcome == zarame::RunOutcome::Completed ? kStopped : ExitStatusOf(outcome);
        case zarame::LogOutput::State::Open:
            break;
    }
    // A dry run that met names the real run would fail on ends as that run would.
    const zarame::CliHost::Counts& counts = host.counts();
    if (outcome == zarame::RunOutcome::Completed && counts.failed + counts.refused > 0) {
        return kEndedByError;
    }
    return ExitStatusOf(outcome);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!zarame::PrepareProcess()) {
        return kEndedByError;
    }
    // Taken from argv as bytes, before Qt decodes them (and turns invalid UTF-8 into U+FFFD).
    const QStringList arguments = zarame::DecodeArguments(argc, argv);
    QCoreApplication application(argc, argv);

    const zarame::CliParseResult parsed = zarame::ParseCliOptions(arguments);
    if (!parsed.options) {
        zarame::WriteToStandardError(QStringLiteral("zarame-cli: ") + parsed.error + u'\n' + u'\n' +
                                     zarame::CliUsage());
        return kRefused;
    }
    const zarame::CliOptions& options = *parsed.options;
    if (options.request == zarame::CliOptions::Request::Help) {
        PrintTo(stdout, zarame::CliUsage());
        return kCompleted;
    }
    if (options.request == zarame::CliOptions::Request::Version) {
        PrintTo(stdout, QStringLiteral("zarame-cli %1\n").arg(QStringLiteral(PROJECT_VERSION)));
        return kCompleted;
    }

    zarame::WindowModel model;
    if (options.saved) {
        // The window's stored inputs, read only: the command line never writes the store.
        const QString settingsPath = zarame::DefaultSettingsPath();
        zarame::IniSettingsStore store(settingsPath);
        if (!store.readable()) {
            // The window would start from the first-start values; a script that asked for the
            // stored inputs must not get a run of other inputs instead.
            zarame::WriteToStandardError(
                QStringLiteral("zarame-cli: 保存された設定を読めません: ") +
                zarame::VisibleLine(settingsPath) + u'\n');
            return kRefused;
        }
        const zarame::StoredSettings stored = zarame::LoadSettings(store);
        zarame::ApplyRunSettings(stored.inputs, model);
    }
    // A report that could not be written after the run would leave a script with items and no
    // report: a place where it cannot go is refused before anything is made.
    if (options.reportPath) {
        if (const std::optional<QString> refusal = zarame::ReportPathRefusal(*options.reportPath)) {
            zarame::WriteToStandardError(QStringLiteral("zarame-cli: ") + *refusal + u'\n');
            return kRefused;
        }
    }
    zarame::ApplyCliOptions(options, model);
    zarame::CliHost host({options.quiet, options.mode});
    zarame::RunSequence run(model, host, host, zarame::DefaultTemplatePath());
    run.setCellReach(zarame::CellReach::WholeSheet);
    std::optional<zarame::BatchRequest> request;  // once the inputs passed their checks
    run.setRequestAmendment([&](zarame::BatchRequest& checked) {
        zarame::AmendRequest(options, checked);
        request = checked;
    });
    host.attach(run);
    zarame::CliHost::InstallStopSignals();

    const zarame::RunOutcome outcome = run.cmdCreate_Click();
    host.Finish();
    if (outcome != zarame::RunOutcome::Refused &&
        outcome != zarame::RunOutcome::WorkbookUnavailable) {
        host.ShowSummary();
    }
    const int status = ExitStatusAfterTheLog(host, outcome);
    // A run that could not open its workbook made nothing and has its message and exit status.
    if (!options.reportPath || !request || outcome == zarame::RunOutcome::WorkbookUnavailable) {
        return status;
    }
    const zarame::RunReport report{model,
                                   *request,
                                   host.counts(),
                                   zarame::BytesWritten(*request, host.counts().namedItemsMade),
                                   host.elapsedSeconds(),
                                   outcome,
                                   status,
                                   host.firstError()};
    if (const std::optional<QString> failure =
            zarame::WriteFileAtomically(*options.reportPath, zarame::ReportJson(report))) {
        zarame::WriteToStandardError(QStringLiteral("zarame-cli: レポートを書き込めません: ") +
                                     *failure + u'\n');
        return status == kCompleted ? kEndedByError : status;
    }
    return status;
}
