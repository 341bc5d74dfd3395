#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>

#include "common/byte_text.h"
#include "settings/settings_store.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class SettingsTest : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("Tobiuo.ini")) const {
        return folder_.filePath(name);
    }
    // Writes raw stored values, as another program or a hand edit would.
    void Store(const QString& key, const QString& value) {
        QSettings settings(Path(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("KRB/") + key, value);
    }
    StoredSettings Load(const QString& path) {
        IniSettingsStore store(path);
        return LoadSettings(store);
    }
    StoredSettings Load() { return Load(Path()); }

    QTemporaryDir folder_;
};

TEST_F(SettingsTest, EveryTextSurvivesSaveAndLoad) {
    const QString tricky[] = {
        QStringLiteral("a,b, c"),           QStringLiteral("\"quoted\""),
        QStringLiteral("x;y #z"),           QStringLiteral("C:\\back\\slash\\"),
        QStringLiteral("  blanks  "),       QStringLiteral("@ByteArray(x)"),
        QStringLiteral("日本語のフォルダ"), QString(),
        QStringLiteral("=eq\ttab"),         DecodeBytes("/tmp/\xff\xfe-not-utf8"),
    };
    for (const QString& text : tricky) {
        RunSettings saved;
        saved.Type = 2;
        saved.BeforeAfter = 0;
        saved.FileCreateSpec = 1;
        saved.Folder = text;
        saved.FixedText = text;
        saved.FileDuplicateSource = text;
        {
            IniSettingsStore store(Path());
            SaveSettings(store, saved);
        }
        // A copy under another name is read from disk, not from the store's cache in memory.
        const QString copy = Path(QStringLiteral("copy.ini"));
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(Path(), copy));
        EXPECT_EQ(Load(copy).inputs, saved) << text.toStdString();
    }
    // Plain texts stay readable in the file; only the bytes that are not UTF-8 are escaped.
    const QByteArray file = ReadFile(Path(QStringLiteral("copy.ini")));
    EXPECT_TRUE(file.contains("\\xff\\xfe-not-utf8")) << file.toStdString();
}

TEST_F(SettingsTest, EmptyStoreGivesTheFirstStartInputs) {
    const StoredSettings stored = Load();
    EXPECT_EQ(stored.inputs, RunSettings());
    EXPECT_EQ(stored.logMax, 1000);
    EXPECT_EQ(stored.inputs.StartCell, u"B2");
    EXPECT_EQ(stored.inputs.FileWriteCode, u"0x00");
    EXPECT_FALSE(QFile::exists(Path()));  // loading creates nothing
}

TEST_F(SettingsTest, LogMaxIsANumberWithinTheListsRange) {
    const std::pair<const char*, int> cases[] = {
        {"abc", 1000}, {"", 1000}, {"500", 500},     {"2.5", 2},
        {"-1", 1},     {"0", 1},   {"40000", 32767}, {"1e20", 1000},
    };
    for (const auto& [text, expected] : cases) {
        Store(QStringLiteral("LogMax"), QLatin1String(text));
        EXPECT_EQ(Load().logMax, expected) << text;
    }
}

TEST_F(SettingsTest, OptionsSelectOnlyByTheirExactIndex) {
    const std::pair<const char*, int> types[] = {{"1", 1}, {"2", 2}, {"3", 0}, {"x", 0}, {"1 ", 0}};
    for (const auto& [text, member] : types) {
        Store(QStringLiteral("Type"), QLatin1String(text));
        Store(QStringLiteral("FileCreateSpec"), QLatin1String(text));
        const RunSettings inputs = Load().inputs;
        EXPECT_EQ(inputs.Type, member) << text;
        EXPECT_EQ(inputs.FileCreateSpec, member) << text;
    }
    Store(QStringLiteral("BeforeAfter"), QStringLiteral("0"));
    EXPECT_EQ(Load().inputs.BeforeAfter, 0);
    Store(QStringLiteral("BeforeAfter"), QString());
    EXPECT_EQ(Load().inputs.BeforeAfter, 1);
}

TEST_F(SettingsTest, OnlyBlankRowsIsHeldToItsTypingLimit) {
    const std::pair<const char*, const char*> cases[] = {{"10", "3"}, {"", ""}, {"7", "7"}};
    for (const auto& [stored, shown] : cases) {
        Store(QStringLiteral("BlankRows"), QLatin1String(stored));
        EXPECT_EQ(Load().inputs.BlankRows, QLatin1String(shown));
    }
    Store(QStringLiteral("StartCell"), QStringLiteral("AA10"));
    EXPECT_EQ(Load().inputs.StartCell, u"AA10");
}

TEST_F(SettingsTest, DamagedOrUnreadableFileGivesDefaultsAndIsLeftAlone) {
    const QByteArray damaged("[KRB\nType=2\nFolder=\xff\x00garbage\n[[[", 31);
    WriteFile(Path(), damaged);
    EXPECT_EQ(Load().inputs, RunSettings());
    EXPECT_EQ(ReadFile(Path()), damaged);

    // Names that are no settings file must neither block the start (a FIFO, also in place of the
    // lock file beside it) nor fill the memory (a huge file), and a save leaves them alone.
    const auto fifo = [](const QString& path) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    const std::pair<const char*, std::function<void(const QString&)>> hostile[] = {
        {"folder", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"fifo", fifo},
        {"lock", [&](const QString& path) { fifo(path + QStringLiteral(".lock")); }},
        {"huge",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_TRUE(file.resize(qint64{64} * 1024 * 1024));
         }},
    };
    for (const auto& [name, make] : hostile) {
        const QString path = Path(QLatin1String(name) + QStringLiteral(".ini"));
        make(path);
        const QFileInfo before(path);
        IniSettingsStore store(path);
        EXPECT_EQ(LoadSettings(store).inputs, RunSettings()) << name;
        RunSettings saved;
        saved.FixedText = QStringLiteral("x");
        SaveSettings(store, saved);
        const QFileInfo after(path);
        EXPECT_EQ(after.exists(), before.exists()) << name;
        EXPECT_EQ(after.size(), before.size()) << name;
    }
}

TEST_F(SettingsTest, SaveWritesTheSixteenInputsAndNeverLogMax) {
    Store(QStringLiteral("LogMax"), QStringLiteral("77"));
    RunSettings saved;
    saved.NumberMax = QStringLiteral("9e9");
    {
        IniSettingsStore store(Path());
        SaveSettings(store, saved);
    }
    QSettings file(Path(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("KRB"));
    EXPECT_EQ(file.childKeys().size(), 17);
    EXPECT_EQ(file.value(QStringLiteral("LogMax")).toString(), u"77");
    EXPECT_EQ(file.value(QStringLiteral("Type")).toString(), u"0");
    EXPECT_EQ(file.value(QStringLiteral("BeforeAfter")).toString(), u"1");
    EXPECT_EQ(file.value(QStringLiteral("NumberMax")).toString(), u"9e9");
}

}  // namespace
}  // namespace zarame
