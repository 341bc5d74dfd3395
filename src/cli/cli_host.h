#pragma once

#include <QElapsedTimer>
#include <csignal>

#include "cli/log_output.h"
#include "run/host.h"
#include "run/run_observer.h"
#include "window/batch_request.h"

namespace zarame {

class RunSequence;

// What a command-line run's lines say and where they go.
struct CliOutput {
    bool quiet = false;  // no per-item lines on standard output
    RunMode mode = RunMode::Create;
};

// The host and observer of a run without a window: log lines to standard output in blocks,
// messages to standard error, Ctrl+C, SIGTERM, SIGHUP and SIGPIPE as the stop button, the counts
// of what happened, and a live count on a terminal.
class CliHost final : public Host, public RunObserver {
public:
    // What happened to the items so far, counted from the run's events.
    struct Counts {
        long long made = 0;  // items and, with --parents, folders made on the way
        long long alreadyThere = 0;
        long long failed = 0;
        long long refused = 0;
        long long namedItemsMade = 0;  // those made that were named, not parent folders
    };

    using Output = CliOutput;
    explicit CliHost(Output output = {});
    ~CliHost() override;

    // These signals only raise the stop flag, however often they come, so a run always reaches
    // its clean-up and never leaves a template behind. They interrupt a waiting system call
    // rather than restart it, so that whatever the run waits on, it hears them.
    static void InstallStopSignals();
    static bool StopSignalled() { return stopSignalled_ != 0; }

    void attach(RunSequence& run) { run_ = &run; }

    void ShowMessage(const QString& text, MessageIcon icon) override;
    void MoveFocus(TextBox box) override;
    void PumpEvents() override;

    void RunAccepted() override {}
    void PhaseStarted(const PhaseStart& start) override;
    void TemplateBlockWritten(std::int64_t blocksWritten, std::int64_t blockCount) override;
    void ItemFinished(const ItemOutcome& outcome) override;
    void StepTaken(const SourceExtent& extent) override { extent_ = extent; }
    void StopHonoured() override;
    void ErrorRaised(const RunTimeError& error, SiteTag site) override;
    void RunEnded(const RunEnd& end) override { end_ = end; }

    // Writes the log lines still held and clears the live count; at the end of a run.
    void Finish();
    // On a terminal, one line after a run that created: items created, items that existed, and
    // the time taken; a second one when an empty line ended a text file's list before its end.
    void ShowSummary();
    const Counts& counts() const { return counts_; }
    // The first error line of the log, as logged; empty when there was none.
    const QString& firstError() const { return firstError_; }
    const RunEnd& end() const { return end_; }
    double elapsedSeconds() const { return static_cast<double>(clock_.elapsed()) / 1000.0; }
    LogOutput::State logState() const { return log_.state(); }
    int logError() const { return log_.error(); }
    long long droppedLogLines() const { return log_.droppedLines(); }

private:
    void WriteLogLine(const QString& line);
    void WriteErrorLine(const QString& line);
    void WriteMessage(const QString& text);
    void FlushLog();
    void ShowProgress();
    void EndProgress();

    static volatile std::sig_atomic_t stopSignalled_;

    RunSequence* run_ = nullptr;
    LogOutput log_;
    bool outputOnTerminal_ = false;
    bool progressOnTerminal_ = false;
    bool progressShown_ = false;
    Output output_;
    Counts counts_;
    QString firstError_;
    RunPhase phase_ = RunPhase::Finishing;  // none under way before the run starts
    std::int64_t templateBlocksWritten_ = 0;
    std::int64_t templateBlocks_ = 0;
    SourceExtent extent_;
    RunEnd end_;
    QElapsedTimer clock_;
    QElapsedTimer sinceFirstItem_;
    qint64 lastProgressAt_ = 0;
    qint64 lastFlushAt_ = -1000;
};

// The live count: items so far, the share of the source and the time left where the source
// knows its extent, and the rate over the time since the first item.
QString CountLine(const SourceExtent& extent, long long items, qint64 milliseconds);

// Standard error, resuming after a signal unless a stop has come.
void WriteToStandardError(const QString& text);

}  // namespace zarame
