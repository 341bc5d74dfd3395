#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace zarame {

// The per-user store of remembered inputs: string values by key, in the program's section.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or the default when the key is absent.
    virtual QString Get(const QString& key, const QString& defaultText) = 0;
    // Afterwards Get returns the value for that key. A store that cannot be written skips it.
    virtual void Save(const QString& key, const QString& value) = 0;
};

// The store in an INI file, section "KRB". A file that is damaged or unreadable answers every Get
// with the default; it is only written by Save, so loading never replaces it. A name that is not a
// regular file of sensible size (a FIFO, a device, a folder, a huge file) is neither read nor
// written. Texts that are not
// plain Unicode (path bytes that are not UTF-8, held as lone surrogates) are stored as their
// bytes, so that they come back unchanged; every other text is stored readably as itself.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& path);
    ~IniSettingsStore() override;

    QString Get(const QString& key, const QString& defaultText) override;
    void Save(const QString& key, const QString& value) override;

    // Whether the file (if there is one) was read without a fault.
    bool readable() const { return readable_; }

private:
    std::unique_ptr<QSettings> settings_;
    bool readable_ = true;
};

// Tobiuo.ini in the user's configuration folder (XDG_CONFIG_HOME, else ~/.config).
QString DefaultSettingsPath();

}  // namespace zarame
