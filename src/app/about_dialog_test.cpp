#include "app/about_dialog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace zarame {
namespace {

struct AboutFixture {
    explicit AboutFixture(SystemInfoPrograms programs)
        : dialog(
              nullptr,
              [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
                  messages.push_back({text, icon});
              },
              std::move(programs)) {}

    std::vector<std::pair<QString, QMessageBox::Icon>> messages;
    AboutDialog dialog;
};

TEST(AboutDialogTest, ShowsTitleAndVersionAndClosesOnEnterOrEscape) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        AboutFixture about({});
        about.dialog.show();
        EXPECT_EQ(about.dialog.windowTitle(), u"ざらめのﾊﾞｰｼﾞｮﾝ情報");
        EXPECT_EQ(about.dialog.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                  QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
                      .arg(ZARAME_VERSION_MAJOR)
                      .arg(ZARAME_VERSION_MINOR)
                      .arg(ZARAME_VERSION_REVISION));
        EXPECT_EQ(about.dialog.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), u"ざらめ");
        QSignalSpy finished(&about.dialog, &QDialog::finished);
        QTest::keyClick(&about.dialog, key);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(about.dialog.isVisible());
    }
}

TEST(AboutDialogTest, SystemInformationStartsTheFirstProgramFoundOrSaysNone) {
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("started"));
    AboutFixture none({{QStringLiteral("no-such-program")}, {folder.path()}});
    none.dialog.show();
    QTest::mouseClick(none.dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")),
                      Qt::LeftButton);
    ASSERT_EQ(none.messages.size(), 1u);
    EXPECT_EQ(none.messages[0].first, u"現時点ではｼｽﾃﾑ情報を使用できません");
    EXPECT_EQ(none.messages[0].second, QMessageBox::NoIcon);
    EXPECT_TRUE(none.dialog.isVisible());
    // Enter presses the focused button, not the dialog's default one.
    none.dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&none.dialog));
    none.dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(none.messages.size(), 2u);
    EXPECT_TRUE(none.dialog.isVisible());

    QFile program(folder.filePath(QStringLiteral("sysinfo")));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    AboutFixture found({{QStringLiteral("missing"), QStringLiteral("sysinfo")}, {folder.path()}});
    found.dialog.StartSysInfo();
    EXPECT_TRUE(found.messages.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
}

}  // namespace
}  // namespace zarame
