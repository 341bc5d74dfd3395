#pragma once

#include <QStringView>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Codes longer than this render as General: the spreadsheet itself refuses codes of more than
// 255 characters, and the bound keeps the time and memory of one render small.
inline constexpr qsizetype kMaxFormatCodeLength = 1024;

// Breaks a format code into its sections, each settled as a number, date or text section.
// Never fails: an empty or overlong code, more than four sections, an unclosed quote or
// bracket, a dangling escape or an unreadable condition give the General format.
ParsedFormat ParseFormatCode(QStringView code);

// The settling steps, one per kind of section.
void SettleNumberSection(Section& section);
void SettleDateSection(Section& section);
void SettleTextSection(Section& section);

}  // namespace zarame::numformat
