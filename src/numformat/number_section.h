#pragma once

#include <QString>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Whether the renderer writes a minus sign for a negative value, or the section shows the sign
// itself (an explicit negative section).
enum class SignDisplay { Shown, Dropped };

// Appends `value` rendered through a number section: digits, grouping, decimals, percent,
// scaling, scientific and fraction forms, literals, General.
void RenderNumberSection(const Section& section, double value, SignDisplay sign, QString& out);

}  // namespace zarame::numformat
