#pragma once

#include <QStringView>

#include <vector>

#include "numformat/format_code.h"

namespace zarame::numformat {

// The texts of a code's sections, split at the semicolons that are not quoted or escaped.
std::vector<QStringView> SplitSections(QStringView code);

// Reads one section's characters into tokens, and its bracketed tags into the section's
// settings. Every character is accepted: what is not a placeholder or a tag is literal text.
Section TokenizeSection(QStringView text);

}  // namespace zarame::numformat
