#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <functional>

#include "cli/byte_size.h"
#include "common/byte_text.h"
#include "create/random_fill.h"

namespace zarame {

namespace {

struct TextOption {
    const char* name;
    TextBox box;
};

constexpr std::array<TextOption, 13> kTextOptions{{
    {"excel", TextBox::txtExcel},
    {"start-cell", TextBox::txtStartCell},
    {"blank-rows", TextBox::txtBlank},
    {"text", TextBox::txtText},
    {"fixed-text", TextBox::txtFix},
    {"min", TextBox::txtMin},
    {"max", TextBox::txtMax},
    {"digits", TextBox::txtSize},
    {"extension", TextBox::txtExt},
    {"folder", TextBox::txtFolder},
    {"size", TextBox::txtFileByte},
    {"fill", TextBox::txtCode},
    {"copy-source", TextBox::txtDup},
}};

struct ChoiceOption {
    const char* name;
    OptionGroup group;
    std::array<const char*, 3> values;  // by member index; nullptr where there is none
};

// Options without a value.
struct FlagOption {
    const char* name;
    void (*apply)(CliOptions&);
};

constexpr std::array<FlagOption, 7> kFlagOptions{{
    {"help", [](CliOptions& options) { options.request = CliOptions::Request::Help; }},
    {"version", [](CliOptions& options) { options.request = CliOptions::Request::Version; }},
    {"saved", [](CliOptions& options) { options.saved = true; }},
    {"quiet", [](CliOptions& options) { options.quiet = true; }},
    {"parents", [](CliOptions& options) { options.parentFolders = ParentFolders::Make; }},
    {"dry-run", [](CliOptions& options) { options.mode = RunMode::DryRun; }},
    {"report", nullptr},  // takes a value; listed so that "--report" alone says it lacks one
}};

constexpr std::array<ChoiceOption, 3> kChoiceOptions{{
    {"source", OptionGroup::optType, {"excel", "text", "numbers"}},
    {"number-position", OptionGroup::optBeforeAfter, {"before", "after", nullptr}},
    {"kind", OptionGroup::optSpec, {"file", "copy", "folder"}},
}};

std::optional<int> MemberOf(const ChoiceOption& option, const QString& value) {
    for (int member = 0; member < 3; ++member) {
        if (option.values[member] != nullptr && value == QLatin1String(option.values[member])) {
            return member;
        }
    }
    return std::nullopt;
}

QString ChoiceList(const ChoiceOption& option) {
    QStringList values;
    for (const char* value : option.values) {
        if (value != nullptr) {
            values << QLatin1String(value);
        }
    }
    return values.join(u'|');
}

CliParseResult Failure(const QString& message) {
    return {std::nullopt, message};
}

constexpr QStringView kRandomFill = u"random";
constexpr QStringView kSeededRandomFill = u"random:";

// A fill text read as a random fill: "random", or "random:SEED" with a decimal seed of 64 bits.
struct RandomFillText {
    enum class Form { NotRandom, Random, Malformed };
    Form form = Form::NotRandom;
    std::optional<std::uint64_t> seed;
};

RandomFillText ReadRandomFill(const QString& fill) {
    using Form = RandomFillText::Form;
    if (fill == kRandomFill) {
        return {Form::Random, std::nullopt};
    }
    if (!fill.startsWith(kSeededRandomFill)) {
        return {Form::NotRandom, std::nullopt};
    }
    const QString digits = fill.mid(kSeededRandomFill.size());
    bool ok = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(),
                                               [](QChar c) { return c >= u'0' && c <= u'9'; });
    const std::uint64_t seed = ok ? digits.toULongLong(&ok) : 0;
    return ok ? RandomFillText{Form::Random, seed} : RandomFillText{Form::Malformed, std::nullopt};
}

// The size and fill options, which the command line reads itself; an empty text when the option
// was taken, else why not.
QString ReadContentOption(TextBox box, const QString& text, CliOptions& options) {
    if (box == TextBox::txtFileByte) {
        const ParsedByteSize size = ParseByteSize(text);
        if (!size.bytes) {
            return ByteSizeRefusalText(size.refusal, QStringLiteral("size"), VisibleLine(text));
        }
        options.fileSize = size.bytes;
        return {};
    }
    const RandomFillText fill = ReadRandomFill(text);
    switch (fill.form) {
        case RandomFillText::Form::Malformed:
            return QStringLiteral("--fill=random: の後は 0～18446744073709551615 の整数です: %1")
                .arg(VisibleLine(text));
        case RandomFillText::Form::Random:
            options.content = FileContent::Random;
            options.randomSeed = fill.seed;
            break;
        case RandomFillText::Form::NotRandom:
            options.content = FileContent::FillByte;
            options.randomSeed.reset();
            options.texts.emplace_back(box, text);  // a fill value, read as the window reads it
            break;
    }
    return {};
}

}  // namespace

QStringList DecodeArguments(int argc, const char* const argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments << DecodeBytes(argv[index]);
    }
    return arguments;
}

