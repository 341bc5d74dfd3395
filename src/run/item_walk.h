#pragma once

#include <QString>

#include "run/run_context.h"

namespace zarame {

class NameGenerator;
struct ItemRecipe;

// The one walk of every name source: a stop is honoured before each name; each item is made
// in the folder and heard by the observer; the host pumps after every step, an item or a blank
// cell. A name read from data that climbs out of the folder, and an item the system cannot make,
// are heard as such and raised to the run, which logs the error and ends.
WalkEnd WalkItems(RunContext& context, NameGenerator& names, const QString& folder,
                  const ItemRecipe& recipe);

}  // namespace zarame
