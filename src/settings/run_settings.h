#pragma once

#include <QString>
#include <cstdint>

#include "window/input_defaults.h"

namespace zarame {

class WindowModel;

// The sixteen inputs of a run, named by the keys they are stored under. The defaults are the
// window's first-start contents, so an empty store and a first start look the same.
struct RunSettings {
    int Type = DefaultMember(OptionGroup::optType);  // optType member
    QString ExcelPath;
    QString StartCell = DefaultText(TextBox::txtStartCell);
    QString BlankRows = DefaultText(TextBox::txtBlank);
    QString TextPath;
    QString FixedText;
    int BeforeAfter = DefaultMember(OptionGroup::optBeforeAfter);  // optBeforeAfter member
    QString NumberMin = DefaultText(TextBox::txtMin);
    QString NumberMax = DefaultText(TextBox::txtMax);
    QString NumberSize = DefaultText(TextBox::txtSize);
    QString Extension;
    QString Folder;
    int FileCreateSpec = DefaultMember(OptionGroup::optSpec);  // optSpec member
    QString FileSizeBytes = DefaultText(TextBox::txtFileByte);
    QString FileWriteCode = DefaultText(TextBox::txtCode);
    QString FileDuplicateSource;

    bool operator==(const RunSettings&) const = default;
};

// Puts the record into the window in the order the store lists the keys, through the same paths
// as the user's own actions, so every reaction (groups, preview) runs as it would for a click or
// an edit. Texts go in whole, whatever the inputs' typing limits.
void ApplyRunSettings(const RunSettings& settings, WindowModel& model);

// The window's current inputs as a record.
RunSettings ReadRunSettings(const WindowModel& model);

// The window's opening: its title, the stored inputs (whose reactions run as they are put in),
// then the groups for the loaded selection.
void StartUp(WindowModel& model, const RunSettings& stored);

}  // namespace zarame
