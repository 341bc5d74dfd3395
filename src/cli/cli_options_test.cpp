#include "cli/cli_options.h"

#include <gtest/gtest.h>
#include <initializer_list>

#include "testing/test_support.h"
#include "window/window_model.h"

namespace zarame {
namespace {

struct TextOptionCase {
    const char* name;
    TextBox box;
};

constexpr TextOptionCase kTextOptions[] = {
    {"excel", TextBox::txtExcel},      {"start-cell", TextBox::txtStartCell},
    {"blank-rows", TextBox::txtBlank}, {"text", TextBox::txtText},
    {"fixed-text", TextBox::txtFix},   {"min", TextBox::txtMin},
    {"max", TextBox::txtMax},          {"digits", TextBox::txtSize},
    {"extension", TextBox::txtExt},    {"folder", TextBox::txtFolder},
    {"size", TextBox::txtFileByte},    {"fill", TextBox::txtCode},
    {"copy-source", TextBox::txtDup},
};

CliParseResult Parse(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* argument : arguments) {
        list << QString::fromUtf8(argument);
    }
    return ParseCliOptions(list);
}

void ApplyTo(WindowModel& model, std::initializer_list<const char*> arguments) {
    const CliParseResult parsed = Parse(arguments);
    ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
    ApplyCliOptions(*parsed.options, model);
}

TEST(CliOptions, EveryTextOptionSetsItsInputExactlyAsGiven) {
    const QString value = QStringLiteral("  値 with=equals  ");
    for (const TextOptionCase& option : kTextOptions) {
        SCOPED_TRACE(option.name);
        WindowModel model;
        const QByteArray argument = QByteArray("--") + option.name + "=" + value.toUtf8();
        ApplyTo(model, {argument.constData()});
        EXPECT_EQ(model.text(option.box), value);
    }
    // "--name VALUE" takes the next argument verbatim, even one that looks like an option.
    WindowModel model;
    ApplyTo(model, {"--fixed-text=", "--max", "--min=7"});
    EXPECT_EQ(model.text(TextBox::txtFix), QString());
    EXPECT_EQ(model.text(TextBox::txtMax), QStringLiteral("--min=7"));
}

TEST(CliOptions, ChoicesSelectTheirMembers) {
    const struct {
        const char* argument;
        OptionGroup group;
        int member;
    } cases[] = {
        {"--source=excel", OptionGroup::optType, 0},
        {"--source=text", OptionGroup::optType, 1},
        {"--source=numbers", OptionGroup::optType, 2},
        {"--number-position=before", OptionGroup::optBeforeAfter, 0},
        {"--number-position=after", OptionGroup::optBeforeAfter, 1},
        {"--kind=file", OptionGroup::optSpec, 0},
        {"--kind=copy", OptionGroup::optSpec, 1},
        {"--kind=folder", OptionGroup::optSpec, 2},
    };
    for (const auto& choice : cases) {
        SCOPED_TRACE(choice.argument);
        WindowModel model;
        // Start away from the expected member, so that a no-op would show.
        model.select(choice.group, choice.member == 0 ? 1 : 0);
        ApplyTo(model, {choice.argument});
        EXPECT_EQ(model.selected(choice.group), choice.member);
    }
    WindowModel model;
    ApplyTo(model, {"--source", "text"});
    EXPECT_EQ(model.nameSource(), NameSource::TextFile);
}

TEST(CliOptions, BadChoiceValuesAreErrors) {
    for (const char* argument : {"--source=csv", "--source=", "--kind=link", "--kind=Folder",
                                 "--number-position=middle", "--number-position"}) {
        SCOPED_TRACE(argument);
        const CliParseResult parsed = Parse({argument});
        EXPECT_FALSE(parsed.options);
        EXPECT_FALSE(parsed.error.isEmpty());
    }
    // The error names the values that would have been accepted.
    EXPECT_TRUE(Parse({"--kind=link"}).error.contains(QStringLiteral("file|copy|folder")));
}

TEST(CliOptions, UnknownArgumentsAreErrors) {
    for (const char* argument :
         {"--colour=red", "--colour", "--", "-x", "plain", "--help=1", "--folder"}) {
        SCOPED_TRACE(argument);
        const CliParseResult parsed = Parse({"--min=1", argument});
        EXPECT_FALSE(parsed.options);
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(argument)));
    }
}

TEST(CliOptions, RequestsAreRecognised) {
    EXPECT_EQ(Parse({}).options->request, CliOptions::Request::Run);
    EXPECT_EQ(Parse({"--help"}).options->request, CliOptions::Request::Help);
    EXPECT_EQ(Parse({"-h"}).options->request, CliOptions::Request::Help);
    EXPECT_EQ(Parse({"--version"}).options->request, CliOptions::Request::Version);
    EXPECT_FALSE(Parse({}).options->saved);

    const CliParseResult saved = Parse({"--saved", "--min=4"});
    ASSERT_TRUE(saved.options);
    EXPECT_TRUE(saved.options->saved);
    EXPECT_EQ(saved.options->request, CliOptions::Request::Run);
    EXPECT_EQ(saved.options->texts.size(), 1u);
}

}  // namespace
}  // namespace zarame
