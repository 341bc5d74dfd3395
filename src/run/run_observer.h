#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "common/run_time_error.h"
#include "sources/name_generator.h"

namespace zarame {

// How a press of the start button ended.
enum class RunOutcome {
    Completed,            // the batch ran to its end, existing items included
    Refused,              // an input check refused the run
    Failed,               // an error line ended it
    WorkbookUnavailable,  // the workbook could not be opened
    Stopped,              // the stop flag was honoured
};

// Which handler wrote an error line: the run's general handler or the template builder's.
enum class SiteTag { RunSequence = 0, TemplateBuilder = 1 };

// The stretches of a run that has passed its checks: the template (new files only), the walk
// that creates the items, and the clean-up, which every run that started reaches.
enum class RunPhase { Template, Creating, Finishing };

struct PhaseStart {
    RunPhase phase = RunPhase::Creating;
    // The size of the batch for a bar: the count of numbers, or 100 for the other sources;
    // unknown at the finish of a run whose numbers could not be read.
    std::optional<double> batchMaximum;
    // The template's blocks, 0 for an empty template.
    std::int64_t templateBlocks = 0;
};

enum class ItemResult {
    Made,
    AlreadyThere,
    Refused,  // a name read from data that would land outside the folder
    Failed,   // the system could not make it
};

// A named item, or a folder made on the way to one (when names may make their parents).
enum class ItemRole { Named, ParentFolder };

// What became of one item. A refused or failed item's error follows as an error raised by the run
// (which ends on it, except in a dry run).
struct ItemOutcome {
    // What the log shows: the name read, or the whole path of a name built from the inputs.
    const QString& subject;
    ItemResult result;
    ItemRole role = ItemRole::Named;
};

struct RunEnd {
    RunOutcome outcome = RunOutcome::Completed;
    // The number of the empty line that ended a text file's list while lines that are not empty
    // follow it; 0 when there was none.
    std::int64_t emptyLineBeforeMore = 0;
    // Why the workbook could not be opened, for a WorkbookUnavailable end.
    std::optional<RunTimeError> workbookFailure;
};

// Hears what a run does, in order: the window's log and bar, the command line's output and
// counts, a test's record. A run that is refused hears only RunAccepted (when the destination
// passed) and RunEnded.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // The destination passed its checks; the window's log of the last run is cleared here.
    virtual void RunAccepted() = 0;
    virtual void PhaseStarted(const PhaseStart& start) = 0;
    virtual void TemplateBlockWritten(std::int64_t blocksWritten, std::int64_t blockCount) = 0;
    virtual void ItemFinished(const ItemOutcome& outcome) = 0;
    // After every item and blank cell, once the events have been pumped.
    virtual void StepTaken(const SourceExtent& extent) = 0;
    virtual void StopHonoured() = 0;
    virtual void ErrorRaised(const RunTimeError& error, SiteTag site) = 0;
    virtual void RunEnded(const RunEnd& end) = 0;
};

}  // namespace zarame
