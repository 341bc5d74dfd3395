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

namespace {

QString DamageText(const QString& detail) {
    return QStringLiteral("ブックが壊れています (") + detail + QStringLiteral(")");
}

}  // namespace

WorkbookDamage::WorkbookDamage(QString detail)
    : RunTimeError(kWorkbookErrorNumber, DamageText(detail)), detail_(std::move(detail)) {}

RunTimeError BinaryWorkbook(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("バイナリ形式(.xlsb)のブックは読めません: ") + VisibleText(path));
}

RunTimeError PreExcel5Workbook(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("Excel 4.0 以前の形式のブックは読めません: ") + VisibleText(path));
}

WorkbookDamage DamagedWorkbook(const QString& detail) {
    return WorkbookDamage(detail);
}

RunTimeError DamagedWorkbookAt(const QString& path, const QString& detail) {
    return RunTimeError(kWorkbookErrorNumber,
                        DamageText(detail) + QStringLiteral(": ") + VisibleText(path));
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

RunTimeError SharedStringsTooLarge(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("共有文字列が大きすぎるため読めません: ") + VisibleText(path));
}

RunTimeError NoWorkbookStream(const QString& path) {
    return RunTimeError(
        kWorkbookErrorNumber,
        QStringLiteral("Excel のブックが入っていない Office 文書です: ") + VisibleText(path));
}

}  // namespace zarame::workbook
