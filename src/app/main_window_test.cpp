#include "app/main_window.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace zarame {
namespace {

TEST(MainWindowTest, Opens) {
    QTemporaryDir folder;
    MainWindow window({folder.filePath("Tobiuo.ini"), folder.filePath("KRB_tmp.tmp"), {}});
    window.show();
    EXPECT_EQ(window.windowTitle(), u"ざらめ v1.10");
}

}  // namespace
}  // namespace zarame
