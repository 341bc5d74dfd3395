#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "app/log_list_model.h"
#include "app/window_controls.h"

namespace zarame {

class WindowModel;

// Keeps the drawn controls and the window model in step: model changes are shown, and the user's
// edits, clicks and focus changes go to the model, whose reactions do the rest. During a run the
// log and the progress bar, which change with every item, are shown at a bounded rate instead.
class ModelMirror final : public QObject {
public:
    ModelMirror(WindowModel& model, const WindowControls& controls);

    // While set, the log and the bar are shown by Refresh only (or at once when the run ends).
    void setDeferred(bool deferred);
    // Shows the log and the bar if the last showing is older than a frame.
    void RefreshIfDue();
    // Shows everything pending now.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectModel();
    void ConnectControls();
    void ShowText(TextBox box);
    void ShowSelection(OptionGroup group);
    void ShowEnabled(Control control);
    bool FramesAllow(const QWidget* widget) const;
    void ShowCaption(Label label);
    void ShowLog();
    void ShowProgress();
    void LogChanged();
    void ProgressChanged();

    WindowModel& model_;
    const WindowControls& controls_;
    LogListModel log_;
    bool deferred_ = false;
    bool logPending_ = false;
    bool progressPending_ = false;
    QElapsedTimer sinceRefresh_;
};

}  // namespace zarame
