#include "run/template_builder.h"

#include <QByteArray>
#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "create/file_service.h"
#include "run/host.h"
#include "run/run_context.h"
#include "run/run_observer.h"

namespace zarame {

namespace {

constexpr std::int64_t kBlockSize = 32000;

TemplateOutcome WriteTemplate(RunContext& context, const ItemRequest& items,
                              std::optional<double> batchMaximum) {
    const std::int64_t size = items.fileSize;
    const std::int64_t blockCount = size == 0 ? 0 : size / kBlockSize + 1;
    context.observer.PhaseStarted({RunPhase::Template, batchMaximum, blockCount});
    if (size == 0) {
        context.files.CreateTemplate(context.templatePath);
        return TemplateOutcome::Ready;
    }
    QByteArray block(static_cast<qsizetype>(std::min(size, kBlockSize)),
                     static_cast<char>(items.fillByte));
    context.files.CreateTemplate(context.templatePath);
    std::int64_t written = 0;
    for (std::int64_t remaining = size; remaining > 0; remaining -= kBlockSize) {
        if (context.stopRequested) {
            context.observer.StopHonoured();
            return TemplateOutcome::Stopped;
        }
        context.files.WriteTemplate(block.constData(),
                                    static_cast<qsizetype>(std::min(remaining, kBlockSize)));
        context.observer.TemplateBlockWritten(++written, blockCount);
        context.host.PumpEvents();
    }
    return TemplateOutcome::Ready;
}

}  // namespace

double BatchMaximum(const NameRequest& names) {
    if (names.source != NameSource::SequentialNumbers) {
        return 100.0;
    }
    // In 64 bits: the range 0 to 2147483647 holds one number more than 32 bits can count.
    return static_cast<double>(std::int64_t{names.numbers.last} - names.numbers.first + 1);
}

std::optional<double> BatchMaximum(NameSource source, QStringView first, QStringView last) {
    if (source != NameSource::SequentialNumbers) {
        return 100.0;
    }
    try {
        return static_cast<double>(std::int64_t{ToInt32(last)} - ToInt32(first) + 1);
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

TemplateOutcome PrepareTemplateFile(RunContext& context, const BatchRequest& request) {
    // A dry run writes nothing, and would copy from no template.
    if (!UsesTemplate(request.items) || request.mode == RunMode::DryRun) {
        return TemplateOutcome::Ready;
    }
    try {
        return WriteTemplate(context, request.items, BatchMaximum(request.names));
    } catch (const RunTimeError& error) {
        context.observer.ErrorRaised(error, SiteTag::TemplateBuilder);
        context.stopRequested = true;
        return TemplateOutcome::Failed;
    }
}

void FinishTemplateFile(RunContext& context, ItemKind kind) {
    if (kind == ItemKind::NewFile) {
        context.files.RemoveTemplate(context.templatePath);
    }
}

}  // namespace zarame
