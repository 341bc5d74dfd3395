#include "sources/sequence_source.h"

#include "create/item_creator.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/sequence_name.h"

namespace zarame {

WalkEnd CreateFromNumbers(RunContext& context, const BatchRequest& request) {
    WindowModel& model = context.model;
    const NumberSequence& numbers = request.names.numbers;
    // Everything but the number is fixed for the walk: what goes before it and what after.
    const SequenceFrame frame = FrameOf(numbers);
    const QString folderPrefix = request.folder + u'/' + frame.beforeNumber;
    const ItemRecipe recipe = ItemRecipeOf(request.items, context.templatePath);
    const std::int64_t first = numbers.first;
    const std::int64_t last = numbers.last;
    context.extent = {SourceExtent::Unit::Items, 0, last >= first ? last - first + 1 : 0};

    // A 64-bit counter, so that a range ending at 2147483647 ends there instead of wrapping.
    for (std::int64_t number = first; number <= last; ++number) {
        if (context.stopRequested) {
            ReportStop(model, context.logMax);
            return WalkEnd::Stopped;
        }
        const QString path = folderPrefix +
                             NumberText(static_cast<std::int32_t>(number), numbers.digitCount) +
                             frame.afterNumber;
        const bool created = CreateItem(path, recipe, context.files);
        AddLog(model, OutcomeLine(path, created), context.logMax);
        context.extent.done = number - first + 1;
        context.host.PumpEvents();
        AdvanceProgress(model);
    }
    return WalkEnd::Finished;
}

}  // namespace zarame