namespace {

// One "--name" option with the value it may take; an empty text when it was taken, else why not.
// `value` gives the value ("--name=VALUE", or the next argument) when the option takes one.
QString ReadOption(const QString& argument, const QString& name, bool hasInlineValue,
                   const std::function<std::optional<QString>()>& value, CliOptions& options) {
    const auto missing = [&] {
        return QStringLiteral("--%1 に値がありません").arg(VisibleLine(name));
    };
    for (const FlagOption& option : kFlagOptions) {
        if (name != QLatin1String(option.name)) {
            continue;
        }
        if (option.apply == nullptr) {  // --report
            const std::optional<QString> path = value();
            if (!path || path->isEmpty()) {
                return missing();
            }
            options.reportPath = *path;
            return {};
        }
        if (hasInlineValue) {
            return QStringLiteral("値をとらないオプションです: %1").arg(VisibleLine(argument));
        }
        option.apply(options);
        return {};
    }
    for (const TextOption& option : kTextOptions) {
        if (name != QLatin1String(option.name)) {
            continue;
        }
        const std::optional<QString> text = value();
        if (!text) {
            return missing();
        }
        if (option.box == TextBox::txtFileByte || option.box == TextBox::txtCode) {
            return ReadContentOption(option.box, *text, options);
        }
        options.texts.emplace_back(option.box, *text);
        return {};
    }
    for (const ChoiceOption& option : kChoiceOptions) {
        if (name != QLatin1String(option.name)) {
            continue;
        }
        const std::optional<QString> text = value();
        const std::optional<int> member = text ? MemberOf(option, *text) : std::nullopt;
        if (!member) {
            return QStringLiteral("--%1 の値は %2 のいずれかです").arg(name, ChoiceList(option));
        }
        options.selections.emplace_back(option.group, *member);
        return {};
    }
    return QStringLiteral("不明なオプションです: %1").arg(VisibleLine(argument));
}

}  // namespace

CliParseResult ParseCliOptions(const QStringList& arguments) {
    CliOptions options;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == u"-h") {
            options.request = CliOptions::Request::Help;
            continue;
        }
        if (!argument.startsWith(u"--")) {
            return Failure(QStringLiteral("不明な引数です: %1").arg(VisibleLine(argument)));
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const auto value = [&]() -> std::optional<QString> {
            if (equals >= 0) {
                return argument.mid(equals + 1);
            }
            if (index + 1 < arguments.size()) {
                return arguments[++index];  // "--name VALUE" takes the next argument verbatim
            }
            return std::nullopt;
        };
        const QString refusal = ReadOption(argument, name, equals >= 0, value, options);
        if (!refusal.isEmpty()) {
            return Failure(refusal);
        }
    }
    return {options, QString()};
}

void ApplyCliOptions(const CliOptions& options, WindowModel& model) {
    for (const auto& [group, member] : options.selections) {
        model.select(group, member);
    }
    for (const auto& [box, text] : options.texts) {
        model.setText(box, text);
    }
    // The size and a random fill come into the request later; the window's inputs only have to
    // pass its checks.
    if (options.fileSize) {
        model.setText(TextBox::txtFileByte, QStringLiteral("0"));
    }
    if (options.content == FileContent::Random) {
        model.setText(TextBox::txtCode, QStringLiteral("0"));
    }
}

void AmendRequest(const CliOptions& options, BatchRequest& request) {
    if (options.fileSize) {
        request.items.fileSize = *options.fileSize;
    }
    request.items.content = options.content;
    request.parentFolders = options.parentFolders;
    request.mode = options.mode;
    if (options.content == FileContent::Random) {
        request.items.randomSeed = options.randomSeed ? *options.randomSeed : FreshRandomSeed();
    }
    // Past what the window's field holds, a template would take a second copy of a file's size
    // on the disk (a 500 GB file would need 1 TB); such files are written each for itself.
    if (request.items.fileSize > kLargestTemplatedSize) {
        request.items.writing = NewFileWriting::EachFileItself;
    }
}

QString CliUsage() {
    return QStringLiteral(
        "使い方: zarame-cli [--saved] [--source=excel|text|numbers] [--excel=PATH]\n"
        "                   [--start-cell=TEXT] [--blank-rows=TEXT] [--text=PATH]\n"
        "                   [--fixed-text=TEXT] [--number-position=before|after]\n"
        "                   [--min=TEXT] [--max=TEXT] [--digits=TEXT] [--extension=TEXT]\n"
        "                   [--folder=PATH] [--kind=file|copy|folder] [--size=SIZE]\n"
        "                   [--fill=VALUE|random[:SEED]] [--copy-source=PATH] [--parents]\n"
        "                   [--dry-run] [--report=FILE] [--quiet] [--help] [--version]\n"
        "\n"
        "ファイルやフォルダを一括作成します。各オプションは画面の入力欄と同じ意味で、\n"
        "指定しなかった入力は初回起動時の値になります (--saved では保存された設定)。\n"
        "ただし --start-cell は A1～XFD1048576 のどのセルでも (列の英字は大文字・小文字、\n"
        "全角・半角を問いません)、--blank-rows は 1～1048576 の範囲で指定できます。\n"
        "\n"
        "--size  作成するファイルのバイト数 (最大 9,223,372,036,854,775,807)。1536、1,536 の\n"
        "        ほか単位も使えます: K・M・G・T と KiB・MiB・GiB・TiB は 1024 倍ごと、\n"
        "        KB・MB・GB・TB は 1000 倍ごと (10K = 10240、10KB = 10000)。1.5G のような小数は\n"
        "        バイト数が整数になる場合だけ指定できます (切り捨てはしません)。\n"
        "--fill  書き込み値 (0～255、0x41、&H41)。random でファイルごとに異なる乱数を書き込み、\n"
        "        random:SEED (0～18446744073709551615) で同じ名前に同じ内容を再現します。\n"
        "--parents  名前の / で区切られたフォルダがなければ作成先の中に作ります (.. は不可)。\n"
        "--dry-run  何も作らずに、各項目がどうなるか (作成します・既に存在しています・\n"
        "           エラー) をログに書きます。\n"
        "--report   実行の結果を JSON で FILE に書きます (項目は README を参照)。\n"
        "--quiet    項目ごとのログを標準出力に書きません。エラーと要約は標準エラー出力へ。\n"
        "\n"
        "終了コード: 0 完了 / 1 エラーで終了 / 2 入力の誤り / 3 ブックを開けない / 130 中断\n");
}

}  // namespace zarame
