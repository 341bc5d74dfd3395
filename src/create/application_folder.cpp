#include "create/application_folder.h"

#include <pwd.h>
#include <unistd.h>
#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>

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

QByteArray HomeFolder() {
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray("/tmp");
    }
    return home;
}

// $XDG_DATA_HOME/zarame, or ~/.local/share/zarame; made by the first run that writes the
// template.
QByteArray DataFolder() {
    QByteArray base = qgetenv("XDG_DATA_HOME");
    if (!base.startsWith('/')) {
        base = HomeFolder() + "/.local/share";
    }
    return base + "/zarame";
}

}  // namespace

bool UsesExecutableFolder(const QByteArray& executableFolder, const QByteArray& buildFolder) {
    if (executableFolder.isEmpty() || buildFolder.isEmpty()) {
        return false;
    }
    // The system names the executable's folder without symbolic links; the build folder was
    // named as the build was configured, perhaps through one.
    char* resolved = ::realpath(buildFolder.constData(), nullptr);
    if (resolved == nullptr) {
        return false;
    }
    const bool same = executableFolder == QByteArray(resolved);
    std::free(resolved);
    return same && ::access(executableFolder.constData(), W_OK) == 0;
}

QString DefaultTemplatePath() {
    const QByteArray fileName = QString::fromUtf16(kTemplateFileName).toUtf8();
    const QByteArray executableFolder = ExecutableFolder();
    const QByteArray folder =
        UsesExecutableFolder(executableFolder, QByteArray(ZARAME_BUILD_OUTPUT_FOLDER))
            ? executableFolder
            : DataFolder();
    return DecodeBytes(folder + '/' + fileName);
}

}  // namespace zarame
