#include "run/template_builder.h"

#include <QByteArray>
#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "create/file_service.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "window/window_model.h"

namespace zarame {

namespace {

constexpr std::int64_t kBlockSize = 32000;

TemplateOutcome WriteTemplate(RunContext& context, const ItemRequest& items) {
    WindowModel& model = context.model;
    model.setCaption(Label::lblNow, QString::fromUtf16(kStatusWritingTemplate));
    const std::int64_t size = items.fileSize;
    if (size == 0) {
        context.files.CreateTemplate(context.templatePath);
        return TemplateOutcome::Ready;
    }
    QByteArray block(static_cast<qsizetype>(std::min(size, kBlockSize)),
                     static_cast<char>(items.fillByte));
    const std::int64_t maximum = size / kBlockSize + 1;
    model.setProgressMaximum(static_cast<float>(maximum));
    context.files.CreateTemplate(context.templatePath);
    // The bar shows the count of blocks written (never past the maximum): set from a count, it
    // keeps moving where adding 1 to a float would stall (past 2^24 blocks).
    std::int64_t written = 0;
    for (std::int64_t remaining = size; remaining > 0; remaining -= kBlockSize) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return TemplateOutcome::Stopped;
        }
        context.files.WriteTemplate(block.constData(),
                                    static_cast<qsizetype>(std::min(remaining, kBlockSize)));
        model.setProgressValue(static_cast<float>(++written));
        context.host.PumpEvents();
    }
    return TemplateOutcome::Ready;
}

// Sets the bar to 0 of the batch's size and back to that after `step`, which may use the bar for
// itself.
template <typename Step>
auto AroundBar(WindowModel& model, std::optional<double> batchMaximum, Step step) {
    model.setProgressMinimum(0);
    if (batchMaximum) {
        model.setProgressMaximum(static_cast<float>(*batchMaximum));
    }
    const float maximum = model.progress().maximum;
    model.setProgressValue(0);
    const auto result = step();
    model.setProgressMaximum(maximum);
    model.setProgressValue(0);
    return result;
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
    return AroundBar(context.model, BatchMaximum(request.names), [&] {
        // Random files are each written for themselves: there is nothing to copy them from.
        if (request.items.kind != ItemKind::NewFile ||
            request.items.content == FileContent::Random) {
            return TemplateOutcome::Ready;
        }
        try {
            return WriteTemplate(context, request.items);
        } catch (const RunTimeError& error) {
            AddLog(context.model, ErrorLine(error, SiteTag::TemplateBuilder), context.logMax);
            context.stopRequested = true;
            return TemplateOutcome::Failed;
        }
    });
}

void FinishTemplateFile(RunContext& context, ItemKind kind, std::optional<double> batchMaximum) {
    AroundBar(context.model, batchMaximum, [&] {
        if (kind == ItemKind::NewFile) {
            context.files.RemoveTemplate(context.templatePath);
        }
        return true;
    });
}

}  // namespace zarame
