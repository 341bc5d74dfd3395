#pragma once

#include <QString>

#include "window/window_model.h"

namespace zarame {

// The first-start contents of the sixteen inputs: what the window shows before anything is
// loaded, what the store gives for a key it lacks, and what the command line runs with for an
// option it was not given. Texts empty unless listed here.
QString DefaultText(TextBox box);

// The member an option group selects at first start.
int DefaultMember(OptionGroup group);

}  // namespace zarame
