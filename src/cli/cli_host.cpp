#include "cli/cli_host.h"

#include <unistd.h>
#include <QByteArray>
#include <initializer_list>

#include "common/byte_text.h"
#include "run/progress_log.h"
#include "run/run_sequence.h"

namespace zarame {

volatile std::sig_atomic_t CliHost::stopSignalled_ = 0;

namespace {

// Log lines reach a reader at least this often, and the live count is redrawn as often.
constexpr qint64 kRefreshMilliseconds = 200;

// Every message on standard error starts with the program's name, so that a script's log of
// several tools tells whose it is.
constexpr char16_t kMessagePrefix[] = u"zarame-cli: ";

// A dry run's line for an item it would make.
constexpr char16_t kWouldCreateSuffix[] = u"を作成します";

// 1234567 as "1,234,567", as Japanese users write counts.
QString Grouped(long long value) {
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) {
        digits.insert(at, u',');
    }
    return value < 0 ? u'-' + digits : digits;
}

QString Duration(double seconds) {
    const long long whole = static_cast<long long>(seconds + 0.5);
    if (whole < 60) {
        return QStringLiteral("%1 秒").arg(whole);
    }
    if (whole < 3600) {
        return QStringLiteral("%1 分 %2 秒").arg(whole / 60).arg(whole % 60);
    }
    return QStringLiteral("%1 時間 %2 分").arg(whole / 3600).arg(whole % 3600 / 60);
}

}  // namespace

// "12,345 / 100,000 件 (12%)  13,580 件/秒  残り 6 秒" for a range of numbers; the text file's
// share and time left come from the bytes read of its size, its total of lines being unknown; a
// pipe has neither, so only the count and the rate remain.
QString CountLine(const SourceExtent& extent, long long items, qint64 milliseconds) {
    const double seconds = static_cast<double>(milliseconds) / 1000.0;
    const double rate = seconds > 0 ? static_cast<double>(items) / seconds : 0;
    // A file that grew while it was read has no share worth showing.
    const bool shareKnown = extent.total > 0 && extent.done <= extent.total;
    QString text = Grouped(items);
    if (shareKnown && extent.unit == SourceExtent::Unit::Items) {
        text += QStringLiteral(" / %1").arg(Grouped(extent.total));
    }
    text += QStringLiteral(" 件");
    if (shareKnown) {
        text += QStringLiteral(" (%1%)").arg(extent.done * 100 / extent.total);
    }
    text += QStringLiteral("  %1 件/秒").arg(Grouped(static_cast<long long>(rate)));
    if (shareKnown && extent.done > 0 && seconds > 0) {
        const double left = seconds * static_cast<double>(extent.total - extent.done) /
                            static_cast<double>(extent.done);
        text += QStringLiteral("  残り ") + Duration(left);
    }
    return text;
}

void WriteToStandardError(const QString& text) {
    WriteMessage(STDERR_FILENO, VisibleText(text).toLocal8Bit(), &CliHost::StopSignalled);
}

CliHost::CliHost(Output output) : log_(STDOUT_FILENO, &CliHost::StopSignalled), output_(output) {
    outputOnTerminal_ = ::isatty(STDOUT_FILENO) != 0;
    progressOnTerminal_ = ::isatty(STDERR_FILENO) != 0;
    clock_.start();
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
    WriteMessage(text);
}

