#include "run/validation.h"

#include <optional>

#include "common/numbers.h"
#include "create/file_service.h"
#include "create/fill_value.h"
#include "run/host.h"
#include "run/run_context.h"
#include "window/name_preview.h"
#include "window/start_cell.h"
#include "window/window_model.h"

namespace zarame {

namespace {

// A refusal: its message and where the focus goes afterwards, if anywhere.
struct Refusal {
    const char16_t* message;
    std::optional<TextBox> focus;
};

std::optional<Refusal> CheckNameSource(RunContext& context) {
    const WindowModel& model = context.model;
    switch (model.nameSource()) {
        case NameSource::ExcelColumn: {
            if (!context.files.FileExists(model.text(TextBox::txtExcel))) {
                return Refusal{u"Excelファイルが見つかりません", TextBox::txtExcel};
            }
            if (!ParseStartCell(model.text(TextBox::txtStartCell), context.cellReach)) {
                return Refusal{u"開始セル位置が正しくありません", TextBox::txtStartCell};
            }
            if (!ParseBlankLimit(model.text(TextBox::txtBlank), context.cellReach)) {
                return Refusal{u"終了行数指定が正しくありません", TextBox::txtBlank};
            }
            return std::nullopt;
        }
        case NameSource::TextFile:
            if (!context.files.FileExists(model.text(TextBox::txtText))) {
                return Refusal{u"テキストファイルが見つかりません", TextBox::txtText};
            }
            return std::nullopt;
        case NameSource::SequentialNumbers:
            if (!ComputeSequenceSamples(model)) {
                return Refusal{u"連番設定が正しくありません", TextBox::txtFix};
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Refusal> CheckItemKind(RunContext& context) {
    const WindowModel& model = context.model;
    switch (model.itemKind()) {
        case ItemKind::NewFile: {
            const QString& size = model.text(TextBox::txtFileByte);
            if (!IsNumeric(size) || ToInt32(size) < 0) {
                return Refusal{u"ファイルサイズが正しくありません", TextBox::txtFileByte};
            }
            if (ParseWriteCode(model.text(TextBox::txtCode)) == InvalidWriteCode) {
                return Refusal{u"書き込み値が正しくありません", TextBox::txtCode};
            }
            return std::nullopt;
        }
        case ItemKind::Duplicate:
            if (!context.files.FileExists(model.text(TextBox::txtDup))) {
                return Refusal{u"複製元ファイルが見つかりません", TextBox::txtDup};
            }
            return std::nullopt;
        case ItemKind::Folder:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Refusal> CheckInputs(RunContext& context) {
    const QString& folder = context.model.text(TextBox::txtFolder);
    if (folder.isEmpty()) {
        return Refusal{u"作成先フォルダを指定してください", std::nullopt};
    }
    if (!context.files.FolderExists(folder)) {
        return Refusal{u"作成先フォルダが見つかりません", std::nullopt};
    }
    context.model.clearLog();
    if (std::optional<Refusal> refusal = CheckNameSource(context)) {
        return refusal;
    }
    return CheckItemKind(context);
}

}  // namespace

Validation ValidateInputs(RunContext& context) {
    const std::optional<Refusal> refusal = CheckInputs(context);
    if (!refusal) {
        return Validation::Passed;
    }
    context.host.ShowMessage(QString::fromUtf16(refusal->message), MessageIcon::Warning);
    if (refusal->focus) {
        context.host.MoveFocus(*refusal->focus);
    }
    return Validation::Refused;
}

}  // namespace zarame
