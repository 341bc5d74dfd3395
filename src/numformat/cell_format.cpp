// Placeholder renderer: General for every number, until the format engine replaces it.
#include "numformat/cell_format.h"

namespace zarame::numformat {

QString FormatNumber(double value, QStringView, DateSystem) {
    return QString::number(value, 'g', 10);
}

QString FormatText(QStringView text, QStringView) {
    return text.toString();
}

QString BuiltInFormatCode(int) {
    return {};
}

}  // namespace zarame::numformat
