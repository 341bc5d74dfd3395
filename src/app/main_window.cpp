#include "app/main_window.h"

#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include "app/model_mirror.h"
#include "app/window_host.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "window/reactions.h"

namespace zarame {

namespace {

// A button's access key normally clicks it a moment later, after showing it pressed; the stop
// button's must be seen at the very next pump of a run, before the next item.
class ClickOnAccessKey final : public QObject {
public:
    explicit ClickOnAccessKey(QPushButton* button) : QObject(button), button_(button) {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Shortcut && button_->isEnabled()) {
            button_->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton* button_;
};

}  // namespace

MainWindow::MainWindow(MainWindowServices services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(model_.title());
    controls_ = BuildControls(this);
    mirror_ = std::make_unique<ModelMirror>(model_, controls_);
    host_ = std::make_unique<WindowHost>(this, *mirror_, controls_, services_.showMessage);
    log_ = std::make_unique<WindowLog>(model_);
    run_ = std::make_unique<RunSequence>(model_, *host_, *log_, services_.templatePath,
                                         services_.makeFileService);
    for (TextBox box : {TextBox::txtExcel, TextBox::txtText, TextBox::txtDup, TextBox::txtFolder}) {
        new PathDropTarget(controls_.text(box));
    }
    ConnectReactions(model_);
    ConnectButtons();

    IniSettingsStore store(services_.settingsPath);
    const StoredSettings stored = LoadSettings(store);
    log_->setLogMax(stored.logMax);
    StartUp(model_, stored.inputs);
}

MainWindow::~MainWindow() = default;

void MainWindow::ConnectButtons() {
    connect(controls_.cmdCreate, &QPushButton::clicked, this, &MainWindow::cmdCreate_Click);
    connect(controls_.cmdStop, &QPushButton::clicked, this, [this] { run_->cmdStop_Click(); });
    new ClickOnAccessKey(controls_.cmdStop);
    connect(controls_.cmdEnd, &QPushButton::clicked, this, &QWidget::close);
    // "閉じる" is the window's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, controls_.cmdEnd, &QPushButton::click);
    connect(controls_.Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(controls_.cmdReferExcel, &QPushButton::clicked, this,
            [this] { PickFile(FileKind::Workbook, TextBox::txtExcel); });
    connect(controls_.cmdReferText, &QPushButton::clicked, this,
            [this] { PickFile(FileKind::TextFile, TextBox::txtText); });
    connect(controls_.cmdReferDup, &QPushButton::clicked, this,
            [this] { PickFile(FileKind::DuplicateSource, TextBox::txtDup); });
    connect(controls_.cmdReferFolder, &QPushButton::clicked, this,
            &MainWindow::cmdReferFolder_Click);
}

void MainWindow::cmdCreate_Click() {
    if (running_) {
        return;
    }
    running_ = true;
    // Alt+G may start a run from any input, which the lock then disables.
    const QPointer<QWidget> focused = focusWidget();
    mirror_->setDeferred(true);
    const RunOutcome outcome = run_->cmdCreate_Click();
    mirror_->setDeferred(false);
    running_ = false;
    if (outcome != RunOutcome::Refused) {  // a refusal has put the focus on the input at fault
        QWidget* target = focused && focused->isEnabled() ? focused.data() : controls_.cmdCreate;
        target->setFocus(Qt::OtherFocusReason);
    }
    if (closeWhenRunEnds_) {
        close();
    }
}

void MainWindow::Command1_Click() {
    // Opened from a run's pump, the dialog holds the run until it closes.
    AboutDialog about(this, services_.showMessage, services_.systemInfo);
    about.exec();
}

void MainWindow::PickFile(FileKind kind, TextBox box) {
    if (const std::optional<QString> path = filePicker_.Pick(this, kind)) {
        model_.setText(box, *path);
    }
}

void MainWindow::cmdReferFolder_Click() {
    if (const std::optional<QString> folder = PickFolder(this, model_.text(TextBox::txtFolder))) {
        model_.setText(TextBox::txtFolder, *folder);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The run stops between two items and cleans up; the window closes when it has.
        closeWhenRunEnds_ = true;
        run_->cmdStop_Click();
        event->ignore();
        return;
    }
    if (closing_) {
        event->ignore();  // a second request while the message below is up: the first one closes
        return;
    }
    closing_ = true;
    IniSettingsStore store(services_.settingsPath);
    const SettingsSaveResult saved = SaveSettings(store, ReadRunSettings(model_));
    if (saved.outcome != SettingsSaveResult::Outcome::Saved) {
        services_.showMessage(this, SaveFailureMessage(saved), QMessageBox::Warning);
    }
    closing_ = false;
    event->accept();
}

}  // namespace zarame
