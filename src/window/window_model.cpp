#include "window/window_model.h"

#include "window/input_defaults.h"

namespace zarame {

WindowModel::WindowModel() {
    setObjectName(QStringLiteral("frmMain"));
    title_ = QStringLiteral("ざらめ v");
    for (int box = 0; box < kTextBoxCount; ++box) {
        texts_[box] = DefaultText(static_cast<TextBox>(box));
    }
    for (int group = 0; group < kOptionGroupCount; ++group) {
        selections_[group] = DefaultMember(static_cast<OptionGroup>(group));
    }
    enabled_.fill(true);
    enabled_[Index(Control::cmdStop)] = false;
}

void WindowModel::setText(TextBox box, const QString& text) {
    QString& current = texts_[Index(box)];
    if (current == text) {
        return;
    }
    current = text;
    emit textChanged(box);
}

void WindowModel::select(OptionGroup group, int member) {
    // Selecting is a click: it reacts even when the member was selected already.
    selections_[Index(group)] = member;
    emit selectionChanged(group);
}

NameSource WindowModel::nameSource() const {
    switch (selected(OptionGroup::optType)) {
        case 0:
            return NameSource::ExcelColumn;
        case 1:
            return NameSource::TextFile;
        default:
            return NameSource::SequentialNumbers;
    }
}

ItemKind WindowModel::itemKind() const {
    switch (selected(OptionGroup::optSpec)) {
        case 0:
            return ItemKind::NewFile;
        case 1:
            return ItemKind::Duplicate;
        default:
            return ItemKind::Folder;
    }
}

void WindowModel::setEnabled(Control control, bool enabled) {
    bool& current = enabled_[Index(control)];
    if (current == enabled) {
        return;
    }
    current = enabled;
    emit enabledChanged(control);
}

void WindowModel::setCaption(Label label, const QString& caption) {
    QString& current = captions_[Index(label)];
    if (current == caption) {
        return;
    }
    current = caption;
    emit captionChanged(label);
}

void WindowModel::setTitle(const QString& title) {
    title_ = title;
    emit titleChanged();
}

void WindowModel::appendLogLine(const QString& line) {
    logLines_.append(line);
    emit logLineAppended(line);
}

void WindowModel::removeFirstLogLine() {
    if (logLines_.isEmpty()) {
        return;
    }
    logLines_.removeFirst();
    emit logFirstLineRemoved();
}

void WindowModel::clearLog() {
    logLines_.clear();
    logTopIndex_ = -1;
    emit logCleared();
}

void WindowModel::setLogTopIndex(int index) {
    logTopIndex_ = index;
    emit logTopIndexChanged(index);
}

void WindowModel::setProgressMinimum(float minimum) {
    progress_.minimum = minimum;
    emit progressChanged();
}

void WindowModel::setProgressMaximum(float maximum) {
    progress_.maximum = maximum;
    emit progressChanged();
}

void WindowModel::setProgressValue(float value) {
    progress_.value = value;
    emit progressChanged();
}

}  // namespace zarame

namespace zarame {

QString MainWindowTitle(int major, int minor, int revision) {
    return QStringLiteral("ざらめ v%1.%2%3").arg(major).arg(minor).arg(revision);
}

QString MainWindowTitle() {
    return MainWindowTitle(ZARAME_VERSION_MAJOR, ZARAME_VERSION_MINOR, ZARAME_VERSION_REVISION);
}

}  // namespace zarame
