#include "create/application_folder.h"

#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QStandardPaths>

#include "common/byte_text.h"

namespace zarame {

namespace {

// The folder of the running executable, byte for byte (Qt's own answer loses bytes that are not
// UTF-8, and the template would then be made in another folder than the one the copies read).
QString ApplicationFolder() {
    QByteArray executable(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink("/proc/self/exe", executable.data(), executable.size());
    if (length <= 0 || length >= executable.size()) {
        return {};
    }
    executable.truncate(length);
    return DecodeBytes(executable.left(executable.lastIndexOf('/')));
}

}  // namespace

QString DefaultTemplatePath() {
    const QString fileName = QString::fromUtf16(kTemplateFileName);
    const QString applicationFolder = ApplicationFolder();
    if (!applicationFolder.isEmpty() &&
        ::access(EncodeBytes(applicationFolder).constData(), W_OK) == 0) {
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
