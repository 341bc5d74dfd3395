#include "sources/text_file_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QStringList>
#include <cerrno>
#include <cstdint>

#include "common/byte_text.h"
#include "testing/test_support.h"
#include "window/window_model.h"

namespace zarame {
namespace {

using testing::ContextFixture;
using testing::Exists;
using testing::FolderEntries;
using testing::WriteFile;

QString Created(const QString& name) {
    return name + QStringLiteral("を作成しました");
}

// Folders named by the lines of names.txt.
class TextFileSourceTest : public ::testing::Test {
protected:
    TextWalkResult Walk(const QByteArray& names) {
        const QString namesPath = fixture_.temporary.filePath(QStringLiteral("names.txt"));
        WriteFile(namesPath, names);
        fixture_.request.names.textFilePath = namesPath;
        fixture_.request.items.kind = ItemKind::Folder;
        RunContext context = fixture_.Context();
        return CreateFromTextFile(context, fixture_.request);
    }

    QString Item(const QString& name) const { return fixture_.destination + u'/' + name; }
    QStringList Items() const { return FolderEntries(fixture_.destination); }
    const QStringList& Log() const { return fixture_.model.logLines(); }

    ContextFixture fixture_;
};

TEST_F(TextFileSourceTest, CreatesOneItemPerLineUpToTheFirstEmptyLine) {
    // Blanks belong to the name, and a line of blanks is a name, not the end of the list.
    const TextWalkResult result = Walk("a\n x \n   \n\nc\n");
    EXPECT_EQ(result.end, WalkEnd::Finished);
    EXPECT_EQ(result.emptyLineBeforeMore, 4);
    EXPECT_EQ(Items(), (QStringList{"   ", " x ", "a"}));
    EXPECT_EQ(Log(), (QStringList{Created("a"), Created(" x "), Created("   ")}));
    EXPECT_EQ(fixture_.host.pumps, 3);
    EXPECT_EQ(Walk("b\n\n\r\n").emptyLineBeforeMore, 0);  // only empty lines follow
}

// A name is used as it stands unless it climbs out of the folder; a name the walk cannot make
// ends it with the error, for the caller to log, and the lines after it are not read.
TEST_F(TextFileSourceTest, NamesAreUsedAsTheyStandUnlessTheyClimbOutOfTheFolder) {
    QDir().mkpath(Item("sub"));
    QDir().mkpath(fixture_.temporary.filePath("outside"));  // where "../outside/up" would land
    const struct {
        QByteArray line;
        int error;  // 0: created, and the next line too
    } cases[] = {
        {"sub/a", 0},
        {"...", 0},
        {"a..b", 0},
        {"..", EINVAL},
        {"../outside/up", EINVAL},
        {"sub/../../up", EINVAL},
        {"sub/..", EINVAL},
        {QByteArray("up\0x", 4), EINVAL},
        {"missing/b", ENOENT},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.line);
        fixture_.model.clearLog();
        SCOPED_TRACE(c.line.toStdString());
        int error = 0;
        try {
            EXPECT_EQ(Walk(c.line + "\nnext\n").end, WalkEnd::Finished);
        } catch (const RunTimeError& failure) {
            error = failure.number();
            EXPECT_TRUE(failure.description().endsWith(
                c.error == EINVAL ? QString(name).replace(QChar(0), QChar(0xFFFD)) : Item(name)));
        }
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(c.error != 0 || Exists(Item(name)));
        EXPECT_EQ(Exists(Item("next")), c.error == 0);
        EXPECT_EQ(Log().size(), c.error == 0 ? 2 : 0);
        QDir(Item("next")).removeRecursively();
    }
    EXPECT_FALSE(Exists(fixture_.temporary.filePath("up")));
    EXPECT_FALSE(Exists(fixture_.temporary.filePath("outside/up")));
    EXPECT_FALSE(Exists(Item("up")));
}

TEST_F(TextFileSourceTest, FolderAndListWhoseNamesAreNotUtf8AreTheOnesUsed) {
    // Siblings named with U+FFFD and '?' stand where a lossy decoding would land.
    const QByteArray base = EncodeBytes(fixture_.destination);
    for (const QByteArray& folder : {base + "/d\xff", base + "/d\xef\xbf\xbd", base + "/d?"}) {
        ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    }
    WriteFile(fixture_.temporary.filePath("list"), "a\n\x82\xa0\n");
    ASSERT_EQ(::rename(EncodeBytes(fixture_.temporary.filePath("list")).constData(),
                       (EncodeBytes(fixture_.temporary.path()) + "/n\xfe.txt").constData()),
              0);
    fixture_.request.folder = DecodeBytes(base + "/d\xff");
    fixture_.request.names.textFilePath =
        DecodeBytes(EncodeBytes(fixture_.temporary.path()) + "/n\xfe.txt");
    fixture_.request.items.kind = ItemKind::Folder;
    RunContext context = fixture_.Context();
    EXPECT_EQ(CreateFromTextFile(context, fixture_.request).end, WalkEnd::Finished);
    EXPECT_EQ(::access((base + "/d\xff/a").constData(), F_OK), 0);
    EXPECT_EQ(::access((base + "/d\xff/\xe3\x81\x82").constData(), F_OK), 0);  // あ from CP932
    EXPECT_EQ(FolderEntries(Item("d\uFFFD")).size() + FolderEntries(Item("d?")).size(), 0);
}

TEST_F(TextFileSourceTest, StopAtAPumpIsReportedBeforeTheNextLine) {
    fixture_.host.onPump = [this](int pump) {
        if (pump == 2) {
            fixture_.stopRequested = true;
        }
    };
    EXPECT_EQ(Walk("a\nb\nc\nd\n").end, WalkEnd::Stopped);
    EXPECT_EQ(Items(), (QStringList{"a", "b"}));
    EXPECT_EQ(Log(), (QStringList{Created("a"), Created("b"), "処理を中断しました"}));
    EXPECT_EQ(fixture_.model.caption(Label::lblNow), QStringLiteral("処理を中断"));
}

}  // namespace
}  // namespace zarame
