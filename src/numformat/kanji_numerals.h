#pragma once

#include <QString>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Rewrites the runs of ASCII digits in `text` as [DBNum1] kanji (1234 as 千二百三十四),
// [DBNum2] formal kanji (壱阡弐百参拾四) or [DBNum3] full-width digits (１２３４). Digits after
// a decimal point, and years, are written one by one (2024 as 二〇二四).
QString ToKanjiNumerals(QStringView text, KanjiNumerals style);

// Appends the ASCII digits of `digits` one by one in the style.
void AppendKanjiDigits(QString& out, QStringView digits, KanjiNumerals style);

}  // namespace zarame::numformat
