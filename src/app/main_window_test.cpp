#include "app/main_window.h"

#include <gtest/gtest.h>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "common/byte_text.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::WriteFile;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        destination_ = QDir(temporary_.path()).filePath(QStringLiteral("out"));
        QDir().mkpath(destination_);
    }

    QString SettingsPath() const { return temporary_.filePath(QStringLiteral("Tobiuo.ini")); }
    QString TemplatePath() const { return temporary_.filePath(QStringLiteral("KRB_tmp.tmp")); }

    void Store(std::initializer_list<std::pair<const char*, QString>> values) {
        QSettings settings(SettingsPath(), QSettings::IniFormat);
        for (const auto& [key, value] : values) {
            settings.setValue(QStringLiteral("KRB/") + QLatin1String(key), value);
        }
    }
    QString Stored(const char* key) {
        return QSettings(SettingsPath(), QSettings::IniFormat)
            .value(QStringLiteral("KRB/") + QLatin1String(key))
            .toString();
    }
    // Sequential numbers from 1 to `last` into the destination, as folders.
    void StoreFolderRun(int last) {
        Store({{"Type", QStringLiteral("2")},
               {"FixedText", QStringLiteral("item")},
               {"NumberMax", QString::number(last)},
               {"NumberSize", QStringLiteral("0")},
               {"Folder", destination_},
               {"FileCreateSpec", QStringLiteral("2")}});
    }

    MainWindow& Open() {
        MainWindowServices services{SettingsPath(), TemplatePath(), {}};
        services.showMessage = [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
            messages_.push_back({text, icon});
        };
        services.systemInfo = {};
        window_ = std::make_unique<MainWindow>(std::move(services));
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* name) {
        Widget* widget = window_->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString Shown(const char* label) { return Find<QLabel>(label)->text(); }
    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    bool Enabled(const char* name) { return Find(name)->isEnabled(); }
    std::vector<bool> EnabledStates() {
        std::vector<bool> states;
        for (QWidget* widget : window_->findChildren<QWidget*>()) {
            states.push_back(widget->isEnabled());
        }
        return states;
    }
    QStringList LogShown() {
        QStringList lines;
        const QAbstractItemModel* list = Find<QListView>("lstLog")->model();
        for (int row = 0; row < list->rowCount(); ++row) {
            lines << list->index(row, 0).data().toString();
        }
        return lines;
    }
    // Runs `action` at the first pump of the run that the start button begins.
    void DuringRun(std::function<void()> action) {
        QTimer::singleShot(0, window_.get(), std::move(action));
    }

    QTemporaryDir temporary_;
    QString destination_;
    std::vector<std::pair<QString, QMessageBox::Icon>> messages_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartUpShowsStoredInputsWithTheirReactions) {
    Store({{"Type", QStringLiteral("2")},
           {"FixedText", QStringLiteral("file")},
           {"BeforeAfter", QStringLiteral("0")},
           {"Extension", QStringLiteral(".txt")},
           {"StartCell", QStringLiteral("AA10")},
           {"Folder", DecodeBytes("/tmp/\xff-bytes")}});
    Open();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("ざらめ v%1.%2%3")
                                          .arg(ZARAME_VERSION_MAJOR)
                                          .arg(ZARAME_VERSION_MINOR)
                                          .arg(ZARAME_VERSION_REVISION));
    EXPECT_TRUE(Find<QRadioButton>("optType2")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("optBeforeAfter0")->isChecked());
    EXPECT_TRUE(Enabled("txtFix"));
    EXPECT_FALSE(Enabled("txtExcel"));
    EXPECT_FALSE(Enabled("cmdReferText"));
    EXPECT_FALSE(Enabled("cmdStop"));
    EXPECT_EQ(Shown("lblSample0"), u"001file.txt");
    EXPECT_EQ(Shown("lblSample1"), u"100file.txt");
    // A stored text longer than the typing limit is shown whole; typing cannot lengthen it.
    auto* startCell = Find<QLineEdit>("txtStartCell");
    EXPECT_EQ(startCell->text(), u"AA10");
    EXPECT_EQ(Find<QLineEdit>("txtFolder")->text(), DecodeBytes("/tmp/\xff-bytes"));
}

