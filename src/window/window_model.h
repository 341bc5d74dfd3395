#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "window/batch_request.h"

namespace zarame {

// Enumerators carry the names of the window's controls, so logic reads like the window it drives.

enum class TextBox {
    txtExcel,
    txtStartCell,
    txtBlank,
    txtText,
    txtFix,
    txtMin,
    txtMax,
    txtSize,
    txtExt,
    txtFolder,
    txtFileByte,
    txtCode,
    txtDup,
};
inline constexpr int kTextBoxCount = 13;

enum class OptionGroup { optType, optBeforeAfter, optSpec };
inline constexpr int kOptionGroupCount = 3;

// Every control whose enabled flag the logic sets; option-group members one by one.
enum class Control {
    optType0,
    optType1,
    optType2,
    fra0,
    txtExcel,
    cmdReferExcel,
    txtStartCell,
    txtBlank,
    fra1,
    txtText,
    cmdReferText,
    fra2,
    txtFix,
    optBeforeAfter0,
    optBeforeAfter1,
    txtMin,
    txtMax,
    txtSize,
    txtExt,
    lstLog,
    txtFolder,
    cmdReferFolder,
    optSpec0,
    optSpec1,
    optSpec2,
    txtFileByte,
    txtCode,
    txtDup,
    cmdReferDup,
    cmdCreate,
    cmdStop,
    cmdEnd,
    Command1,
};
inline constexpr int kControlCount = 33;

enum class Label { lblSample0, lblSample1, lblNow };
inline constexpr int kLabelCount = 3;

struct ProgressBar {
    float minimum = 0;
    float maximum = 100;
    float value = 0;
};

// Every value the logic reads or writes on the main window, with a signal per kind of change so
// that a drawn window (or the command line) can mirror it. Holds no behaviour of its own: the
// reactions live with the procedures that own them.
class WindowModel : public QObject {
    Q_OBJECT

public:
    // The design state of a first start, before any setting is loaded.
    WindowModel();

    const QString& text(TextBox box) const { return texts_[Index(box)]; }
    void setText(TextBox box, const QString& text);

    int selected(OptionGroup group) const { return selections_[Index(group)]; }
    void select(OptionGroup group, int member);
    NameSource nameSource() const;
    ItemKind itemKind() const;
    bool numberFirst() const { return selected(OptionGroup::optBeforeAfter) == 0; }

    bool enabled(Control control) const { return enabled_[Index(control)]; }
    void setEnabled(Control control, bool enabled);

    const QString& caption(Label label) const { return captions_[Index(label)]; }
    void setCaption(Label label, const QString& caption);

    const QString& title() const { return title_; }
    void setTitle(const QString& title);

    // lstLog: its lines and the first visible line.
    const QStringList& logLines() const { return logLines_; }
    int logTopIndex() const { return logTopIndex_; }
    void appendLogLine(const QString& line);
    void removeFirstLogLine();
    void clearLog();
    void setLogTopIndex(int index);

    // pbBar, in single precision like the control it stands for.
    const ProgressBar& progress() const { return progress_; }
    void setProgressMinimum(float minimum);
    void setProgressMaximum(float maximum);
    void setProgressValue(float value);

signals:
    void textChanged(zarame::TextBox box);
    void selectionChanged(zarame::OptionGroup group);
    void enabledChanged(zarame::Control control);
    void captionChanged(zarame::Label label);
    void titleChanged();
    void logLineAppended(const QString& line);
    void logFirstLineRemoved();
    void logCleared();
    void logTopIndexChanged(int index);
    void progressChanged();

private:
    template <typename Enum>
    static constexpr int Index(Enum value) {
        return static_cast<int>(value);
    }

    std::array<QString, kTextBoxCount> texts_;
    std::array<int, kOptionGroupCount> selections_{};
    std::array<bool, kControlCount> enabled_{};
    std::array<QString, kLabelCount> captions_;
    QString title_;
    QStringList logLines_;
    int logTopIndex_ = -1;
    ProgressBar progress_;
};

}  // namespace zarame

namespace zarame {

// "ざらめ v" + major + "." + minor and revision run together: version 1.1.0 reads ざらめ v1.10.
QString MainWindowTitle(int major, int minor, int revision);

// The title of this build.
QString MainWindowTitle();

}  // namespace zarame
