#pragma once

#include <QString>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Rewrites the runs of ASCII digits in `text` as [DBNum1] kanji (1234 as 千二百三十四),
// [DBNum2] formal kanji (壱阡弐百参拾四) or [DBNum3] full-width digits with kanji place words
// (１千２百３十４). Digits after a decimal point are written one by one.
QString ToKanjiNumerals(QStringView text, KanjiNumerals style);

}  // namespace zarame::numformat