TEST_F(MainWindowTest, EveryCaptionFitsItsControlAt96Dpi) {
    Open();
    // Laid out at 96 DPI: a caption wider or taller than its box would be cut off.
    const auto fits = [](QWidget* widget, const QString& caption, int padding) {
        const QFontMetrics metrics(widget->font());
        const QString shown = QString(caption).remove(u'&');
        EXPECT_LE(metrics.horizontalAdvance(shown) + padding, widget->width())
            << shown.toStdString();
        EXPECT_LE(metrics.height(), widget->height()) << shown.toStdString();
    };
    for (QLabel* label : window_->findChildren<QLabel*>()) {
        fits(label, label->text(), 0);
    }
    for (QRadioButton* option : window_->findChildren<QRadioButton*>()) {
        EXPECT_LE(option->sizeHint().width(), option->width()) << option->text().toStdString();
    }
    // Boxes grown to fit their caption must not run into their neighbours. Frames hold controls,
    // and the design lets a caption touch a frame's edge.
    const auto frame = [](const QWidget* widget) {
        return widget->metaObject() == &QFrame::staticMetaObject;
    };
    QList<QWidget*> containers{window_.get()};
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        if (frame(widget)) {
            containers << widget;
        }
    }
    for (QWidget* container : containers) {
        const QList<QWidget*> children =
            container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype first = 0; first < children.size(); ++first) {
            for (qsizetype second = first + 1; second < children.size(); ++second) {
                const QWidget* one = children[first];
                const QWidget* other = children[second];
                if (frame(one) || frame(other) || one->isWindow() || other->isWindow())
                    continue;
                EXPECT_FALSE(one->geometry().intersects(other->geometry()))
                    << one->property("text").toString().toStdString() << " / "
                    << other->property("text").toString().toStdString();
            }
        }
    }
    for (QPushButton* button : window_->findChildren<QPushButton*>()) {
        fits(button, button->text(), 6);
    }
}

TEST_F(MainWindowTest, ClicksAndTypingReactAsTheWiringSays) {
    Open();
    Click("optType2");
    EXPECT_TRUE(Enabled("txtMin"));
    EXPECT_EQ(Shown("lblSample1"), u"100");
    auto* fixedText = Find<QLineEdit>("txtFix");
    fixedText->setFocus();
    QTest::keyClick(fixedText, Qt::Key_F);
    EXPECT_EQ(Shown("lblSample0"), u"f001");
    QTest::keyClicks(fixedText, QStringLiteral("ile"));
    EXPECT_EQ(Shown("lblSample0"), u"file001");
    Click("optBeforeAfter0");
    EXPECT_EQ(Shown("lblSample0"), u"001file");

    // Other sources switch the groups and leave the preview as it is.
    Click("optType1");
    EXPECT_TRUE(Enabled("txtText"));
    EXPECT_FALSE(Enabled("optBeforeAfter0"));
    EXPECT_TRUE(Find<QRadioButton>("optBeforeAfter0")->isChecked());
    EXPECT_EQ(Shown("lblSample0"), u"001file");
    Click("optSpec2");
    EXPECT_FALSE(Enabled("txtFileByte"));
    EXPECT_FALSE(Enabled("cmdReferDup"));
    EXPECT_TRUE(Enabled("cmdReferFolder"));

    // Typing limits: a full field takes no more characters, but can still be shortened.
    Click("optType0");
    auto* blankRows = Find<QLineEdit>("txtBlank");
    blankRows->setFocus();
    blankRows->end(false);
    QTest::keyClick(blankRows, Qt::Key_7);
    EXPECT_EQ(blankRows->text(), u"3");
    QTest::keyClick(blankRows, Qt::Key_Backspace);
    QTest::keyClick(blankRows, Qt::Key_7);
    EXPECT_EQ(window_->model().text(TextBox::txtBlank), u"7");
}

