#include "app/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

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
    // The program's own texts are Japanese in every locale, so the toolkit's pickers, context
    // menus and standard buttons speak Japanese too, whatever LANG says.
    auto* toolkitTexts = new QTranslator(&application);
    if (toolkitTexts->load(QStringLiteral("qtbase_ja"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(toolkitTexts);
    }
}

}  // namespace zarame
