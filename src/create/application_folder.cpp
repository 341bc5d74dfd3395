#include "create/application_folder.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace zarame {

QString DefaultTemplatePath() {
    const QString fileName = QString::fromUtf16(kTemplateFileName);
    const QString applicationFolder = QCoreApplication::applicationDirPath();
    if (!applicationFolder.isEmpty() &&
        ::access(QFile::encodeName(applicationFolder).constData(), W_OK) == 0) {
        return applicationFolder + u'/' + fileName;
    }
    QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty()) {
        dataFolder = QDir::homePath() + QStringLiteral("/.local/share");
    }
    dataFolder += QStringLiteral("/zarame");
    QDir().mkpath(dataFolder);
    return dataFolder + u'/' + fileName;
}

}  // namespace zarame
