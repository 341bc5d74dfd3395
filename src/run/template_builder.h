#pragma once

#include <QStringView>
#include <optional>

#include "window/batch_request.h"

namespace zarame {

struct RunContext;

// How a prepare ended; the stop flag is set after Stopped and Failed alike.
enum class TemplateOutcome { Ready, Stopped, Failed };

// The size of a batch for the progress bar: the count of numbers for a sequential run, 100 for
// the other sources.
double BatchMaximum(const NameRequest& names);

// The same from the sequence's first and last numbers as typed, for the finish of a run that may
// have been refused; nothing when they cannot be read.
std::optional<double> BatchMaximum(NameSource source, QStringView first, QStringView last);

// For new files of a fill byte, writes the template of the request's size and fill byte in
// 32,000-byte blocks, honouring a stop before each block, as the run's template phase. A failure
// is raised to the observer with site tag 1 and sets the stop flag, so that no batch runs.
TemplateOutcome PrepareTemplateFile(RunContext& context, const BatchRequest& request);

// Deletes the template of a new-file run.
void FinishTemplateFile(RunContext& context, ItemKind kind);

}  // namespace zarame
