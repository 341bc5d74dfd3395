#include "run/progress_log.h"

#include <algorithm>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "window/window_model.h"

namespace zarame {

namespace {

// The list counts its lines in 16 bits and needs one line to scroll to, so a stored cap outside
// 1..32767 is held to that range.
std::int32_t EffectiveCap(std::int32_t logMax) {
    return std::clamp<std::int32_t>(logMax, 1, 32767);
}

}  // namespace

void AddLog(WindowModel& model, const QString& text, std::int32_t logMax) {
    // A name may hold bytes that are not text (kept as lone surrogates) and control characters;
    // the line shows them as U+FFFD and as visible symbols, so one outcome stays one line, while
    // the item on disk got the bytes themselves.
    model.appendLogLine(VisibleLine(text));
    if (model.logLines().size() > EffectiveCap(logMax)) {
        model.removeFirstLogLine();
    }
    model.setLogTopIndex(static_cast<int>(model.logLines().size()) - 1);
}

QString OutcomeLine(const QString& subject, bool created) {
    static const QString createdSuffix = QString::fromUtf16(kCreatedSuffix);
    static const QString existsSuffix = QString::fromUtf16(kExistsSuffix);
    return subject + (created ? createdSuffix : existsSuffix);
}

QString ErrorLine(const RunTimeError& error, SiteTag site) {
    return QStringLiteral("[%1][%2]").arg(error.number()).arg(static_cast<int>(site)) +
           error.description();
}

void ReportStop(WindowModel& model, std::int32_t logMax) {
    AddLog(model, QString::fromUtf16(kStoppedLine), logMax);
    model.setCaption(Label::lblNow, QString::fromUtf16(kStatusStopped));
}

void AdvanceProgress(WindowModel& model) {
    const ProgressBar& bar = model.progress();
    model.setProgressValue(bar.maximum > bar.value ? bar.value + 1 : bar.minimum);
}

}  // namespace zarame
