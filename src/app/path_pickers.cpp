#include "app/path_pickers.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "common/byte_text.h"

namespace zarame {

namespace {

struct FileFilter {
    const char16_t* nameFilter;  // nullptr: every file
    const char* defaultSuffix;
};

FileFilter FilterOf(FileKind kind) {
    switch (kind) {
        case FileKind::Workbook:
            return {u"Excelファイル (*.xls *.xlsx *.xlsm *.ods *.csv *.tsv)", "xls"};
        case FileKind::TextFile:
            return {u"テキストファイル (*.txt)", "txt"};
        case FileKind::DuplicateSource:
            return {nullptr, ""};
    }
    return {nullptr, ""};
}

std::optional<QString> DroppedPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) {
        return std::nullopt;
    }
    return LocalPathOf(data->urls().constFirst());
}

}  // namespace

std::optional<QString> FilePicker::Pick(QWidget* parent, FileKind kind) {
    const FileFilter filter = FilterOf(kind);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (filter.nameFilter != nullptr) {
        dialog.setNameFilter(QString::fromUtf16(filter.nameFilter));
    }
    dialog.setDefaultSuffix(QLatin1String(filter.defaultSuffix));
    if (!fileName_.isEmpty()) {
        dialog.selectFile(fileName_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    fileName_ = dialog.selectedFiles().constFirst();
    return fileName_;
}

std::optional<QString> PickFolder(QWidget* parent, const QString& initialFolder) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("ファイル作成先のフォルダを選択してください"), initialFolder);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

std::optional<QString> LocalPathOf(const QUrl& url) {
    if (!url.isLocalFile()) {
        return std::nullopt;
    }
    // The encoded path keeps the bytes of a name that is not UTF-8 as %XX.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    return DecodeBytes(QByteArray::fromPercentEncoding(encoded));
}

PathDropTarget::PathDropTarget(QLineEdit* field) : QObject(field), field_(field) {
    field_->setAcceptDrops(true);
    field_->installEventFilter(this);
}

bool PathDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!DroppedPath(drag->mimeData())) {
                return QObject::eventFilter(watched, event);
            }
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<QString> path = DroppedPath(drop->mimeData());
            if (!path) {
                return QObject::eventFilter(watched, event);
            }
            field_->setText(*path);
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace zarame
