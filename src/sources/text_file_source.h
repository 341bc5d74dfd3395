#pragma once

#include <cstdint>

#include "run/run_context.h"
#include "window/batch_request.h"

namespace zarame {

// Creates one item per line of the request's text file, up to the first empty line or the end
// of the file, and logs each name. A failure (the file, a line that cannot be read, a name the
// system refuses) reaches the caller, whose handler writes its error line, as in the other walks.
struct TextWalkResult {
    WalkEnd end = WalkEnd::Finished;
    // The number of the empty line that ended the list while lines that are not empty follow
    // it in a regular file; 0 otherwise. Those lines are never made into items, which a user
    // who left a blank line in the middle of the list may want to hear.
    std::int64_t emptyLineBeforeMore = 0;
};
TextWalkResult CreateFromTextFile(RunContext& context, const BatchRequest& request);

}  // namespace zarame
