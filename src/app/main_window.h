#pragma once

#include <QWidget>
#include <memory>

#include "app/about_dialog.h"
#include "app/message_box.h"
#include "app/path_pickers.h"
#include "app/window_controls.h"
#include "run/progress_log.h"
#include "run/run_sequence.h"
#include "window/window_model.h"

namespace zarame {

class ModelMirror;
class WindowHost;

// What the window uses from outside; tests replace each of these.
struct MainWindowServices {
    QString settingsPath;
    QString templatePath;
    RunSequence::FileServiceFactory makeFileService;  // empty: the real file system
    MessagePresenter showMessage = ShowMessageBox;
    SystemInfoPrograms systemInfo = DefaultSystemInfoPrograms();
};

// frmMain: the thin drawn layer over the window model. Opening it loads the settings; closing it,
// by "閉じる" or any other way, saves them. A run is started by "作成開始(&G)" and runs inside the
// click, pumping the application's events between items.
class MainWindow final : public QWidget {
public:
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;

    WindowModel& model() { return model_; }
    const WindowControls& controls() const { return controls_; }
    RunSequence& run() { return *run_; }
    bool running() const { return running_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectButtons();
    void cmdCreate_Click();
    void Command1_Click();
    void PickFile(FileKind kind, TextBox box);
    void cmdReferFolder_Click();

    MainWindowServices services_;
    WindowModel model_;
    WindowControls controls_;
    std::unique_ptr<ModelMirror> mirror_;
    std::unique_ptr<WindowHost> host_;
    std::unique_ptr<WindowLog> log_;
    std::unique_ptr<RunSequence> run_;
    FilePicker filePicker_;
    bool running_ = false;
    bool closeWhenRunEnds_ = false;
    bool closing_ = false;
};

}  // namespace zarame
