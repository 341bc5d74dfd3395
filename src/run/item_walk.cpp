#include "run/item_walk.h"

#include "create/dry_run_file_service.h"
#include "create/file_service.h"
#include "create/item_creator.h"
#include "create/item_path.h"
#include "run/host.h"
#include "run/run_observer.h"
#include "sources/name_generator.h"

namespace zarame {

namespace {

// Makes the folders a name holds before its last part, as mkdir -p would: one that is there is
// passed over, one that is made is heard like an item, logged by its name up to that folder.
void MakeParents(RunContext& context, const QString& folder, const QString& name,
                 NameOrigin origin) {
    for (qsizetype slash = name.indexOf(u'/'); slash >= 0; slash = name.indexOf(u'/', slash + 1)) {
        const QString parent = name.left(slash);
        if (parent.isEmpty() || parent.endsWith(u'/')) {
            continue;  // a leading or doubled slash names no folder of its own
        }
        const QString path = folder + u'/' + parent;
        const QString& subject = origin == NameOrigin::TypedInputs ? path : parent;
        if (context.files.CreateFolder(path) == CreateOutcome::Created) {
            context.observer.ItemFinished({subject, ItemResult::Made, ItemRole::ParentFolder});
        }
    }
}

// Makes one named item and tells the observer what became of it; the subject is what the log
// shows.
void MakeItem(RunContext& context, const NameStep& step, NameOrigin origin, const WalkPlan& plan) {
    const bool typed = origin == NameOrigin::TypedInputs;
    QString path;
    try {
        path = typed ? plan.folder + u'/' + step.name : ItemPath(plan.folder, step.name);
    } catch (const RefusedNameError&) {
        context.observer.ItemFinished({step.name, ItemResult::Refused});
        throw;
    }
    const QString& subject = typed ? path : step.name;
    bool created = false;
    try {
        if (plan.parentFolders == ParentFolders::Make) {
            MakeParents(context, plan.folder, step.name, origin);
        }
        created = CreateItem(path, plan.recipe, context.files);
    } catch (const RunTimeError&) {
        context.observer.ItemFinished({subject, ItemResult::Failed});
        throw;
    }
    context.observer.ItemFinished({subject, created ? ItemResult::Made : ItemResult::AlreadyThere});
}

}  // namespace

WalkEnd WalkItems(RunContext& context, NameGenerator& names, const WalkPlan& plan) {
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
            try {
                MakeItem(context, step, origin, plan);
            } catch (const DryRunLimitError&) {
                throw;
            } catch (const RunTimeError& error) {
                if (plan.failedItem == FailedItem::EndsTheRun) {
                    throw;
                }
                context.observer.ErrorRaised(error, SiteTag::RunSequence);
            }
        }
        context.host.PumpEvents();
        context.observer.StepTaken(names.extent());
    }
    return WalkEnd::Finished;
}

}  // namespace zarame
