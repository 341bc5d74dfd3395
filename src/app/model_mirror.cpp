#include "app/model_mirror.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <climits>

#include "app/typing_limit.h"
#include "common/byte_text.h"
#include "window/reactions.h"
#include "window/window_model.h"

namespace zarame {

namespace {

// About 50 refreshes a second: smooth to the eye, and painting stays a small part of a run.
constexpr qint64 kRefreshIntervalMilliseconds = 20;

int ToBarUnits(float value) {
    return static_cast<int>(std::clamp<double>(value, INT_MIN, INT_MAX));
}

}  // namespace

ModelMirror::ModelMirror(WindowModel& model, const WindowControls& controls)
    : model_(model), controls_(controls) {
    controls_.lstLog->setModel(&log_);
    for (int box = 0; box < kTextBoxCount; ++box) {
        ShowText(static_cast<TextBox>(box));
    }
    for (int group = 0; group < kOptionGroupCount; ++group) {
        ShowSelection(static_cast<OptionGroup>(group));
    }
    for (int control = 0; control < kControlCount; ++control) {
        ShowEnabled(static_cast<Control>(control));
    }
    for (int label = 0; label < kLabelCount; ++label) {
        ShowCaption(static_cast<Label>(label));
    }
    ShowLog();
    ShowProgress();
    ConnectModel();
    ConnectControls();
    sinceRefresh_.start();
}

void ModelMirror::ConnectModel() {
    connect(&model_, &WindowModel::textChanged, this, &ModelMirror::ShowText);
    connect(&model_, &WindowModel::selectionChanged, this, &ModelMirror::ShowSelection);
    connect(&model_, &WindowModel::enabledChanged, this, &ModelMirror::ShowEnabled);
    connect(&model_, &WindowModel::captionChanged, this, &ModelMirror::ShowCaption);
    connect(&model_, &WindowModel::titleChanged, this,
            [this] { controls_.cmdEnd->window()->setWindowTitle(model_.title()); });
    connect(&model_, &WindowModel::logLineAppended, this, &ModelMirror::LogChanged);
    connect(&model_, &WindowModel::logFirstLineRemoved, this, &ModelMirror::LogChanged);
    connect(&model_, &WindowModel::logCleared, this, &ModelMirror::LogChanged);
    connect(&model_, &WindowModel::logTopIndexChanged, this, &ModelMirror::LogChanged);
    connect(&model_, &WindowModel::progressChanged, this, &ModelMirror::ProgressChanged);
}

void ModelMirror::ConnectControls() {
    for (int box = 0; box < kTextBoxCount; ++box) {
        connect(
            controls_.texts[box], &QLineEdit::textChanged, this,
            [this, box](const QString& text) { model_.setText(static_cast<TextBox>(box), text); });
    }
    for (int group = 0; group < kOptionGroupCount; ++group) {
        connect(
            controls_.optionGroups[group], &QButtonGroup::idClicked, this,
            [this, group](int member) { model_.select(static_cast<OptionGroup>(group), member); });
    }
    // GotFocus and LostFocus of the sequence inputs refresh the preview.
    for (TextBox box :
         {TextBox::txtFix, TextBox::txtMin, TextBox::txtMax, TextBox::txtSize, TextBox::txtExt}) {
        controls_.text(box)->installEventFilter(this);
    }
    for (QRadioButton* option : controls_.options[static_cast<int>(OptionGroup::optBeforeAfter)]) {
        if (option != nullptr) {
            option->installEventFilter(this);
        }
    }
}

bool ModelMirror::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        SequenceInputFocusChanged(model_);
    }
    return QObject::eventFilter(watched, event);
}

void ModelMirror::ShowText(TextBox box) {
    QLineEdit* field = controls_.text(box);
    if (field->text() != model_.text(box)) {
        TypingLimit::ShowWhole(field, model_.text(box));
        field->setCursorPosition(0);
    }
}

void ModelMirror::ShowSelection(OptionGroup group) {
    const int member = model_.selected(group);
    const auto& members = controls_.options[static_cast<int>(group)];
    if (member >= 0 && member < static_cast<int>(members.size()) && members[member] != nullptr) {
        members[member]->setChecked(true);
    }
}

bool ModelMirror::FramesAllow(const QWidget* widget) const {
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        for (Control frame : {Control::fra0, Control::fra1, Control::fra2}) {
            if (parent == controls_.control(frame) && !model_.enabled(frame)) {
                return false;
            }
        }
    }
    return true;
}

void ModelMirror::ShowEnabled(Control control) {
    // A disabled frame locks the inputs inside it but, as on Windows, leaves its labels as they
    // are: the frame itself stays enabled and its inputs are disabled one by one.
    if (control == Control::fra0 || control == Control::fra1 || control == Control::fra2) {
        const QWidget* frame = controls_.control(control);
        for (int inner = 0; inner < kControlCount; ++inner) {
            QWidget* widget = controls_.controls[inner];
            if (widget != frame && frame->isAncestorOf(widget)) {
                ShowEnabled(static_cast<Control>(inner));
            }
        }
        return;
    }
    QWidget* widget = controls_.control(control);
    widget->setEnabled(model_.enabled(control) && FramesAllow(widget));
}

void ModelMirror::ShowCaption(Label label) {
    controls_.labels[static_cast<int>(label)]->setText(VisibleText(model_.caption(label)));
}

void ModelMirror::LogChanged() {
    logPending_ = true;
    if (!deferred_) {
        ShowLog();
    }
}

void ModelMirror::ProgressChanged() {
    progressPending_ = true;
    if (!deferred_) {
        ShowProgress();
    }
}

void ModelMirror::ShowLog() {
    logPending_ = false;
    log_.setLines(model_.logLines());
    const int top = model_.logTopIndex();
    if (top >= 0 && top < log_.rowCount()) {
        controls_.lstLog->scrollTo(log_.index(top), QAbstractItemView::PositionAtTop);
    }
}

void ModelMirror::ShowProgress() {
    progressPending_ = false;
    const ProgressBar& bar = model_.progress();
    const int minimum = ToBarUnits(bar.minimum);
    controls_.pbBar->setRange(minimum, std::max(minimum, ToBarUnits(bar.maximum)));
    controls_.pbBar->setValue(ToBarUnits(bar.value));
}

void ModelMirror::setDeferred(bool deferred) {
    deferred_ = deferred;
    if (!deferred_) {
        Refresh();
    }
}

void ModelMirror::RefreshIfDue() {
    if (sinceRefresh_.elapsed() >= kRefreshIntervalMilliseconds) {
        Refresh();
    }
}

void ModelMirror::Refresh() {
    sinceRefresh_.restart();
    if (logPending_) {
        ShowLog();
    }
    if (progressPending_) {
        ShowProgress();
    }
}

}  // namespace zarame
