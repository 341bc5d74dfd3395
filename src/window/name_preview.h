#pragma once

#include <QString>
#include <optional>

namespace zarame {

class WindowModel;

// The first and last names of the sequence, or nothing when the sequence inputs are unusable
// (not numeric, out of the 32-bit range, negative, or the last below the first). This is the rule
// a sequential run is checked against.
struct SequenceSamples {
    QString first;
    QString last;
};
std::optional<SequenceSamples> ComputeSequenceSamples(const WindowModel& model);

// Refreshes the two preview labels; never fails.
void UpdateSample(WindowModel& model);

}  // namespace zarame
