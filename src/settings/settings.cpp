#include "settings/settings.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/run_time_error.h"
#include "settings/settings_store.h"

namespace zarame {

namespace {

constexpr qsizetype kBlankRowsLength = 1;

std::int32_t LogMaxOf(const QString& text) {
    if (!IsNumeric(text)) {
        return kDefaultLogMax;
    }
    try {
        return ToInt32(text);
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
    const RunSettings defaults;
    const auto text = [&store](const char* key, const QString& fallback) {
        return store.Get(QLatin1String(key), fallback);
    };
    stored.logMax = LogMaxOf(store.Get(QStringLiteral("LogMax"), QString()));
    inputs.Type = MemberOf(text("Type", Stored(defaults.Type)), defaults.Type);
    inputs.ExcelPath = text("ExcelPath", defaults.ExcelPath);
    inputs.StartCell = text("StartCell", defaults.StartCell);
    inputs.BlankRows = text("BlankRows", defaults.BlankRows);
    if (inputs.BlankRows.size() > kBlankRowsLength) {
        inputs.BlankRows = defaults.BlankRows;
    }
    inputs.TextPath = text("TextPath", defaults.TextPath);
    inputs.FixedText = text("FixedText", defaults.FixedText);
    // Only "0" selects the other member.
    inputs.BeforeAfter = text("BeforeAfter", Stored(defaults.BeforeAfter)) == u"0" ? 0 : 1;
    inputs.NumberMin = text("NumberMin", defaults.NumberMin);
    inputs.NumberMax = text("NumberMax", defaults.NumberMax);
    inputs.NumberSize = text("NumberSize", defaults.NumberSize);
    inputs.Extension = text("Extension", defaults.Extension);
    inputs.Folder = text("Folder", defaults.Folder);
    inputs.FileCreateSpec =
        MemberOf(text("FileCreateSpec", Stored(defaults.FileCreateSpec)), defaults.FileCreateSpec);
    inputs.FileSizeBytes = text("FileSizeBytes", defaults.FileSizeBytes);
    inputs.FileWriteCode = text("FileWriteCode", defaults.FileWriteCode);
    inputs.FileDuplicateSource = text("FileDuplicateSource", defaults.FileDuplicateSource);
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
