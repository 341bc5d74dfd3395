#pragma once

#include <QString>

#include "numformat/cell_format.h"
#include "numformat/format_code.h"

namespace zarame::numformat {

// Appends a serial date-time rendered through a date section. Returns false, appending
// nothing, when the value is no date the system can show (negative, or past 9999-12-31).
bool RenderDateSection(const Section& section, double value, DateSystem system, QString& out);

}  // namespace zarame::numformat
