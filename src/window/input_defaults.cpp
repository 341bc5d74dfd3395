#include "window/input_defaults.h"

namespace zarame {

QString DefaultText(TextBox box) {
    switch (box) {
        case TextBox::txtStartCell:
            return QStringLiteral("B2");
        case TextBox::txtBlank:
            return QStringLiteral("3");
        case TextBox::txtMin:
            return QStringLiteral("1");
        case TextBox::txtMax:
            return QStringLiteral("100");
        case TextBox::txtSize:
            return QStringLiteral("3");
        case TextBox::txtFileByte:
            return QStringLiteral("0");
        case TextBox::txtCode:
            return QStringLiteral("0x00");
        default:
            return QString();
    }
}

int DefaultMember(OptionGroup group) {
    // The number follows the fixed text ("後") unless chosen otherwise.
    return group == OptionGroup::optBeforeAfter ? 1 : 0;
}

}  // namespace zarame
