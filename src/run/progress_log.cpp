#include "run/progress_log.h"

#include <algorithm>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "window/window_model.h"

namespace zarame {

QString OutcomeLine(const QString& subject, ItemResult result) {
    static const QString createdSuffix = QString::fromUtf16(kCreatedSuffix);
    static const QString existsSuffix = QString::fromUtf16(kExistsSuffix);
    return subject + (result == ItemResult::Made ? createdSuffix : existsSuffix);
}

QString ErrorLine(const RunTimeError& error, SiteTag site) {
    return QStringLiteral("[%1][%2]").arg(error.number()).arg(static_cast<int>(site)) +
           error.description();
}

void WindowLog::Add(const QString& line) {
    // A name may hold bytes that are not text (kept as lone surrogates) and control characters;
    // the line shows them as U+FFFD and as visible symbols, so one outcome stays one line, while
    // the item on disk got the bytes themselves.
    model_.appendLogLine(VisibleLine(line));
    if (model_.logLines().size() > logMax_) {
        model_.removeFirstLogLine();
    }
    model_.setLogTopIndex(static_cast<int>(model_.logLines().size()) - 1);
}

void WindowLog::RunAccepted() {
    model_.clearLog();
}

// The bar runs from 0 to the batch's size, when that is known, and starts at 0.
void WindowLog::ResetBar(std::optional<double> batchMaximum) {
    model_.setProgressMinimum(0);
    if (batchMaximum) {
        model_.setProgressMaximum(static_cast<float>(*batchMaximum));
    }
    model_.setProgressValue(0);
}

void WindowLog::PhaseStarted(const PhaseStart& start) {
    switch (start.phase) {
        case RunPhase::Template:
            ResetBar(start.batchMaximum);
            model_.setCaption(Label::lblNow, QString::fromUtf16(kStatusWritingTemplate));
            if (start.templateBlocks > 0) {
                // The bar counts the template's blocks while it is written.
                model_.setProgressMaximum(static_cast<float>(start.templateBlocks));
            }
            break;
        case RunPhase::Creating:
            ResetBar(start.batchMaximum);
            model_.setCaption(Label::lblNow, QString::fromUtf16(kStatusCreating));
            break;
        case RunPhase::Finishing:
            model_.setProgressValue(model_.progress().minimum);
            model_.setCaption(Label::lblNow, QString());
            ResetBar(start.batchMaximum);
            break;
    }
}

// The bar shows the count of blocks written, never past its maximum: set from a count, it keeps
// moving where adding 1 to a float would stall (past 2^24 blocks).
void WindowLog::TemplateBlockWritten(std::int64_t blocksWritten, std::int64_t) {
    const ProgressBar& bar = model_.progress();
    model_.setProgressValue(std::min(static_cast<float>(blocksWritten), bar.maximum));
}

void WindowLog::ItemFinished(const ItemOutcome& outcome) {
    // A refused or failed item has its error line, written when the run ends on it.
    if (outcome.result == ItemResult::Made || outcome.result == ItemResult::AlreadyThere) {
        Add(OutcomeLine(outcome.subject, outcome.result));
    }
}

// One step up after each item, or back to the minimum once the maximum is reached.
void WindowLog::StepTaken(const SourceExtent&) {
    const ProgressBar& bar = model_.progress();
    model_.setProgressValue(bar.maximum > bar.value ? bar.value + 1 : bar.minimum);
}

void WindowLog::StopHonoured() {
    Add(QString::fromUtf16(kStoppedLine));
    model_.setCaption(Label::lblNow, QString::fromUtf16(kStatusStopped));
}

void WindowLog::ErrorRaised(const RunTimeError& error, SiteTag site) {
    Add(ErrorLine(error, site));
}

}  // namespace zarame
