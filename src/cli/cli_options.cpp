#include "cli/cli_options.h"

#include <array>

#include "common/byte_text.h"

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

}  // namespace

QStringList DecodeArguments(int argc, const char* const argv[]) {
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments << DecodeBytes(argv[index]);
    }
    return arguments;
}

CliParseResult ParseCliOptions(const QStringList& arguments) {
    CliOptions options;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == u"--help" || argument == u"-h") {
            options.request = CliOptions::Request::Help;
            continue;
        }
        if (argument == u"--version") {
            options.request = CliOptions::Request::Version;
            continue;
        }
        if (argument == u"--saved") {
            options.saved = true;
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
        bool known = false;
        for (const TextOption& option : kTextOptions) {
            if (name == QLatin1String(option.name)) {
                const std::optional<QString> text = value();
                if (!text) {
                    return Failure(QStringLiteral("--%1 に値がありません").arg(VisibleLine(name)));
                }
                options.texts.emplace_back(option.box, *text);
                known = true;
                break;
            }
        }
        for (const ChoiceOption& option : kChoiceOptions) {
            if (known || name != QLatin1String(option.name)) {
                continue;
            }
            const std::optional<QString> text = value();
            const std::optional<int> member = text ? MemberOf(option, *text) : std::nullopt;
            if (!member) {
                return Failure(
                    QStringLiteral("--%1 の値は %2 のいずれかです").arg(name, ChoiceList(option)));
            }
            options.selections.emplace_back(option.group, *member);
            known = true;
        }
        if (!known) {
            return Failure(QStringLiteral("不明なオプションです: %1").arg(VisibleLine(argument)));
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
}

QString CliUsage() {
    return QStringLiteral(
        "使い方: zarame-cli [--saved] [--source=excel|text|numbers] [--excel=PATH]\n"
        "                   [--start-cell=TEXT] [--blank-rows=TEXT] [--text=PATH]\n"
        "                   [--fixed-text=TEXT] [--number-position=before|after]\n"
        "                   [--min=TEXT] [--max=TEXT] [--digits=TEXT] [--extension=TEXT]\n"
        "                   [--folder=PATH] [--kind=file|copy|folder] [--size=TEXT]\n"
        "                   [--fill=TEXT] [--copy-source=PATH] [--help] [--version]\n"
        "\n"
        "ファイルやフォルダを一括作成します。各オプションは画面の入力欄と同じ意味で、\n"
        "指定しなかった入力は初回起動時の値になります (--saved では保存された設定)。\n"
        "ただし --start-cell は A1～XFD1048576 のどのセルでも (列の英字は大文字・小文字、\n"
        "全角・半角を問いません)、--blank-rows は 1～1048576 の範囲で指定できます。\n"
        "\n"
        "終了コード: 0 完了 / 1 エラーで終了 / 2 入力の誤り / 3 ブックを開けない / 130 中断\n");
}

}  // namespace zarame
