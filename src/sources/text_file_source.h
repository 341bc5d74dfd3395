#pragma once

#include <optional>

#include "common/run_time_error.h"
#include "run/run_context.h"

namespace zarame {

// Creates one item per line of the text file in txtText, up to the first empty line or the end
// of the file, and logs each name. Any failure ends the walk quietly: nothing reaches the caller
// but the end it came to, and the error (for a front end that wants to tell it apart). A name
// that climbs out of the folder ends it too, but with an error line naming it.
struct TextWalkResult {
    WalkEnd end = WalkEnd::Finished;
    std::optional<RunTimeError> failure;
};
TextWalkResult CreateFromTextFile(RunContext& context);

}  // namespace zarame
