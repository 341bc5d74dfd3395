#include "workbook/workbook_error.h"

#include "common/byte_text.h"

namespace zarame::workbook {

RunTimeError NotAWorkbook(const QString& path) {
    return RunTimeError(kWorkbookErrorNumber,
                        QStringLiteral("ブックの形式ではありません: ") + VisibleText(path));
}

RunTimeError EncryptedWorkbook(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("パスワードで保護されたブックは開けません: ") + VisibleText(path));
}

RunTimeError DamagedWorkbook(const QString& detail) {
    return RunTimeError(kWorkbookErrorNumber,
                        QStringLiteral("ブックが壊れています (") + detail + QStringLiteral(")"));
}

RunTimeError OversizedPart(const QString& part) {
    return RunTimeError(kWorkbookErrorNumber,
                        QStringLiteral("ブックの一部が大きすぎます: ") + VisibleText(part));
}

RunTimeError RowOutOfRange(qint64 row) {
    return RunTimeError(kWorkbookErrorNumber,
                        QStringLiteral("行番号 %1 はシートの範囲外です").arg(row));
}

RunTimeError ColumnOutOfRange(qint64 column) {
    return RunTimeError(kWorkbookErrorNumber,
                        QStringLiteral("列番号 %1 はシートの範囲外です").arg(column));
}

RunTimeError NoWorkbookStream(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("Excel のブックが入っていない Office 文書です: ") + VisibleText(path));
}

}  // namespace zarame::workbook
