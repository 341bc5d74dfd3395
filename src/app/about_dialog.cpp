#include "app/about_dialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace zarame {

namespace {

const QString kApplicationTitle = QStringLiteral("ざらめ");

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    return label;
}

QLineEdit* AddSupportField(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    QPalette buttonFace = field->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    field->setPalette(buttonFace);
    field->setGeometry(at);
    return field;
}

// One line of the etched separator.
void AddLine(QWidget* parent, const char* name, QColor colour, QRect at) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setGeometry(at);
}

}  // namespace

SystemInfoPrograms DefaultSystemInfoPrograms() {
    return {{QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
             QStringLiteral("gnome-system-monitor")},
            {}};
}

QString AboutVersionLine(int major, int minor, int revision) {
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(major).arg(minor).arg(revision);
}

AboutDialog::AboutDialog(QWidget* parent, MessagePresenter showMessage, SystemInfoPrograms programs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      showMessage_(std::move(showMessage)),
      programs_(std::move(programs)) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(382, 237);  // 5730 x 3555 twips

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    picIcon->setGeometry(16, 16, 48, 48);

    QLabel* lblTitle =
        AddLabel(this, "lblTitle", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), {80, 14, 286, 32});
    QFont titleFont = lblTitle->font();
    titleFont.setPixelSize(titleFont.pixelSize() > 0 ? titleFont.pixelSize() * 2 : 24);
    lblTitle->setFont(titleFont);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);
    QLabel* lblVersion = AddLabel(this, "lblVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), {80, 50, 286, 20});

    AddLabel(this, "Label1", QStringLiteral("サポート先"), {80, 80, 286, 20});
    AddSupportField(this, "Text1", QStringLiteral("https://zarame.example/support/"),
                    {80, 102, 286, 24});
    AddSupportField(this, "Text2", QStringLiteral("support@zarame.example"), {80, 130, 286, 24});

    AddLine(this, "Line1_0", QColor(128, 128, 128), {8, 166, 366, 1});
    AddLine(this, "Line1_1", Qt::white, {8, 167, 366, 2});

    QLabel* Label2 = AddLabel(this, "Label2",
                              QStringLiteral("Copyright (C) 2026 ざらめ 開発者一同\n"
                                             "この製品は無保証で提供されます。"),
                              {8, 178, 250, 48});
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(266, 176, 108, 26);
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    // Focused, it is the button Enter presses, as on Windows; OK is otherwise.
    cmdSysInfo->setAutoDefault(true);
    cmdSysInfo->setGeometry(266, 206, 108, 26);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::StartSysInfo);
    cmdOK->setFocus();

    setWindowTitle(kApplicationTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(
        AboutVersionLine(ZARAME_VERSION_MAJOR, ZARAME_VERSION_MINOR, ZARAME_VERSION_REVISION));
    lblTitle->setText(kApplicationTitle);
}

void AboutDialog::StartSysInfo() {
    for (const QString& name : programs_.names) {
        const QString path = QStandardPaths::findExecutable(name, programs_.searchPaths);
        if (path.isEmpty()) {
            continue;
        }
        if (QProcess::startDetached(path, {})) {
            return;
        }
        break;  // found but would not start: the same message as none at all
    }
    showMessage_(this, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), QMessageBox::NoIcon);
}

}  // namespace zarame
