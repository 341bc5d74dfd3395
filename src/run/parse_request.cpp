#include "run/parse_request.h"

#include "common/numbers.h"
#include "create/file_service.h"
#include "create/fill_value.h"
#include "window/name_preview.h"

namespace zarame {

namespace {

// The first failing check of a group, if any, with the inputs it read put into the request.
using Check = std::optional<InputRefusal>;

Check Refuse(const char16_t* message, std::optional<TextBox> focus) {
    return InputRefusal{QString::fromUtf16(message), focus};
}

Check ReadNameSource(const WindowModel& model, FileService& files, CellReach reach,
                     NameRequest& names) {
    names.source = model.nameSource();
    switch (names.source) {
        case NameSource::ExcelColumn: {
            WorkbookColumn& column = names.workbookColumn;
            column.workbookPath = model.text(TextBox::txtExcel);
            if (!files.FileExists(column.workbookPath)) {
                return Refuse(u"Excelファイルが見つかりません", TextBox::txtExcel);
            }
            const std::optional<StartCell> start =
                ParseStartCell(model.text(TextBox::txtStartCell), reach);
            if (!start) {
                return Refuse(u"開始セル位置が正しくありません", TextBox::txtStartCell);
            }
            column.startCell = *start;
            const std::optional<std::int32_t> limit =
                ParseBlankLimit(model.text(TextBox::txtBlank), reach);
            if (!limit) {
                return Refuse(u"終了行数指定が正しくありません", TextBox::txtBlank);
            }
            column.blankLimit = *limit;
            return std::nullopt;
        }
        case NameSource::TextFile:
            names.textFilePath = model.text(TextBox::txtText);
            if (!files.FileExists(names.textFilePath)) {
                return Refuse(u"テキストファイルが見つかりません", TextBox::txtText);
            }
            return std::nullopt;
        case NameSource::SequentialNumbers: {
            const std::optional<NumberSequence> numbers = ParseSequence(SequenceTextsOf(model));
            if (!numbers) {
                return Refuse(u"連番設定が正しくありません", TextBox::txtFix);
            }
            names.numbers = *numbers;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

Check ReadItemKind(const WindowModel& model, FileService& files, ItemRequest& items) {
    items.kind = model.itemKind();
    switch (items.kind) {
        case ItemKind::NewFile: {
            const QString& size = model.text(TextBox::txtFileByte);
            if (!IsNumeric(size)) {
                return Refuse(u"ファイルサイズが正しくありません", TextBox::txtFileByte);
            }
            items.fileSize = ToInt32(size);
            if (items.fileSize < 0) {
                return Refuse(u"ファイルサイズが正しくありません", TextBox::txtFileByte);
            }
            const std::int32_t fill = ParseWriteCode(model.text(TextBox::txtCode));
            if (fill == InvalidWriteCode) {
                return Refuse(u"書き込み値が正しくありません", TextBox::txtCode);
            }
            items.fillByte = static_cast<std::uint8_t>(fill);  // 0 to 255 once valid
            return std::nullopt;
        }
        case ItemKind::Duplicate:
            items.duplicateSource = model.text(TextBox::txtDup);
            if (!files.FileExists(items.duplicateSource)) {
                return Refuse(u"複製元ファイルが見つかりません", TextBox::txtDup);
            }
            return std::nullopt;
        case ItemKind::Folder:
            return std::nullopt;
    }
    return std::nullopt;
}

Check ReadInputs(const WindowModel& model, FileService& files, CellReach reach,
                 const std::function<void()>& destinationAccepted, BatchRequest& request) {
    request.folder = model.text(TextBox::txtFolder);
    if (request.folder.isEmpty()) {
        return Refuse(u"作成先フォルダを指定してください", std::nullopt);
    }
    if (!files.FolderExists(request.folder)) {
        return Refuse(u"作成先フォルダが見つかりません", std::nullopt);
    }
    destinationAccepted();
    if (Check refusal = ReadNameSource(model, files, reach, request.names)) {
        return refusal;
    }
    return ReadItemKind(model, files, request.items);
}

}  // namespace

ParsedRequest ParseRequest(const WindowModel& model, FileService& files, CellReach reach,
                           const std::function<void()>& destinationAccepted) {
    BatchRequest request;
    if (Check refusal = ReadInputs(model, files, reach, destinationAccepted, request)) {
        return {std::nullopt, std::move(*refusal)};
    }
    return {std::move(request), {}};
}

}  // namespace zarame
