#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QLineEdit;
class QUrl;
class QWidget;

namespace zarame {

enum class FileKind { Workbook, TextFile, DuplicateSource };

// The file-open dialog that the three "..." file buttons share: each sets its own filter and
// default extension, and the dialog offers the last chosen file again, whichever button chose it.
// A name typed without extension gets the kind's extension (none for a duplicate source); the
// file need not exist, since the run checks it.
class FilePicker {
public:
    // The chosen file's full path, or nothing when the dialog was cancelled.
    std::optional<QString> Pick(QWidget* parent, FileKind kind);

private:
    QString fileName_;
};

// The destination folder browser, opened on the folder given when there is one.
std::optional<QString> PickFolder(QWidget* parent, const QString& initialFolder);

// The local path of a dropped file URL, byte for byte (a name that is not UTF-8 survives), or
// nothing for a URL that is not a local file.
std::optional<QString> LocalPathOf(const QUrl& url);

// Lets a file or folder dropped from a file manager onto the field put its path there.
class PathDropTarget final : public QObject {
public:
    explicit PathDropTarget(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field_;
};

}  // namespace zarame
