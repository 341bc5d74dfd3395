#pragma once

#include "run/run_context.h"
#include "window/batch_request.h"

namespace zarame {

// Creates one item per number of the request's sequence in the destination folder, each named
// as the preview names it, and logs each full path. A failure of an item is raised to the run.
WalkEnd CreateFromNumbers(RunContext& context, const BatchRequest& request);

}  // namespace zarame
