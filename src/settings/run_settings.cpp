#include "settings/run_settings.h"

#include "window/input_groups.h"
#include "window/window_model.h"

namespace zarame {

void ApplyRunSettings(const RunSettings& settings, WindowModel& model) {
    model.select(OptionGroup::optType, settings.Type);
    model.setText(TextBox::txtExcel, settings.ExcelPath);
    model.setText(TextBox::txtStartCell, settings.StartCell);
    model.setText(TextBox::txtBlank, settings.BlankRows);
    model.setText(TextBox::txtText, settings.TextPath);
    model.setText(TextBox::txtFix, settings.FixedText);
    model.select(OptionGroup::optBeforeAfter, settings.BeforeAfter);
    model.setText(TextBox::txtMin, settings.NumberMin);
    model.setText(TextBox::txtMax, settings.NumberMax);
    model.setText(TextBox::txtSize, settings.NumberSize);
    model.setText(TextBox::txtExt, settings.Extension);
    model.setText(TextBox::txtFolder, settings.Folder);
    model.select(OptionGroup::optSpec, settings.FileCreateSpec);
    model.setText(TextBox::txtFileByte, settings.FileSizeBytes);
    model.setText(TextBox::txtCode, settings.FileWriteCode);
    model.setText(TextBox::txtDup, settings.FileDuplicateSource);
}

RunSettings ReadRunSettings(const WindowModel& model) {
    RunSettings settings;
    settings.Type = model.selected(OptionGroup::optType);
    settings.ExcelPath = model.text(TextBox::txtExcel);
    settings.StartCell = model.text(TextBox::txtStartCell);
    settings.BlankRows = model.text(TextBox::txtBlank);
    settings.TextPath = model.text(TextBox::txtText);
    settings.FixedText = model.text(TextBox::txtFix);
    settings.BeforeAfter = model.selected(OptionGroup::optBeforeAfter);
    settings.NumberMin = model.text(TextBox::txtMin);
    settings.NumberMax = model.text(TextBox::txtMax);
    settings.NumberSize = model.text(TextBox::txtSize);
    settings.Extension = model.text(TextBox::txtExt);
    settings.Folder = model.text(TextBox::txtFolder);
    settings.FileCreateSpec = model.selected(OptionGroup::optSpec);
    settings.FileSizeBytes = model.text(TextBox::txtFileByte);
    settings.FileWriteCode = model.text(TextBox::txtCode);
    settings.FileDuplicateSource = model.text(TextBox::txtDup);
    return settings;
}

void StartUp(WindowModel& model, const RunSettings& stored) {
    model.setTitle(MainWindowTitle());
    ApplyRunSettings(stored, model);
    UpdateInputGroups(model);
}

}  // namespace zarame
