#include "cli/cli_options.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

#include <QTemporaryDir>

#include "common/byte_text.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "testing/test_support.h"
#include "window/window_model.h"

namespace zarame {
namespace {

// Parses arguments as main() gets them: bytes.
CliParseResult Parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"zarame-cli"};
    argv.insert(argv.end(), arguments);
    return ParseCliOptions(DecodeArguments(static_cast<int>(argv.size()), argv.data()));
}

// A first start, an empty store and a command line without inputs run the same batch.
TEST(CliOptions, InputsNotGivenAreTheWindowsAndTheStoresDefaults) {
    const RunSettings firstStart = ReadRunSettings(WindowModel());
    QTemporaryDir folder;
    IniSettingsStore emptyStore(folder.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(LoadSettings(emptyStore).inputs, firstStart);
    const CliParseResult parsed = Parse({});
    ASSERT_TRUE(parsed.options);
    WindowModel model;
    ApplyCliOptions(*parsed.options, model);
    EXPECT_EQ(ReadRunSettings(model), firstStart);
    EXPECT_EQ(firstStart, RunSettings());
    EXPECT_EQ(firstStart.StartCell, QStringLiteral("B2"));
    EXPECT_EQ(firstStart.FileWriteCode, QStringLiteral("0x00"));
}

TEST(CliOptions, ValuesReachTheirInputsByteForByte) {
    const CliParseResult parsed =
        Parse({"--folder=  /tmp/\xff\xfe=x  ", "--text=caf\xc3\xa9/\x82\xa0", "--copy-source=\xc3",
               "--excel=\xed\xa0\x80.xls", "--fixed-text=", "--max", "--min=7", "--source", "text",
               "--kind=copy", "--number-position=before"});
    ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
    WindowModel model;
    ApplyCliOptions(*parsed.options, model);
    // Invalid UTF-8, a cut sequence, an encoded surrogate: each reaches the system unchanged.
    EXPECT_EQ(EncodeBytes(model.text(TextBox::txtFolder)), "  /tmp/\xff\xfe=x  ");
    EXPECT_EQ(model.text(TextBox::txtText),
              QStringLiteral("café/") + QChar(0xDC82) + QChar(0xDCA0));
    EXPECT_EQ(EncodeBytes(model.text(TextBox::txtDup)), "\xc3");
    EXPECT_EQ(EncodeBytes(model.text(TextBox::txtExcel)), "\xed\xa0\x80.xls");
    EXPECT_EQ(model.text(TextBox::txtFix), QString());
    // "--name VALUE" takes the next argument verbatim, even one that looks like an option.
    EXPECT_EQ(model.text(TextBox::txtMax), QStringLiteral("--min=7"));
    EXPECT_EQ(model.nameSource(), NameSource::TextFile);
    EXPECT_EQ(model.itemKind(), ItemKind::Duplicate);
    EXPECT_TRUE(model.numberFirst());
}

TEST(CliOptions, BadChoicesAndUnknownArgumentsAreErrorsNamingThem) {
    for (const char* argument :
         {"--source=csv", "--source=", "--kind=Folder", "--number-position"}) {
        const CliParseResult parsed = Parse({argument});
        EXPECT_FALSE(parsed.options) << argument;
        EXPECT_FALSE(parsed.error.isEmpty());
    }
    EXPECT_TRUE(Parse({"--kind=link"}).error.contains(QStringLiteral("file|copy|folder")));
    for (const char* argument :
         {"--colour=red", "--colour", "--", "-x", "plain", "--help=1", "--folder"}) {
        const CliParseResult parsed = Parse({"--min=1", argument});
        EXPECT_FALSE(parsed.options) << argument;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(argument)));
    }
    // An escaped byte shows as U+FFFD, never as a lone surrogate.
    EXPECT_TRUE(Parse({"--f\xffolder=x"}).error.endsWith(u"--f\uFFFDolder=x"));
}

TEST(CliOptions, RequestsAreRecognised) {
    EXPECT_EQ(Parse({}).options->request, CliOptions::Request::Run);
    EXPECT_EQ(Parse({"-h"}).options->request, CliOptions::Request::Help);
    EXPECT_EQ(Parse({"--version"}).options->request, CliOptions::Request::Version);
    EXPECT_TRUE(Parse({"--saved", "--min=4"}).options->saved);
}

}  // namespace
}  // namespace zarame
