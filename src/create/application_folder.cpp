#include "create/application_folder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QByteArray>
#include <QtGlobal>

#include "common/byte_text.h"

namespace zarame {

namespace {

// The folder of the running executable as the system names it, byte for byte (Qt's own answer
// turns bytes that are not UTF-8 into U+FFFD, which names another folder).
QByteArray ExecutableFolder() {
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length <= 0 || length >= target.size()) {
        return QByteArray();
    }
    target.truncate(length);
    const qsizetype slash = target.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : target.left(slash);
}

// $XDG_DATA_HOME/zarame, or ~/.local/share/zarame, created if missing.
QByteArray DataFolder() {
    QByteArray base = qgetenv("XDG_DATA_HOME");
    if (!base.startsWith('/')) {
        base = qgetenv("HOME") + "/.local/share";
    }
    QByteArray folder = base + "/zarame";
    for (qsizetype slash = folder.indexOf('/', 1); slash != -1;
         slash = folder.indexOf('/', slash + 1)) {
        ::mkdir(folder.left(slash).constData(), 0755);
    }
    ::mkdir(folder.constData(), 0755);
    return folder;
}

}  // namespace

QString DefaultTemplatePath() {
    const QByteArray fileName = QString::fromUtf16(kTemplateFileName).toUtf8();
    const QByteArray executableFolder = ExecutableFolder();
    const QByteArray folder =
        !executableFolder.isEmpty() && ::access(executableFolder.constData(), W_OK) == 0
            ? executableFolder
            : DataFolder();
    return DecodeBytes(folder + '/' + fileName);
}

}  // namespace zarame
