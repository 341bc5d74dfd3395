// A placeholder window until the main window is built: it shows the title and points to the
// command-line runner, which already drives every batch.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "common/process_start.h"
#include "window/window_model.h"

int main(int argc, char* argv[]) {
    if (!zarame::PrepareProcess()) {
        return 1;
    }
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(zarame::MainWindowTitle());
    auto* layout = new QVBoxLayout(&window);
    auto* notice = new QLabel(
        QStringLiteral("画面は準備中です。\n一括作成はコマンドライン版 zarame-cli で実行できます "
                       "(zarame-cli --help)。"));
    notice->setMargin(24);
    layout->addWidget(notice);
    window.show();
    return application.exec();
}
