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

// The size and a random fill reach the checked request; the window's inputs only pass its checks.
TEST(CliOptions, SizeAndRandomFillAmendTheRequest) {
    const struct {
        std::initializer_list<const char*> arguments;
        std::int64_t size;
        FileContent content;
        std::optional<std::uint64_t> seed;
        QString fillText;
    } cases[] = {
        {{"--size=3G", "--fill=random:18446744073709551615"},
         3LL << 30,
         FileContent::Random,
         18446744073709551615ULL,
         "0"},
        {{"--size", "1,536", "--fill=random:7", "--fill=0x41"},
         1536,
         FileContent::FillByte,
         {},
         "0x41"},
        {{"--fill=random"}, 0, FileContent::Random, {}, "0"},
    };
    for (const auto& c : cases) {
        const CliParseResult parsed = Parse(c.arguments);
        ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
        EXPECT_EQ(parsed.options->randomSeed, c.seed);
        WindowModel model;
        ApplyCliOptions(*parsed.options, model);
        EXPECT_EQ(model.text(TextBox::txtFileByte), QStringLiteral("0"));
        EXPECT_EQ(model.text(TextBox::txtCode), c.fillText);
        BatchRequest request;
        AmendRequest(*parsed.options, request);
        EXPECT_EQ(request.items.fileSize, c.size);
        EXPECT_EQ(request.items.content, c.content);
        if (c.seed) {
            EXPECT_EQ(request.items.randomSeed, *c.seed);
        }
    }
    // Without a seed, every run draws its own.
    const CliOptions unseeded = *Parse({"--fill=random"}).options;
    BatchRequest first;
    BatchRequest second;
    AmendRequest(unseeded, first);
    AmendRequest(unseeded, second);
    EXPECT_NE(first.items.randomSeed, second.items.randomSeed);
}

TEST(CliOptions, SizesAndSeedsThatAreNoneAreErrorsSayingWhy) {
    const struct {
        const char* argument;
        const char* error;
    } cases[] = {
        {"--size=1.1K", "--size の値「1.1K」: 小数はバイト数が整数になる値だけ"},
        {"--size=1\xff", "「1\uFFFD」"},
        {"--fill=random:", "--fill=random: の後は"},
        {"--fill=random:-1", "--fill=random: の後は"},
        {"--fill=random:18446744073709551616", "--fill=random: の後は"},
        {"--fill=random:1K", "--fill=random: の後は"},
    };
    for (const auto& c : cases) {
        const CliParseResult parsed = Parse({c.argument});
        EXPECT_FALSE(parsed.options) << c.argument;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.error)))
            << parsed.error.toStdString();
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