void CliHost::WriteMessage(const QString& text) {
    EndProgress();
    WriteToStandardError(QString::fromUtf16(kMessagePrefix) + text + u'\n');
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

void CliHost::PhaseStarted(const PhaseStart& start) {
    phase_ = start.phase;
    templateBlocks_ = start.templateBlocks;
    templateBlocksWritten_ = 0;
}

void CliHost::TemplateBlockWritten(std::int64_t blocksWritten, std::int64_t blockCount) {
    templateBlocksWritten_ = blocksWritten;
    templateBlocks_ = blockCount;
}

void CliHost::ItemFinished(const ItemOutcome& outcome) {
    if (!sinceFirstItem_.isValid()) {
        sinceFirstItem_.start();
    }
    switch (outcome.result) {
        case ItemResult::Made:
            ++counts_.made;
            if (outcome.role == ItemRole::Named) {
                ++counts_.namedItemsMade;
            }
            break;
        case ItemResult::AlreadyThere:
            ++counts_.alreadyThere;
            break;
        case ItemResult::Refused:
            ++counts_.refused;
            return;  // its error line follows
        case ItemResult::Failed:
            ++counts_.failed;
            return;
    }
    if (output_.quiet) {
        return;
    }
    if (output_.mode == RunMode::DryRun && outcome.result == ItemResult::Made) {
        WriteLogLine(outcome.subject + QString::fromUtf16(kWouldCreateSuffix));
    } else {
        WriteLogLine(OutcomeLine(outcome.subject, outcome.result));
    }
}

void CliHost::StopHonoured() {
    if (!output_.quiet) {
        WriteLogLine(QString::fromUtf16(kStoppedLine));
    }
}

void CliHost::ErrorRaised(const RunTimeError& error, SiteTag site) {
    WriteErrorLine(VisibleLine(ErrorLine(error, site)));
}

// An error line goes to the log and to standard error, so that a script that throws the log away
// still has the cause; the log's lines before it are written first, to keep the order on a
// terminal that shows both.
void CliHost::WriteErrorLine(const QString& line) {
    if (firstError_.isEmpty()) {
        firstError_ = line;
    }
    if (!output_.quiet) {
        WriteLogLine(line);
        FlushLog();
    }
    WriteMessage(line);
}

void CliHost::WriteLogLine(const QString& line) {
    log_.Append(VisibleLine(line));
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
    QString text;
    if (phase_ == RunPhase::Template) {
        text = QString::fromUtf16(kStatusWritingTemplate) +
               QStringLiteral(" %1 / %2")
                   .arg(Grouped(templateBlocksWritten_), Grouped(templateBlocks_));
    } else {
        text = CountLine(phase_ == RunPhase::Creating ? extent_ : SourceExtent{},
                         counts_.made + counts_.alreadyThere + counts_.failed + counts_.refused,
                         sinceFirstItem_.isValid() ? sinceFirstItem_.elapsed() : 0);
    }
    WriteToStandardError(QStringLiteral("\r\033[K") + text);
    progressShown_ = true;
}

void CliHost::ShowSummary() {
    // A script reads the log, and standard error stays for what went wrong, unless the log is
    // kept off standard output or only tells what would happen.
    if (!progressOnTerminal_ && !output_.quiet && output_.mode == RunMode::Create) {
        return;
    }
    const QString seconds = QString::number(elapsedSeconds(), 'f', 1);
    if (output_.mode == RunMode::DryRun) {
        WriteMessage(QStringLiteral("試行のみ (何も作成していません): 作成予定 %1 件、既存 %2 件、"
                                    "作成できない名前 %3 件、経過 %4 秒")
                         .arg(Grouped(counts_.made), Grouped(counts_.alreadyThere),
                              Grouped(counts_.failed + counts_.refused), seconds));
    } else {
        WriteMessage(QStringLiteral("作成 %1 件、既存 %2 件、経過 %3 秒")
                         .arg(Grouped(counts_.made), Grouped(counts_.alreadyThere), seconds));
    }
    // A blank line left inside a list ends it there, as it does in the window; whoever typed
    // the list may not have meant that.
    if (end_.emptyLineBeforeMore > 0) {
        WriteMessage(
            QStringLiteral("%1 行目の空行で一覧が終わりました。その後の行からは作成していません")
                .arg(Grouped(end_.emptyLineBeforeMore)));
    }
}

void CliHost::EndProgress() {
    if (progressShown_) {
        WriteToStandardError(QStringLiteral("\r\033[K"));
        progressShown_ = false;
    }
}

}  // namespace zarame
