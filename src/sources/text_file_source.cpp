#include "sources/text_file_source.h"

#include "create/file_service.h"
#include "create/item_creator.h"
#include "create/item_path.h"
#include "create/text_stream.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/window_model.h"

namespace zarame {

TextWalkResult CreateFromTextFile(RunContext& context, const BatchRequest& request) {
    WindowModel& model = context.model;
    const std::unique_ptr<TextStream> stream =
        context.files.OpenTextFile(request.names.textFilePath);
    const QString& folder = request.folder;
    stream->SetStopCheck([&context] {
        context.host.PumpEvents();
        return context.stopRequested;
    });
    const ItemRecipe recipe = ItemRecipeOf(request.items, context.templatePath);
    context.extent = {SourceExtent::Unit::Bytes, 0, stream->size()};
    try {
        while (true) {
            if (context.stopRequested) {
                ReportStop(model, context.logMax);
                return {WalkEnd::Stopped};
            }
            const std::optional<QString> line = stream->ReadLine();
            if (!line) {
                return {};
            }
            if (line->isEmpty()) {
                const std::int64_t emptyLine = stream->lineNumber();
                return {WalkEnd::Finished, stream->TextFollows() ? emptyLine : 0};
            }
            const bool created = CreateItem(ItemPath(folder, *line), recipe, context.files);
            AddLog(model, OutcomeLine(*line, created), context.logMax);
            context.extent.done = stream->bytesRead();
            context.host.PumpEvents();
            AdvanceProgress(model);
        }
    } catch (const TextStream::Stopped&) {
        ReportStop(model, context.logMax);
        return {WalkEnd::Stopped};
    }
}

}  // namespace zarame
