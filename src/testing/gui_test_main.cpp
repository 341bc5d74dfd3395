// The window's tests: real widgets on the offscreen platform, so no display is needed.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

#include "app/app_setup.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The file dialog remembers its history in the user's configuration; keep that out of it.
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    zarame::SetUpApplication(application);
    return RUN_ALL_TESTS();
}
