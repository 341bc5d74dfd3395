#pragma once

#include <QString>
#include <QStringView>

namespace zarame::numformat {

// Which calendar a workbook's serial numbers count from.
enum class DateSystem {
    Date1900,  // serial 1 is 1900-01-01, with the spreadsheet's phantom 1900-02-29 at 60
    Date1904,  // serial 0 is 1904-01-01
};

// The longest text the formatter hands back, in UTF-16 units. A displayed text names a file, a
// file name holds at most 255 bytes and every unit takes at least one byte, so a longer text can
// never be used: it comes back cut to kMaxDisplayedLength + 1 units, and the formatter stops
// building it there (a 1,024-@ code on a megabyte of text costs no more than a short one).
inline constexpr qsizetype kMaxDisplayedLength = 255;

// The text a spreadsheet shows for a numeric cell: its value rendered by the cell's number
// format code, as a Japanese (ja-JP) user sees it. Never throws: a code that cannot be parsed
// renders as General.
QString FormatNumber(double value, QStringView formatCode, DateSystem dateSystem);

// The text shown for a text cell under a format code (the code's text section, or `@`).
QString FormatText(QStringView text, QStringView formatCode);

// The format code of a built-in number format ID as the ja-JP locale shows it, or an empty text
// when the ID has no built-in code (such cells render as General).
QString BuiltInFormatCode(int formatId);

}  // namespace zarame::numformat
