#include "workbook/workbook_error.h"

#include "common/byte_text.h"

namespace zarame::workbook {

namespace {

// A cause that names the book, shown as the log shows paths.
RunTimeError CauseAt(const QString& cause, const QString& path) {
    return RunTimeError(kWorkbookErrorNumber, cause + VisibleText(path));
}

QString DamageText(const QString& detail) {
    return QStringLiteral("ブックが壊れています (") + detail + QStringLiteral(")");
}

}  // namespace

RunTimeError NotAWorkbook(const QString& path) {
    return CauseAt(QStringLiteral("ブックの形式ではありません: "), path);
}

RunTimeError EncryptedWorkbook(const QString& path) {
    return CauseAt(QStringLiteral("パスワードで保護されたブックは開けません: "), path);
}

WorkbookDamage::WorkbookDamage(QString detail)
    : RunTimeError(kWorkbookErrorNumber, DamageText(detail)), detail_(std::move(detail)) {}

RunTimeError BinaryWorkbook(const QString& path) {
    return CauseAt(QStringLiteral("バイナリ形式(.xlsb)のブックは読めません: "), path);
}

RunTimeError PreExcel5Workbook(const QString& path) {
    return CauseAt(QStringLiteral("Excel 4.0 以前の形式のブックは読めません: "), path);
}

WorkbookDamage DamagedWorkbook(const QString& detail) {
    return WorkbookDamage(detail);
}

RunTimeError DamagedWorkbookAt(const QString& path, const QString& detail) {
    return CauseAt(DamageText(detail) + QStringLiteral(": "), path);
}

RunTimeError OversizedPart(const QString& part) {
    return CauseAt(QStringLiteral("ブックの一部が大きすぎます: "), part);
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
    return CauseAt(QStringLiteral("共有文字列が大きすぎるため読めません: "), path);
}

RunTimeError NoWorkbookStream(const QString& path) {
    return CauseAt(QStringLiteral("Excel のブックが入っていない Office 文書です: "), path);
}

}  // namespace zarame::workbook
