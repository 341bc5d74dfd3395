#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

namespace zarame {

// Sixteen texts, even long paths, take a few kilobytes; a file far beyond that is not ours (a
// megabyte of short keys already costs QSettings tens of megabytes and a noticeable start).
inline constexpr qint64 kLargestSettingsFile = 1024 * 1024;

// How saving the settings file ended. Whatever the outcome, a file that was there is whole: it
// holds either its old contents or the new ones.
struct SettingsSaveResult {
    enum class Outcome {
        Saved,
        LeftAlone,  // the file is not one of ours (or changed under the save): nothing was written
        Failed,     // the file could not be written
    };
    Outcome outcome = Outcome::Saved;
    QString path;    // the settings file as the program names it
    QString target;  // the file a link led to; empty when the path is no link
    QString cause;   // why it was not saved, in Japanese
};

using SettingsValues = QList<std::pair<QString, QVariant>>;

// Writes the values into the INI file's section "KRB", keeping its other groups and keys, and
// only into a file that is ours: one that does not exist yet, or one that reads entirely as INI
// groups and keys with blank lines and comments. A link is followed, and the file it leads to is
// replaced, the link kept. The new contents are written beside that file, given its owner and
// mode, flushed to the disk and renamed over it, so that no failure leaves half a file.
SettingsSaveResult WriteSettingsFile(const QString& path, const SettingsValues& values);

// What the window says when the inputs were not saved: which file, why, and that it is as it was.
QString SaveFailureMessage(const SettingsSaveResult& result);

}  // namespace zarame
