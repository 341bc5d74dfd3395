#pragma once

#include <optional>

namespace zarame {

class WindowModel;
struct RunContext;

enum class TemplateMode { Prepare, Finish };

// How a prepare ended; the stop flag is set after Stopped and Failed alike.
enum class TemplateOutcome { Ready, Stopped, Failed };

// The size of a batch for the progress bar: the count of numbers for a sequential run, 100 for
// the other sources. Nothing when the sequence inputs cannot be read (a refused run's finish).
std::optional<double> BatchMaximum(const WindowModel& model);

// Prepare: sets the progress bar up for the batch and, for new files, writes the template of N
// fill bytes in 32,000-byte blocks, honouring a stop before each block. A failure is logged with
// site tag 1 and sets the stop flag, so that no batch runs. Finish: deletes the template.
TemplateOutcome PrepareTemplateFile(RunContext& context, TemplateMode mode);

}  // namespace zarame
