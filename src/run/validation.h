#pragma once

namespace zarame {

struct RunContext;

enum class Validation { Passed, Refused };

// Checks the inputs of the selected name source and item kind in a fixed order. The first
// failing check shows its message and moves the focus; the log is cleared once the destination
// checks pass. A conversion that overflows is raised, not refused.
Validation ValidateInputs(RunContext& context);

}  // namespace zarame
