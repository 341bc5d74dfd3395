#include "run/item_walk.h"

#include "create/item_creator.h"
#include "create/item_path.h"
#include "run/host.h"
#include "run/run_observer.h"
#include "sources/name_generator.h"

namespace zarame {

namespace {

// Makes one named item and tells the observer what became of it; the subject is what the log
// shows.
void MakeItem(RunContext& context, const NameStep& step, NameOrigin origin, const QString& folder,
              const ItemRecipe& recipe) {
    const bool typed = origin == NameOrigin::TypedInputs;
    QString path;
    try {
        path = typed ? folder + u'/' + step.name : ItemPath(folder, step.name);
    } catch (const RefusedNameError&) {
        context.observer.ItemFinished({step.name, ItemResult::Refused});
        throw;
    }
    const QString& subject = typed ? path : step.name;
    bool created = false;
    try {
        created = CreateItem(path, recipe, context.files);
    } catch (const RunTimeError&) {
        context.observer.ItemFinished({subject, ItemResult::Failed});
        throw;
    }
    context.observer.ItemFinished({subject, created ? ItemResult::Made : ItemResult::AlreadyThere});
}

}  // namespace

WalkEnd WalkItems(RunContext& context, NameGenerator& names, const QString& folder,
                  const ItemRecipe& recipe) {
    const NameOrigin origin = names.origin();
    while (!names.exhausted()) {
        if (context.stopRequested) {
            context.observer.StopHonoured();
            return WalkEnd::Stopped;
        }
        const NameStep step = names.Next();
        if (step.kind == NameStep::Kind::End) {
            return WalkEnd::Finished;
        }
        if (step.kind == NameStep::Kind::Item) {
            MakeItem(context, step, origin, folder, recipe);
        }
        context.host.PumpEvents();
        context.observer.StepTaken(names.extent());
    }
    return WalkEnd::Finished;
}

}  // namespace zarame
