#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace zarame {

// Shows a modal message with an OK button only, captioned with the application title. Tests put
// a recorder in its place.
using MessagePresenter =
    std::function<void(QWidget* parent, const QString& text, QMessageBox::Icon icon)>;

void ShowMessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon);

}  // namespace zarame
