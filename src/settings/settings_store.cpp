#include "settings/settings_store.h"

#include <QByteArray>
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

}  // namespace

IniSettingsStore::IniSettingsStore(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
    readable_ = settings_->status() == QSettings::NoError;
    settings_->beginGroup(kSection);
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::Get(const QString& key, const QString& defaultText) {
    if (!readable_) {
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
    if (HasLoneSurrogate(value)) {
        settings_->setValue(key, EncodeBytes(value));
    } else {
        settings_->setValue(key, value);
    }
}

QString DefaultSettingsPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + QStringLiteral("/Tobiuo.ini");
}

}  // namespace zarame
