#include "app/message_box.h"

namespace zarame {

void ShowMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QStringLiteral("ざらめ"), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace zarame
