#pragma once

#include <QString>
#include <QVariant>
#include <memory>

#include "settings/settings_file.h"

class QSettings;

namespace zarame {

// The per-user store of remembered inputs: string values by key, in the program's section.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or the default when the key is absent.
    virtual QString Get(const QString& key, const QString& defaultText) = 0;
    // Afterwards Get returns the value for that key; the store keeps it when Commit succeeds.
    virtual void Save(const QString& key, const QString& value) = 0;
    // Keeps every value saved so far, or says why it could not.
    virtual SettingsSaveResult Commit() = 0;
};

// The store in an INI file, section "KRB". A file that is damaged or unreadable answers every Get
// with the default; loading never writes it. A name that is not a regular file of sensible size
// (a FIFO, a device, a folder, a huge file) is never read, and Commit writes only into a file that
// is ours (see WriteSettingsFile). Texts that are not plain Unicode (path bytes that are not
// UTF-8, held as lone surrogates) are stored as their bytes, so that they come back unchanged;
// every other text is stored readably as itself.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& path);
    ~IniSettingsStore() override;

    QString Get(const QString& key, const QString& defaultText) override;
    void Save(const QString& key, const QString& value) override;
    SettingsSaveResult Commit() override;

    // Whether the file (if there is one) was read without a fault.
    bool readable() const { return readable_; }

private:
    QString path_;
    SettingsValues saved_;
    std::unique_ptr<QSettings> settings_;
    bool readable_ = true;
};

// Tobiuo.ini in the user's configuration folder (XDG_CONFIG_HOME, else ~/.config).
QString DefaultSettingsPath();

}  // namespace zarame
