#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "settings/ini_text.h"
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
    EXPECT_FALSE(QFile::exists(Path()));  // loading creates nothing
    // A first start in a new account: saving makes the configuration folder.
    IniSettingsStore store(Path(QStringLiteral("config/zarame/Tobiuo.ini")));
    EXPECT_EQ(SaveSettings(store, RunSettings()).outcome, SettingsSaveResult::Outcome::Saved);
    EXPECT_EQ(Load(Path(QStringLiteral("config/zarame/Tobiuo.ini"))).inputs, RunSettings());
}

TEST_F(SettingsTest, LogMaxIsANumber) {
    const std::pair<const char*, int> cases[] = {
        {"abc", 1000}, {"", 1000}, {"500", 500}, {"2.5", 2}, {"-1", -1}, {"1e20", 1000},
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
    // lock file beside it) nor fill the memory (a huge file).
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
        EXPECT_EQ(Load(path).inputs, RunSettings()) << name;
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

TEST(IniText, OnlyGroupsKeysCommentsAndBlankLines) {
    const std::pair<const char*, bool> cases[] = {
        {"[KRB]\r\nType = 2\n\n; note\n# note\nFolder=/a b=c,\"d\"\n", true},
        {"\xEF\xBB\xBF[General]\nkey%20x=%U3042\n", true},
        {"a=b\rexport X=y\n", false},
        {"", true},
        {"alias ll='ls -l'\n", false},
        {"export PATH=/bin\n", false},
        {"just words\n", false},
        {"=value\n", false},
        {"[KRB\n", false},
        {"a=b\x01\n", false},
        {"a=\xff\n", false},
    };
    for (const auto& [text, ini] : cases) {
        EXPECT_EQ(IsIniText(text), ini) << text;
    }
    EXPECT_FALSE(IsIniText(QByteArray("a=b\0", 4)));
}

// A file system of its own, mounted for one case; it needs the right to mount.
class Mount {
public:
    Mount(const QString& point, const char* options) : point_(QFile::encodeName(point)) {
        QDir().mkpath(point);
        mounted_ = ::mount("tmpfs", point_.constData(), "tmpfs", 0, options) == 0;
    }
    ~Mount() {
        if (mounted_) {
            ::umount2(point_.constData(), MNT_DETACH);
        }
    }
    bool mounted() const { return mounted_; }
    bool MakeReadOnly() {
        return ::mount(nullptr, point_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray point_;
    bool mounted_ = false;
};

// Saving writes through a link into a file that is ours, keeps its owner and mode, and leaves
// every other file byte for byte as it was, with the cause of the refusal or failure.
TEST_F(SettingsTest, SaveWritesOnlyIntoAFileThatIsOurs) {
    using Outcome = SettingsSaveResult::Outcome;
    const QByteArray shellFile = "# my shell\nalias ll='ls -l'\nexport PATH=$PATH:/opt\n";
    const QByteArray ourFile = "; kept by hand\n[KRB]\nLogMax=77\n\n[Other]\nkey=1\n";
    const auto link = [](const QString& target, const QString& path) {
        ASSERT_EQ(
            ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
            0);
    };
    const bool root = ::geteuid() == 0;
    // Root writes into any folder: a read-only mount stands for an unwritable folder then.
    enum class Disk { Shared, Small, ReadOnly };
    const Disk unwritable = root ? Disk::ReadOnly : Disk::Shared;
    struct Case {
        const char* name;
        Disk disk;
        std::function<QString(const QString& folder)> make;  // gives the file the path leads to
        Outcome outcome;
        QString cause;
    };
    const Case cases[] = {
        {"link to a shell file", Disk::Shared,
         [&](const QString& folder) {
             WriteFile(folder + "/bashrc", shellFile);
             link("bashrc", folder + "/Tobiuo.ini");
             return folder + "/bashrc";
         },
         Outcome::LeftAlone, "設定ファイルの形式ではない"},
        {"link to our file", Disk::Shared,
         [&](const QString& folder) {
             QDir().mkpath(folder + "/dotfiles");
             WriteFile(folder + "/dotfiles/zarame.ini", ourFile);
             ::chmod(QFile::encodeName(folder + "/dotfiles/zarame.ini").constData(), 0640);
             if (root) {  // as root the file would become root's
                 ::chown(QFile::encodeName(folder + "/dotfiles/zarame.ini").constData(), 4321,
                         4322);
             }
             link("dotfiles/zarame.ini", folder + "/Tobiuo.ini");
             return folder + "/dotfiles/zarame.ini";
         },
         Outcome::Saved, ""},
        {"dangling link", Disk::Shared,
         [&](const QString& folder) {
             link(folder + "/new.ini", folder + "/Tobiuo.ini");
             return folder + "/new.ini";
         },
         Outcome::Saved, ""},
        {"link loop", Disk::Shared,
         [&](const QString& folder) {
             link("Tobiuo.ini", folder + "/Tobiuo.ini");
             return folder + "/Tobiuo.ini";
         },
         Outcome::Failed, FileSystemCause(ELOOP)},
        {"over the limit", Disk::Shared,
         [&](const QString& folder) {
             QByteArray keys;
             for (int key = 0; keys.size() <= kLargestSettingsFile; ++key) {
                 keys += "Key" + QByteArray::number(key) + "=value\n";
             }
             WriteFile(folder + "/Tobiuo.ini", "[KRB]\n" + keys);
             return folder + "/Tobiuo.ini";
         },
         Outcome::LeftAlone, "上限 (1 MiB) を超えています"},
        {"fifo", Disk::Shared,
         [&](const QString& folder) {
             ::mkfifo(QFile::encodeName(folder + "/Tobiuo.ini").constData(), 0600);
             return folder + "/Tobiuo.ini";
         },
         Outcome::LeftAlone, "通常のファイルではありません"},
        {"unwritable folder", unwritable,
         [&](const QString& folder) {
             WriteFile(folder + "/Tobiuo.ini", ourFile);
             ::chmod(QFile::encodeName(folder).constData(), 0500);  // root is let through...
             return folder + "/Tobiuo.ini";
         },
         Outcome::Failed, FileSystemCause(root ? EROFS : EACCES)},  // ...by no read-only mount
        {"full disk", Disk::Small,
         [&](const QString& folder) {
             WriteFile(folder + "/Tobiuo.ini", ourFile);
             QFile filler(folder + "/filler");
             filler.open(QIODevice::WriteOnly);
             while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
             }
             return folder + "/Tobiuo.ini";
         },
         Outcome::Failed, FileSystemCause(ENOSPC)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const QString folder = Path(QLatin1String(test.name));
        std::optional<Mount> disk;
        if (test.disk != Disk::Shared && !disk.emplace(folder, "size=64k").mounted()) {
            continue;  // no right to mount here
        }
        QDir().mkpath(folder);
        const QString target = test.make(folder);
        if (test.disk == Disk::ReadOnly) {
            ASSERT_TRUE(disk->MakeReadOnly());
        }
        const auto contents = [&] { return QFileInfo(target).isFile() ? ReadFile(target) : ""; };
        const QByteArray before = contents();
        struct stat was {};
        ::stat(QFile::encodeName(target).constData(), &was);
        const QDir targetFolder = QFileInfo(target).absoluteDir();
        const auto entries = [&] {
            return targetFolder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot);
        };
        const QStringList entriesBefore = entries();

        const QString path = folder + "/Tobiuo.ini";
        IniSettingsStore store(path);
        RunSettings saved;
        saved.FixedText = QStringLiteral("saved");
        const SettingsSaveResult result = SaveSettings(store, saved);
        ::chmod(QFile::encodeName(folder).constData(), 0700);

        EXPECT_EQ(result.outcome, test.outcome);
        EXPECT_TRUE(result.cause.contains(test.cause)) << result.cause.toStdString();
        // Nothing is left beside the file; only a file that was missing is new.
        EXPECT_EQ(entries().size(),
                  entriesBefore.size() + (was.st_ino == 0 && result.outcome == Outcome::Saved));
        if (result.outcome != Outcome::Saved) {
            EXPECT_EQ(contents(), before);
            continue;
        }
        EXPECT_TRUE(QFileInfo(path).isSymLink());
        EXPECT_EQ(Load(target).inputs, saved);
        if (was.st_ino != 0) {
            struct stat now {};
            ::stat(QFile::encodeName(target).constData(), &now);
            EXPECT_EQ(now.st_mode, was.st_mode);
            EXPECT_EQ(now.st_uid, was.st_uid);
            EXPECT_EQ(now.st_gid, was.st_gid);
            QSettings file(target, QSettings::IniFormat);
            EXPECT_EQ(file.value("KRB/LogMax").toString(), u"77");
            EXPECT_EQ(file.value("Other/key").toString(), u"1");
        }
    }
}

TEST(SaveFailureMessage, NamesTheFileTheLinkAndTheCause) {
    SettingsSaveResult result{SettingsSaveResult::Outcome::LeftAlone, "/home/u/Tobiuo.ini",
                              "/home/u/dot\nfiles/z.ini",
                              "ファイルの大きさが上限 (1 MiB) を超えています"};
    EXPECT_EQ(SaveFailureMessage(result),
              QStringLiteral("入力内容を保存できませんでした。\n\nファイル: /home/u/Tobiuo.ini\n"
                             "リンク先: /home/u/dot\u240Afiles/z.ini\n"
                             "理由: ファイルの大きさが上限 (1 MiB) を超えています\n\n"
                             "このファイルには手を加えていません。"));
}

}  // namespace
}  // namespace zarame
