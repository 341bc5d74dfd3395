#include "sources/sequence_source.h"

#include <algorithm>

#include "common/numbers.h"
#include "create/item_creator.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/window_model.h"

namespace zarame {

namespace {

// No file system takes a name of more than 255 bytes, so wider padding could only make a name
// that is refused anyway; holding it here keeps a huge digit count from exhausting memory.
constexpr std::int32_t kMaximumPadding = 256;

}  // namespace

QString NumberText(std::int32_t number, std::int32_t digits) {
    const QString text = QString::number(number);
    return digits > 0 ? text.rightJustified(std::min(digits, kMaximumPadding), u'0') : text;
}

QString SequenceName(std::int32_t number, std::int32_t digits, const QString& fixedText,
                     NumberPlacement placement, const QString& extension) {
    const QString numberText = NumberText(number, digits);
    return (placement == NumberPlacement::BeforeFixedText ? numberText + fixedText
                                                          : fixedText + numberText) +
           extension;
}

WalkEnd CreateFromNumbers(RunContext& context) {
    WindowModel& model = context.model;
    // Everything but the number is fixed for the walk: what goes before it and what after.
    const QString& fixedText = model.text(TextBox::txtFix);
    const bool numberFirst = model.numberFirst();
    const QString beforeNumber = numberFirst ? QString() : fixedText;
    const QString afterNumber = (numberFirst ? fixedText : QString()) + model.text(TextBox::txtExt);
    const std::int32_t digits = ToInt32(model.text(TextBox::txtSize));
    const std::int64_t first = ToInt32(model.text(TextBox::txtMin));
    const std::int64_t last = ToInt32(model.text(TextBox::txtMax));
    // The inputs are locked for the run, so the folder and item kind are read once.
    const QString folderPrefix = model.text(TextBox::txtFolder) + u'/' + beforeNumber;
    const ItemRecipe recipe = ItemRecipeOf(model, context.templatePath);
    context.extent = {SourceExtent::Unit::Items, 0, last >= first ? last - first + 1 : 0};

    // A 64-bit counter, so that a range ending at 2147483647 ends there instead of wrapping.
    for (std::int64_t number = first; number <= last; ++number) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return WalkEnd::Stopped;
        }
        const QString path =
            folderPrefix + NumberText(static_cast<std::int32_t>(number), digits) + afterNumber;
        const bool created = CreateItem(path, recipe, context.files);
        AddLog(model, OutcomeLine(path, created), context.logMax);
        context.extent.done = number - first + 1;
        context.host.PumpEvents();
        AdvanceProgress(model);
    }
    return WalkEnd::Finished;
}

}  // namespace zarame
