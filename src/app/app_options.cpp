#include "app/app_options.h"

#include <array>

#include "common/byte_text.h"

namespace zarame {

namespace {

enum class Takes { Nothing, Value };

struct QtOption {
    const char* name;  // without its dash
    Takes takes;
};

// The options QGuiApplication, QApplication and the X11 platform take out of the command line.
constexpr std::array<QtOption, 22> kQtOptions{{
    {"platform", Takes::Value},
    {"platformpluginpath", Takes::Value},
    {"platformtheme", Takes::Value},
    {"plugin", Takes::Value},
    {"qwindowgeometry", Takes::Value},
    {"geometry", Takes::Value},
    {"qwindowtitle", Takes::Value},
    {"title", Takes::Value},
    {"qwindowicon", Takes::Value},
    {"icon", Takes::Value},
    {"session", Takes::Value},
    {"display", Takes::Value},
    {"name", Takes::Value},
    {"visual", Takes::Value},
    {"style", Takes::Value},
    {"stylesheet", Takes::Value},
    {"reverse", Takes::Nothing},
    {"widgetcount", Takes::Nothing},
    {"testability", Takes::Nothing},
    {"nograb", Takes::Nothing},
    {"dograb", Takes::Nothing},
    {"sync", Takes::Nothing},
}};

// Qt reads "--platform" as "-platform".
QString WithoutDashes(const QString& argument) {
    return argument.mid(argument.startsWith(u"--") ? 2 : 1);
}

// How many arguments a Qt option spans (1 or 2), or 0 when the argument is not one of Qt's.
int QtOptionSpan(const QString& argument) {
    const QString name = WithoutDashes(argument);
    // Qt reads -style=NAME, -stylesheet=FILE and -qmljsdebugger=... in one argument.
    for (const char* joined : {"style=", "stylesheet=", "qmljsdebugger="}) {
        if (name.startsWith(QLatin1String(joined))) {
            return 1;
        }
    }
    for (const QtOption& option : kQtOptions) {
        if (name == QLatin1String(option.name)) {
            return option.takes == Takes::Value ? 2 : 1;
        }
    }
    return 0;
}

AppCommandLine Refusal(const QString& error) {
    return {AppCommandLine::Request::Refuse, error};
}

}  // namespace

AppCommandLine ParseAppArguments(const QStringList& arguments) {
    AppCommandLine line;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == u"--help" || argument == u"-h") {
            line.request = AppCommandLine::Request::Help;
            continue;
        }
        if (argument == u"--version") {
            line.request = line.request == AppCommandLine::Request::Help
                               ? AppCommandLine::Request::Help
                               : AppCommandLine::Request::Version;
            continue;
        }
        if (!argument.startsWith(u'-') || argument == u"-" || argument == u"--") {
            return Refusal(QStringLiteral("不明な引数です: %1").arg(VisibleLine(argument)));
        }
        const int span = QtOptionSpan(argument);
        if (span == 0) {
            return Refusal(QStringLiteral("不明なオプションです: %1").arg(VisibleLine(argument)));
        }
        if (index + span > arguments.size()) {
            return Refusal(QStringLiteral("%1 に値がありません").arg(VisibleLine(argument)));
        }
        index += span - 1;
    }
    return line;
}

QString AppUsage() {
    return QStringLiteral(
        "使い方: zarame [--help] [--version] [Qt のオプション]\n"
        "\n"
        "ダミーのファイルやフォルダを一括作成するウィンドウを開きます。\n"
        "Qt のオプション (-platform, -display, -style など) はそのまま Qt に渡します。\n"
        "画面のないところでは zarame-cli を使います (zarame-cli --help)。\n");
}

QString AppVersionLine() {
    return QStringLiteral("zarame %1.%2.%3\n")
        .arg(ZARAME_VERSION_MAJOR)
        .arg(ZARAME_VERSION_MINOR)
        .arg(ZARAME_VERSION_REVISION);
}

}  // namespace zarame
