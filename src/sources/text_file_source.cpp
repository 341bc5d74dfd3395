#include "sources/text_file_source.h"

#include "create/file_service.h"
#include "create/item_creator.h"
#include "create/item_path.h"
#include "create/text_stream.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "window/window_model.h"

namespace zarame {

TextWalkResult CreateFromTextFile(RunContext& context) {
    WindowModel& model = context.model;
    try {
        const std::unique_ptr<TextStream> stream =
            context.files.OpenTextFile(model.text(TextBox::txtText));
        const QString& folder = model.text(TextBox::txtFolder);
        stream->SetStopCheck([&context] {
            context.host.PumpEvents();
            return context.stopRequested;
        });
        const ItemRecipe recipe = ItemRecipeOf(model, context.templatePath);
        context.extent = {SourceExtent::Unit::Bytes, 0, stream->size()};
        while (true) {
            if (context.stopRequested) {
                ReportStop(model, context.logMax);
                return {WalkEnd::Stopped, std::nullopt};
            }
            const std::optional<QString> line = stream->ReadLine();
            if (!line || line->isEmpty()) {
                return {};
            }
            const bool created = CreateItem(ItemPath(folder, *line), recipe, context.files);
            AddLog(model, OutcomeLine(*line, created), context.logMax);
            context.extent.done = stream->bytesRead();
            context.host.PumpEvents();
            AdvanceProgress(model);
        }
    } catch (const RefusedNameError& error) {
        // Unlike a failure, a refused name is the list's fault, not the system's: the user must
        // learn which line it was.
        AddLog(model, ErrorLine(error, SiteTag::RunSequence), context.logMax);
        return {WalkEnd::FailedQuietly, error};
    } catch (const TextStream::Stopped&) {
        ReportStop(model, context.logMax);
        return {WalkEnd::Stopped, std::nullopt};
    } catch (const RunTimeError& error) {
        return {WalkEnd::FailedQuietly, error};
    }
}

}  // namespace zarame
