#include "app/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>

// The icons are compiled into the program's static library, whose resources are registered only
// when asked for by name.
static void RegisterResources() {
    Q_INIT_RESOURCE(zarame);
}

namespace zarame {

void SetUpApplication(QApplication& application) {
    RegisterResources();
    QApplication::setApplicationName(QStringLiteral("zarame"));
    QApplication::setDesktopFileName(QStringLiteral("zarame"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(11);
    application.setFont(font);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/zarame-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
}

}  // namespace zarame
