// zarame: the desktop program.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "app/app_options.h"
#include "app/app_setup.h"
#include "app/main_window.h"
#include "common/byte_text.h"
#include "common/process_start.h"
#include "create/application_folder.h"
#include "settings/settings_store.h"

namespace {

int signalSockets[2] = {-1, -1};

// A termination request (logout, kill, Ctrl+C in the terminal that started the program) closes
// the window as its close button does: a run stops between items and cleans up, and the
// settings are saved.
void CloseOnTerminationSignals(QWidget& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        [[maybe_unused]] const ssize_t count = ::read(signalSockets[1], &byte, 1);
        // An open dialog (About, a picker, a message) would hold the run or the close.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
                dialog->reject();
            }
        }
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = [](int) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t count = ::write(signalSockets[0], &byte, 1);
    };
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int closeSignal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(closeSignal, &action, nullptr);
    }
}

void PrintTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!zarame::PrepareProcess()) {
        return 1;
    }
    // Read before the toolkit starts: help, the version and a refusal need no display.
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments << zarame::DecodeBytes(argv[index]);
    }
    const zarame::AppCommandLine line = zarame::ParseAppArguments(arguments);
    switch (line.request) {
        case zarame::AppCommandLine::Request::Help:
            PrintTo(stdout, zarame::AppUsage());
            return 0;
        case zarame::AppCommandLine::Request::Version:
            PrintTo(stdout, zarame::AppVersionLine());
            return 0;
        case zarame::AppCommandLine::Request::Refuse:
            PrintTo(stderr,
                    QStringLiteral("zarame: ") + line.error + u'\n' + u'\n' + zarame::AppUsage());
            return 2;
        case zarame::AppCommandLine::Request::OpenWindow:
            break;
    }
    QApplication application(argc, argv);
    zarame::SetUpApplication(application);
    zarame::MainWindow window({zarame::DefaultSettingsPath(), zarame::DefaultTemplatePath(), {}});
    CloseOnTerminationSignals(window);
    window.show();
    return application.exec();
}
