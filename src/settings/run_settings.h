#pragma once

#include <QString>
#include <cstdint>

#include "run/progress_log.h"

namespace zarame {

class WindowModel;

// The sixteen inputs of a run, named by the keys they are stored under. The defaults are the
// window's first-start contents, so an empty store and a first start look the same.
struct RunSettings {
    int Type = 0;  // optType member
    QString ExcelPath;
    QString StartCell = QStringLiteral("B2");
    QString BlankRows = QStringLiteral("3");
    QString TextPath;
    QString FixedText;
    int BeforeAfter = 1;  // optBeforeAfter member
    QString NumberMin = QStringLiteral("1");
    QString NumberMax = QStringLiteral("100");
    QString NumberSize = QStringLiteral("3");
    QString Extension;
    QString Folder;
    int FileCreateSpec = 0;  // optSpec member
    QString FileSizeBytes = QStringLiteral("0");
    QString FileWriteCode = QStringLiteral("0x00");
    QString FileDuplicateSource;

    bool operator==(const RunSettings&) const = default;
};

// Puts the record into the window in the order the store lists the keys, through the same paths
// as the user's own actions, so every reaction (groups, preview) runs as it would for a click or
// an edit. Texts go in whole, whatever the inputs' typing limits.
void ApplyRunSettings(const RunSettings& settings, WindowModel& model);

// The window's current inputs as a record.
RunSettings ReadRunSettings(const WindowModel& model);

}  // namespace zarame
