#pragma once

#include <QString>

#include "create/item_creator.h"
#include "run/run_context.h"
#include "window/batch_request.h"

namespace zarame {

class NameGenerator;

// What happens after an item that is refused or cannot be made: the run ends on it, or (in a dry
// run, which tells every item's fate) its error is logged and the walk goes on.
enum class FailedItem { EndsTheRun, IsLoggedAndPassed };

// Everything a walk needs to know besides its names.
struct WalkPlan {
    QString folder;
    ItemRecipe recipe;
    ParentFolders parentFolders = ParentFolders::MustExist;
    FailedItem failedItem = FailedItem::EndsTheRun;
};

// The one walk of every name source: a stop is honoured before each name; each item is made
// in the folder (after the parent folders its name holds, when the plan says so) and heard by the
// observer; the host pumps after every step, an item or a blank cell. A name read from data that
// climbs out of the folder, and an item the system cannot make, are heard as such and, as the
// plan says, raised to the run, which logs the error and ends, or logged as errors here.
WalkEnd WalkItems(RunContext& context, NameGenerator& names, const WalkPlan& plan);

}  // namespace zarame
