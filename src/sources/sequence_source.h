#pragma once

#include <QString>
#include <cstdint>

#include "run/run_context.h"

namespace zarame {

enum class NumberPlacement { BeforeFixedText, AfterFixedText };

// The decimal digits of a number of 0 or more, left-filled with zeros to at least `digits`.
QString NumberText(std::int32_t number, std::int32_t digits);

// The name of one number: fixed text and number text in the chosen order, then the extension.
QString SequenceName(std::int32_t number, std::int32_t digits, const QString& fixedText,
                     NumberPlacement placement, const QString& extension);

// Creates one item per number from txtMin to txtMax in the destination folder and logs each full
// path. A failure of an item is raised to the run.
WalkEnd CreateFromNumbers(RunContext& context);

}  // namespace zarame
