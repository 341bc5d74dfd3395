#include "app/window_host.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "app/model_mirror.h"
#include "app/window_controls.h"

namespace zarame {

WindowHost::WindowHost(QWidget* window, ModelMirror& mirror, const WindowControls& controls,
                       MessagePresenter showMessage)
    : window_(window), mirror_(mirror), controls_(controls), showMessage_(std::move(showMessage)) {}

void WindowHost::ShowMessage(const QString& text, MessageIcon icon) {
    mirror_.Refresh();  // the log is already cleared when a missing input is reported
    showMessage_(window_, text,
                 icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning);
}

void WindowHost::MoveFocus(TextBox box) {
    controls_.text(box)->setFocus(Qt::OtherFocusReason);
}

void WindowHost::PumpEvents() {
    mirror_.RefreshIfDue();
    QCoreApplication::processEvents();
}

}  // namespace zarame