TEST_F(MainWindowTest, RunThroughTheStartButtonAndItsEnabledStatesAfterwards) {
    StoreFolderRun(120);
    Store({{"LogMax", QStringLiteral("100")}});
    Open();
    const std::vector<bool> before = EnabledStates();
    // Alt+G presses the start button as a click does; a probe looks at the window mid-run.
    bool lockedDuringRun = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (window_->running()) {
            lockedDuringRun = !Enabled("cmdCreate") && !Enabled("txtFolder") && Enabled("cmdStop");
        }
    });
    probe.start(0);
    QTest::keySequence(window_.get(), QKeySequence(QStringLiteral("Alt+G")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Enabled("cmdEnd") || !LogShown().isEmpty(); }));
    probe.stop();
    EXPECT_TRUE(lockedDuringRun);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(FolderEntries(destination_).size(), 120);
    // The list shows the model's last LogMax lines exactly once the run has ended.
    const QStringList log = LogShown();
    ASSERT_EQ(log.size(), 100);
    EXPECT_EQ(log.first(), destination_ + QStringLiteral("/item21を作成しました"));
    EXPECT_EQ(log.last(), destination_ + QStringLiteral("/item120を作成しました"));
    auto* bar = Find<QProgressBar>("pbBar");
    EXPECT_EQ(bar->maximum(), 120);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(Shown("lblNow"), QString());
    EXPECT_EQ(EnabledStates(), before);

    // Stopped: Alt+S is seen at the next pump, before the next item.
    DuringRun([&] { QTest::keySequence(window_.get(), QKeySequence(QStringLiteral("Alt+S"))); });
    window_->model().setText(TextBox::txtFix, QStringLiteral("stopped"));
    Click("cmdCreate");
    EXPECT_EQ(FolderEntries(destination_).size(), 121);
    EXPECT_EQ(LogShown().last(), u"処理を中断しました");
    EXPECT_EQ(EnabledStates(), before);

    // Refused: one warning, nothing locked, the log of the last run kept.
    window_->model().setText(TextBox::txtFolder, QString());
    const QStringList kept = LogShown();
    Click("cmdCreate");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].first, u"作成先フォルダを指定してください");
    EXPECT_EQ(messages_[0].second, QMessageBox::Warning);
    EXPECT_EQ(LogShown(), kept);
    EXPECT_EQ(EnabledStates(), before);
}

TEST_F(MainWindowTest, AboutDuringARunHoldsTheBatchUntilItCloses) {
    StoreFolderRun(50);
    Open();
    qsizetype createdWhileOpen = -1;
    qsizetype createdAfterWait = -1;
    DuringRun([&] {
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            EXPECT_EQ(about->objectName(), u"frmAbout");
            createdWhileOpen = FolderEntries(destination_).size();
            QTest::qWait(50);
            createdAfterWait = FolderEntries(destination_).size();
            about->accept();
        });
        Click("Command1");
    });
    Click("cmdCreate");
    EXPECT_GT(createdWhileOpen, 0);
    EXPECT_EQ(createdAfterWait, createdWhileOpen);
    EXPECT_EQ(FolderEntries(destination_).size(), 50);
}

