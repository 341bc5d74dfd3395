// The desktop program's command line: its own options, Qt's passed through, the rest refused.
#include "app/app_options.h"

#include <gtest/gtest.h>

namespace zarame {
namespace {

using Request = AppCommandLine::Request;

TEST(AppOptionsTest, TellsItsOwnOptionsQtsAndTheRestApart) {
    const struct {
        QStringList arguments;
        Request request;
        QString error;
    } cases[] = {
        {{}, Request::OpenWindow, {}},
        {{"--help"}, Request::Help, {}},
        {{"-h"}, Request::Help, {}},
        {{"--version"}, Request::Version, {}},
        {{"--version", "--help"}, Request::Help, {}},
        // Qt's options, one dash or two, with their values: the window opens.
        {{"-platform", "offscreen"}, Request::OpenWindow, {}},
        {{"--platform", "offscreen", "-reverse"}, Request::OpenWindow, {}},
        {{"-style=fusion", "-stylesheet", "look.qss"}, Request::OpenWindow, {}},
        {{"-display", ":1", "--name", "--help"}, Request::OpenWindow, {}},  // values, not ours
        {{"--bogus"}, Request::Refuse, "不明なオプションです: --bogus"},
        {{"-platformx"}, Request::Refuse, "不明なオプションです: -platformx"},
        {{"--help", "--size=1"}, Request::Refuse, "不明なオプションです: --size=1"},
        {{"names.txt"}, Request::Refuse, "不明な引数です: names.txt"},
        {{"-platform"}, Request::Refuse, "-platform に値がありません"},
        {{QString::fromUtf8("--\xe5\x90\x8d\nX")},
         Request::Refuse,
         QString::fromUtf8("不明なオプションです: --\xe5\x90\x8d\xe2\x90\x8aX")},
    };
    for (const auto& [arguments, request, error] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const AppCommandLine line = ParseAppArguments(arguments);
        EXPECT_EQ(line.request, request);
        EXPECT_EQ(line.error, error);
    }
}

}  // namespace
}  // namespace zarame
