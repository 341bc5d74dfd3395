// zarame-cli: the same run as the window, filled from the command line, for scripts.
#include <QCoreApplication>
#include <cstdio>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "create/application_folder.h"
#include "run/run_sequence.h"
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
        case zarame::RunOutcome::EndedEarly:
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

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const zarame::CliParseResult parsed = zarame::ParseCliOptions(arguments);
    if (!parsed.options) {
        PrintTo(stderr,
                QStringLiteral("zarame-cli: ") + parsed.error + u'\n' + u'\n' + zarame::CliUsage());
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
    if (options.saved) {
        PrintTo(stderr, QStringLiteral("zarame-cli: --saved はまだ使えません "
                                       "(設定の保存に未対応です)\n"));
        return kRefused;
    }

    zarame::WindowModel model;
    zarame::ApplyCliOptions(options, model);
    zarame::CliHost host(model);
    zarame::RunSequence run(model, host, zarame::DefaultTemplatePath());
    host.attach(run);
    zarame::CliHost::InstallStopSignals();

    const zarame::RunOutcome outcome = run.cmdCreate_Click();
    host.EndProgress();
    std::fflush(stdout);
    if (outcome == zarame::RunOutcome::EndedEarly && run.quietFailure()) {
        // The window ends such a walk without a line; a script still needs to know why.
        PrintTo(stderr, QStringLiteral("zarame-cli: テキストファイルの処理を途中で終了しました: ") +
                            run.quietFailure()->description() + u'\n');
    }
    if (outcome == zarame::RunOutcome::WorkbookUnavailable && run.connectionFailure()) {
        // The message names no cause (it is the same for every one); a script needs the cause.
        PrintTo(stderr,
                QStringLiteral("zarame-cli: ") + run.connectionFailure()->description() + u'\n');
    }
    return ExitStatusOf(outcome);
}
