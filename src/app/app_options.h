#pragma once

#include <QString>
#include <QStringList>

namespace zarame {

// The desktop program's own command line. It is read before Qt starts, so that --help and
// --version work without a display. Qt's own options (-platform, -style, ...) are left to Qt,
// with one dash or two as Qt accepts them; anything else is refused rather than ignored.
struct AppCommandLine {
    enum class Request { OpenWindow, Help, Version, Refuse };
    Request request = Request::OpenWindow;
    QString error;  // for Refuse: what was wrong, without the program's name
};

AppCommandLine ParseAppArguments(const QStringList& arguments);

QString AppUsage();
QString AppVersionLine();

}  // namespace zarame
