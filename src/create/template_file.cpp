#include "create/template_file.h"

#include <QByteArray>
#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "create/file_service.h"
#include "create/fill_value.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "window/window_model.h"

namespace zarame {

namespace {

constexpr std::int32_t kBlockSize = 32000;

TemplateOutcome WriteTemplate(RunContext& context) {
    WindowModel& model = context.model;
    model.setCaption(Label::lblNow, QString::fromUtf16(kStatusWritingTemplate));
    const std::int32_t size = ToInt32(model.text(TextBox::txtFileByte));
    if (size == 0) {
        context.files.CreateTemplate(context.templatePath);
        return TemplateOutcome::Ready;
    }
    const std::int32_t fill = ParseWriteCode(model.text(TextBox::txtCode));
    if (fill < 0 || fill > 255) {
        throw RunTimeError(
            5, QStringLiteral("書き込み値が正しくありません: ") + model.text(TextBox::txtCode));
    }
    QByteArray block(std::min(size, kBlockSize), static_cast<char>(fill));
    model.setProgressMaximum(static_cast<float>(size / kBlockSize + 1));
    context.files.CreateTemplate(context.templatePath);
    std::int32_t remaining = size;
    do {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return TemplateOutcome::Stopped;
        }
        context.files.WriteTemplate(block.constData(), std::min(remaining, kBlockSize));
        remaining -= kBlockSize;
        const ProgressBar& bar = model.progress();
        if (bar.maximum > bar.value) {
            model.setProgressValue(bar.value + 1);
        }
        context.host.PumpEvents();
    } while (remaining > 0);
    return TemplateOutcome::Ready;
}

}  // namespace

std::optional<double> BatchMaximum(const WindowModel& model) {
    if (model.nameSource() != NameSource::SequentialNumbers) {
        return 100.0;
    }
    try {
        // In 64 bits: the range 0 to 2147483647 holds one number more than 32 bits can count.
        const std::int64_t first = ToInt32(model.text(TextBox::txtMin));
        const std::int64_t last = ToInt32(model.text(TextBox::txtMax));
        return static_cast<double>(last - first + 1);
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

TemplateOutcome PrepareTemplateFile(RunContext& context, TemplateMode mode) {
    WindowModel& model = context.model;
    model.setProgressMinimum(0);
    if (const std::optional<double> maximum = BatchMaximum(model)) {
        model.setProgressMaximum(static_cast<float>(*maximum));
    }
    const float batchMaximum = model.progress().maximum;
    model.setProgressValue(0);

    TemplateOutcome outcome = TemplateOutcome::Ready;
    if (model.itemKind() == ItemKind::NewFile) {
        if (mode == TemplateMode::Finish) {
            context.files.RemoveTemplate(context.templatePath);
        } else {
            try {
                outcome = WriteTemplate(context);
            } catch (const RunTimeError& error) {
                AddLog(model, ErrorLine(error, SiteTag::TemplateBuilder), context.logMax);
                context.stopRequested = true;
                outcome = TemplateOutcome::Failed;
            }
        }
    }
    model.setProgressMaximum(batchMaximum);
    model.setProgressValue(0);
    return outcome;
}

}  // namespace zarame