TEST_F(MainWindowTest, SettingsAreSavedWhicheverWayTheWindowCloses) {
    const std::function<void()> closers[] = {
        [&] { Click("cmdEnd"); }, [&] { QTest::keyClick(window_.get(), Qt::Key_Escape); },
        [&] { window_->close(); },  // the title bar's close button
    };
    int round = 0;
    for (const auto& closeWindow : closers) {
        Open();
        Click("optType2");
        const QString text = QStringLiteral(" a,b;\"c\" @%1 ").arg(++round);
        Find<QLineEdit>("txtFix")->clear();
        QTest::keyClicks(Find<QLineEdit>("txtFix"), text);
        Click("optSpec1");
        closeWindow();
        EXPECT_FALSE(window_->isVisible());
        EXPECT_EQ(Stored("FixedText"), text);
        EXPECT_EQ(Stored("FileCreateSpec"), u"1");
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindowTest, ASaveThatCannotBeDoneIsSaidOnClose) {
    // The settings file is a link to someone else's file: it stays as it is, and the window says
    // so as it closes.
    const QString other = temporary_.filePath(QStringLiteral("profile"));
    const QByteArray contents = "# mine\nalias ll='ls -l'\n";
    WriteFile(other, contents);
    ASSERT_TRUE(QFile::link(other, SettingsPath()));
    Open();
    window_->close();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(testing::ReadFile(other), contents);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].second, QMessageBox::Warning);
    for (const QString& part :
         {QStringLiteral("入力内容を保存できませんでした"), SettingsPath(), other}) {
        EXPECT_TRUE(messages_[0].first.contains(part)) << messages_[0].first.toStdString();
    }
}

TEST_F(MainWindowTest, ClosingDuringARunStopsItCleansUpAndSaves) {
    Store({{"Type", QStringLiteral("2")},
           {"NumberMax", QStringLiteral("100000")},
           {"Folder", destination_},
           {"FileSizeBytes", QStringLiteral("10")}});
    Open();
    window_->model().setText(TextBox::txtFix, QStringLiteral("closing"));
    DuringRun([&] { window_->close(); });
    Click("cmdCreate");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_LT(FolderEntries(destination_).size(), 100000);
    EXPECT_FALSE(Exists(TemplatePath()));
    EXPECT_EQ(Stored("FixedText"), u"closing");
}

TEST_F(MainWindowTest, PickersFillTheirFieldOrLeaveItOnCancel) {
    Open();
    window_->model().setText(TextBox::txtExcel, QStringLiteral("kept.xls"));
    const auto answerDialog = [](std::function<void(QFileDialog*)> answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
    };
    // The toolkit's own captions are Japanese too.
    QString cancel;
    answerDialog([&](QFileDialog* dialog) {
        cancel = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
        dialog->reject();
    });
    Click("cmdReferExcel");
    EXPECT_EQ(cancel, u"キャンセル");
    EXPECT_EQ(window_->model().text(TextBox::txtExcel), u"kept.xls");

    // A name typed without extension gets the workbook's; the text picker offers it again.
    answerDialog([&](QFileDialog* dialog) {
        EXPECT_TRUE(dialog->nameFilters().constFirst().startsWith(u"Excelファイル"));
        dialog->setDirectory(destination_);
        dialog->selectFile(QStringLiteral("book"));
        static_cast<QDialog*>(dialog)->accept();
    });
    Click("cmdReferExcel");
    const QString book = destination_ + QStringLiteral("/book.xls");
    EXPECT_EQ(window_->model().text(TextBox::txtExcel), book);
    QString offered;
    answerDialog([&](QFileDialog* dialog) {
        offered = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    Click("optType1");
    Click("cmdReferText");
    EXPECT_EQ(offered, book);
    EXPECT_EQ(window_->model().text(TextBox::txtText), QString());

    window_->model().setText(TextBox::txtFolder, destination_);
    answerDialog([&](QFileDialog* dialog) {
        offered = dialog->directory().absolutePath();
        dialog->reject();
    });
    Click("cmdReferFolder");
    EXPECT_EQ(offered, destination_);
    EXPECT_EQ(window_->model().text(TextBox::txtFolder), destination_);
}

TEST_F(MainWindowTest, KeyboardWorksAsOnWindows) {
    Store({{"Type", QStringLiteral("2")},
           {"BeforeAfter", QStringLiteral("1")},
           {"FileCreateSpec", QStringLiteral("2")},
           {"Folder", destination_}});
    Open();
    // Each option group is one Tab stop, its selected member, both ways round.
    const auto unselectedOption = [](QWidget* widget) {
        auto* option = qobject_cast<QRadioButton*>(widget);
        return option != nullptr && !option->isChecked();
    };
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        QWidget* start = QApplication::focusWidget();
        ASSERT_NE(start, nullptr);
        EXPECT_FALSE(unselectedOption(start)) << start->objectName().toStdString();
        QStringList visited;
        do {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << QApplication::focusWidget()->objectName();
            EXPECT_FALSE(unselectedOption(QApplication::focusWidget()))
                << visited.join(u' ').toStdString();
        } while (QApplication::focusWidget() != start && visited.size() < 40);
        EXPECT_TRUE(visited.contains(u"optSpec2") && visited.contains(u"optBeforeAfter1"));
    }
    // The arrow keys move the selection within a group.
    Find("optSpec2")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(window_->model().selected(OptionGroup::optSpec), 1);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"optSpec1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(window_->model().selected(OptionGroup::optSpec), 2);

    // Enter presses the focused button; after a run started by Alt+G from a field that the run
    // locks, the focus is back in that field.
    window_->model().setText(TextBox::txtFix, QStringLiteral("enter"));
    Find("cmdCreate")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return FolderEntries(destination_).size() == 100; }));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"cmdCreate");
    Find("txtFolder")->setFocus();
    window_->model().setText(TextBox::txtFix, QStringLiteral("altg"));
    QTest::keySequence(window_.get(), QKeySequence(QStringLiteral("Alt+G")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return FolderEntries(destination_).size() == 200; }));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"txtFolder");
}

