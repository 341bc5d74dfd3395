#include "settings/settings_store.h"

#include <sys/stat.h>
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "common/byte_text.h"

namespace zarame {

namespace {

const QString kSection = QStringLiteral("KRB");

// A lone surrogate would be written as U+FFFD and lost; such a text goes out as bytes.
bool HasLoneSurrogate(const QString& text) {
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar unit = text[index];
        if (unit.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate()) {
            ++index;
            continue;
        }
        if (unit.isSurrogate()) {
            return true;
        }
    }
    return false;
}

// QSettings reads the whole file, and opens its lock file beside it, without any bound: a FIFO
// or a device in either place would hold the program before its window opens, and a huge file
// would fill the memory. A missing file is fine (the store starts empty); a name that cannot be
// looked at is left to QSettings, which then reports it unreadable.
bool SafeToOpen(const QString& path) {
    for (const QString& name : {path, path + QStringLiteral(".lock")}) {
        struct stat status {};
        if (::stat(QFile::encodeName(name).constData(), &status) != 0) {
            continue;
        }
        if (!S_ISREG(status.st_mode) || status.st_size > kLargestSettingsFile) {
            return false;
        }
    }
    return true;
}

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& path) : path_(path) {
    if (!SafeToOpen(path)) {
        readable_ = false;
        return;
    }
    settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
    readable_ = settings_->status() == QSettings::NoError;
    settings_->beginGroup(kSection);
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::Get(const QString& key, const QString& defaultText) {
    for (const auto& [savedKey, value] : saved_) {
        if (savedKey == key) {
            return value.typeId() == QMetaType::QByteArray ? DecodeBytes(value.toByteArray())
                                                           : value.toString();
        }
    }
    if (!settings_ || !readable_) {
        return defaultText;
    }
    const QVariant value = settings_->value(key);
    if (!value.isValid()) {
        return defaultText;
    }
    switch (value.typeId()) {
        case QMetaType::QByteArray:
            return DecodeBytes(value.toByteArray());
        case QMetaType::QStringList:
            // An unquoted comma in a hand-edited file makes a list; the user meant one text.
            return value.toStringList().join(u',');
        default:
            return value.toString();
    }
}

void IniSettingsStore::Save(const QString& key, const QString& value) {
    const QVariant stored =
        HasLoneSurrogate(value) ? QVariant(EncodeBytes(value)) : QVariant(value);
    for (auto& [savedKey, savedValue] : saved_) {
        if (savedKey == key) {
            savedValue = stored;
            return;
        }
    }
    saved_.append({key, stored});
}

SettingsSaveResult IniSettingsStore::Commit() {
    return WriteSettingsFile(path_, saved_);
}

QString DefaultSettingsPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + QStringLiteral("/Tobiuo.ini");
}

}  // namespace zarame
