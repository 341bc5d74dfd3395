#pragma once

#include "window/sequence_name.h"

namespace zarame {

class WindowModel;

// The window's sequence inputs, as the preview and the run's check read them.
SequenceTexts SequenceTextsOf(const WindowModel& model);

// Refreshes the two preview labels: the names of the first and last numbers, or nothing when
// the sequence inputs are unusable. Never fails.
void UpdateSample(WindowModel& model);

}  // namespace zarame