// Each cause has its own text (tested with the reader); the window shows it below the message.
TEST_F(MainWindowTest, ABookThatCannotBeOpenedIsExplainedOnASecondLine) {
    const QString book = destination_ + QStringLiteral("/list.xls");
    WriteFile(book, "not a book\n");
    Store({{"Type", QStringLiteral("0")}, {"Folder", destination_}});
    Open();
    window_->model().setText(TextBox::txtExcel, book);
    Click("cmdCreate");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].first, QStringLiteral("Microsoft Excelがインストールされていません。\n"
                                                 "ブックの形式ではありません: ") +
                                      book);
    EXPECT_EQ(messages_[0].second, QMessageBox::Critical);
}

TEST_F(MainWindowTest, LabelsOfALockedFrameStayEnabled) {
    StoreFolderRun(20);
    Open();
    std::vector<bool> inputsDuringRun;
    std::vector<bool> labelsDuringRun;
    DuringRun([&] {
        for (QWidget* widget : Find("fra2")->findChildren<QWidget*>()) {
            (qobject_cast<QLabel*>(widget) ? labelsDuringRun : inputsDuringRun)
                .push_back(widget->isEnabled());
        }
    });
    Click("cmdCreate");
    EXPECT_EQ(std::count(labelsDuringRun.begin(), labelsDuringRun.end(), false), 0);
    EXPECT_EQ(std::count(inputsDuringRun.begin(), inputsDuringRun.end(), true), 1);  // Frame3
    EXPECT_TRUE(Enabled("txtMin") && Enabled("optBeforeAfter0"));
}

TEST_F(MainWindowTest, PasteOrInputMethodTextBeyondTheLimitIsCutToIt) {
    Open();
    auto* code = Find<QLineEdit>("txtCode");  // four characters
    code->setFocus();
    code->clear();
    code->insert(QStringLiteral("0x41FF"));
    EXPECT_EQ(code->text(), u"0x41");
    code->setText(QStringLiteral("1"));
    code->setCursorPosition(0);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("２５５６７"));
    QApplication::sendEvent(code, &commit);
    EXPECT_EQ(code->text(), u"２５５1");
    EXPECT_EQ(window_->model().text(TextBox::txtCode), u"２５５1");
}

TEST_F(MainWindowTest, DroppingAFilePutsItsPathInTheField) {
    Open();
    auto* folder = Find<QLineEdit>("txtFolder");
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("file:///tmp/%E6%97%A5%FF%20x"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(folder, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(folder, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(window_->model().text(TextBox::txtFolder), DecodeBytes("/tmp/\xe6\x97\xa5\xff x"));
}

}  // namespace
}  // namespace zarame
