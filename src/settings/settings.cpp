#include "settings/settings.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "settings/settings_store.h"

namespace zarame {

namespace {

constexpr std::int32_t kLargestLogMax = 32767;
constexpr qsizetype kBlankRowsLength = 1;

std::int32_t LogMaxOf(const QString& text) {
    if (!IsNumeric(text)) {
        return kDefaultLogMax;
    }
    try {
        return std::clamp<std::int32_t>(ToInt32(text), 1, kLargestLogMax);
    } catch (const RunTimeError&) {
        return kDefaultLogMax;
    }
}

// Option groups are stored as the member's index; only the exact texts select another member.
int MemberOf(const QString& text, int fallback) {
    if (text == u"0") {
        return 0;
    }
    if (text == u"1") {
        return 1;
    }
    if (text == u"2") {
        return 2;
    }
    return fallback;
}

QString Stored(int member) {
    return QString::number(member);
}

}  // namespace

StoredSettings LoadSettings(SettingsStore& store) {
    StoredSettings stored;
    RunSettings& inputs = stored.inputs;
    stored.logMax = LogMaxOf(store.Get(QStringLiteral("LogMax"), QString()));
    const QString type = store.Get(QStringLiteral("Type"), QStringLiteral("0"));
    inputs.Type = MemberOf(type, 0);
    inputs.ExcelPath = store.Get(QStringLiteral("ExcelPath"), QString());
    inputs.StartCell = store.Get(QStringLiteral("StartCell"), QStringLiteral("B2"));
    inputs.BlankRows = store.Get(QStringLiteral("BlankRows"), QStringLiteral("3"));
    if (inputs.BlankRows.size() > kBlankRowsLength) {
        inputs.BlankRows = QStringLiteral("3");
    }
    inputs.TextPath = store.Get(QStringLiteral("TextPath"), QString());
    inputs.FixedText = store.Get(QStringLiteral("FixedText"), QString());
    inputs.BeforeAfter =
        store.Get(QStringLiteral("BeforeAfter"), QStringLiteral("1")) == u"0" ? 0 : 1;
    inputs.NumberMin = store.Get(QStringLiteral("NumberMin"), QStringLiteral("1"));
    inputs.NumberMax = store.Get(QStringLiteral("NumberMax"), QStringLiteral("100"));
    inputs.NumberSize = store.Get(QStringLiteral("NumberSize"), QStringLiteral("3"));
    inputs.Extension = store.Get(QStringLiteral("Extension"), QString());
    inputs.Folder = store.Get(QStringLiteral("Folder"), QString());
    inputs.FileCreateSpec =
        MemberOf(store.Get(QStringLiteral("FileCreateSpec"), QStringLiteral("0")), 0);
    inputs.FileSizeBytes = store.Get(QStringLiteral("FileSizeBytes"), QStringLiteral("0"));
    inputs.FileWriteCode = store.Get(QStringLiteral("FileWriteCode"), QStringLiteral("0x00"));
    inputs.FileDuplicateSource = store.Get(QStringLiteral("FileDuplicateSource"), QString());
    return stored;
}

SettingsSaveResult SaveSettings(SettingsStore& store, const RunSettings& settings) {
    // Members beyond 2 cannot be selected; anything else is stored as the last member.
    const auto option = [](int member, int last) { return Stored(std::clamp(member, 0, last)); };
    store.Save(QStringLiteral("Type"), option(settings.Type, 2));
    store.Save(QStringLiteral("ExcelPath"), settings.ExcelPath);
    store.Save(QStringLiteral("StartCell"), settings.StartCell);
    store.Save(QStringLiteral("BlankRows"), settings.BlankRows);
    store.Save(QStringLiteral("TextPath"), settings.TextPath);
    store.Save(QStringLiteral("FixedText"), settings.FixedText);
    store.Save(QStringLiteral("BeforeAfter"), option(settings.BeforeAfter, 1));
    store.Save(QStringLiteral("NumberMin"), settings.NumberMin);
    store.Save(QStringLiteral("NumberMax"), settings.NumberMax);
    store.Save(QStringLiteral("NumberSize"), settings.NumberSize);
    store.Save(QStringLiteral("Extension"), settings.Extension);
    store.Save(QStringLiteral("Folder"), settings.Folder);
    store.Save(QStringLiteral("FileCreateSpec"), option(settings.FileCreateSpec, 2));
    store.Save(QStringLiteral("FileSizeBytes"), settings.FileSizeBytes);
    store.Save(QStringLiteral("FileWriteCode"), settings.FileWriteCode);
    store.Save(QStringLiteral("FileDuplicateSource"), settings.FileDuplicateSource);
    return store.Commit();
}

}  // namespace zarame
