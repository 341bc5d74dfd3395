#pragma once

#include <QDialog>
#include <QStringList>

#include "app/message_box.h"

namespace zarame {

// Where "ｼｽﾃﾑ情報(&S)..." looks for a system-information program: the first of these names found
// in the search path is started (an empty search path means the user's PATH).
struct SystemInfoPrograms {
    QStringList names;
    QStringList searchPaths;
};
SystemInfoPrograms DefaultSystemInfoPrograms();

// The version, title and support information, opened modally over the main window.
class AboutDialog final : public QDialog {
public:
    AboutDialog(QWidget* parent, MessagePresenter showMessage,
                SystemInfoPrograms programs = DefaultSystemInfoPrograms());

    // Starts the system-information program, or says that none can be used.
    void StartSysInfo();

private:
    MessagePresenter showMessage_;
    SystemInfoPrograms programs_;
};

// "ﾊﾞｰｼﾞｮﾝ " and the version with two dots: ﾊﾞｰｼﾞｮﾝ 1.1.0.
QString AboutVersionLine(int major, int minor, int revision);

}  // namespace zarame
