#include "cli/cli_options.h"

#include <gtest/gtest.h>
#include <initializer_list>

#include "common/byte_text.h"
#include "testing/test_support.h"
#include "window/window_model.h"

namespace zarame {
namespace {

CliParseResult Parse(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* argument : arguments) {
        list << QString::fromUtf8(argument);
    }
    return ParseCliOptions(list);
}

TEST(CliOptions, ValuesReachTheirInputsExactlyAsGiven) {
    const CliParseResult parsed =
        Parse({"--folder=  値 with=equals  ", "--fixed-text=", "--max", "--min=7", "--source",
               "text", "--kind=copy", "--number-position=before"});
    ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
    WindowModel model;
    ApplyCliOptions(*parsed.options, model);
    EXPECT_EQ(model.text(TextBox::txtFolder), QStringLiteral("  値 with=equals  "));
    EXPECT_EQ(model.text(TextBox::txtFix), QString());
    // "--name VALUE" takes the next argument verbatim, even one that looks like an option.
    EXPECT_EQ(model.text(TextBox::txtMax), QStringLiteral("--min=7"));
    EXPECT_EQ(model.nameSource(), NameSource::TextFile);
    EXPECT_EQ(model.itemKind(), ItemKind::Duplicate);
    EXPECT_TRUE(model.numberFirst());
}

TEST(CliOptions, PathsKeepEveryByteAndErrorsShowThemVisibly) {
    const struct {
        const char* argument;
        TextBox box;
        QByteArray value;
    } cases[] = {
        {"--folder=/tmp/\xff\xfe", TextBox::txtFolder, "/tmp/\xff\xfe"},
        {"--text=caf\xc3\xa9/\x82\xa0", TextBox::txtText, "caf\xc3\xa9/\x82\xa0"},
        {"--copy-source=\xc3", TextBox::txtDup, "\xc3"},  // a cut sequence is no character
        {"--excel=\xed\xa0\x80.xls", TextBox::txtExcel, "\xed\xa0\x80.xls"},  // surrogate
    };
    for (const auto& c : cases) {
        const char* argv[] = {"zarame-cli", c.argument};
        const CliParseResult parsed = ParseCliOptions(DecodeArguments(2, argv));
        ASSERT_TRUE(parsed.options);
        WindowModel model;
        ApplyCliOptions(*parsed.options, model);
        EXPECT_EQ(EncodeBytes(model.text(c.box)), c.value) << c.argument;
    }
    const char* argv[] = {"zarame-cli", "--f\xffolder=x"};
    EXPECT_TRUE(ParseCliOptions(DecodeArguments(2, argv)).error.endsWith(u"--f\uFFFDolder=x"));
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
}

TEST(CliOptions, RequestsAreRecognised) {
    EXPECT_EQ(Parse({}).options->request, CliOptions::Request::Run);
    EXPECT_EQ(Parse({"-h"}).options->request, CliOptions::Request::Help);
    EXPECT_EQ(Parse({"--version"}).options->request, CliOptions::Request::Version);
    EXPECT_TRUE(Parse({"--saved", "--min=4"}).options->saved);
}

}  // namespace
}  // namespace zarame
