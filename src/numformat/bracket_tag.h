#pragma once

#include <QStringView>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Applies one bracketed tag (the text between [ and ]) to the section: a condition, a locale
// with its currency text and calendar, elapsed time, kanji numerals. Colours and tags this
// renderer does not know change nothing.
void ApplyBracketTag(QStringView tag, Section& section);

// The code a locale tag stands for on its own, as a ja-JP system shows it: the system long
// date and time ([$-F800], [$-F400]); empty for every other tag.
QStringView SystemFormatForTag(QStringView tag);

}  // namespace zarame::numformat
