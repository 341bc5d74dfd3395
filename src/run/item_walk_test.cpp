#include "run/item_walk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <cerrno>

#include "common/byte_text.h"
#include "create/dry_run_file_service.h"
#include "create/item_creator.h"
#include "sources/sequence_source.h"
#include "sources/text_file_source.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::WriteFile;

QString Created(const QString& subject) {
    return subject + QStringLiteral("を作成しました");
}

// Folders, named by numbers or by the lines of a list, into a fresh destination.
struct Walker : testing::ContextFixture {
    Walker() { request.items.kind = ItemKind::Folder; }
    FailedItem failedItem = FailedItem::EndsTheRun;

    WalkEnd Walk(NameGenerator& names) {
        RunContext context = Context();
        return WalkItems(context, names,
                         {request.folder, ItemRecipeOf(request.items, templatePath),
                          request.parentFolders, failedItem});
    }
    WalkEnd WalkNumbers(std::int32_t first, std::int32_t last) {
        SequenceNames names(
            {first, last, 0, QStringLiteral("f"), NumberPlacement::AfterFixedText, QString()});
        return Walk(names);
    }
    WalkEnd WalkLines(const QByteArray& list) {
        const QString path = temporary.filePath(QStringLiteral("names.txt"));
        WriteFile(path, list);
        TextFileNames names(files, path, [] { return false; });
        return Walk(names);
    }
    QString Item(const QString& name) const { return destination + u'/' + name; }
};

class ItemWalk : public Walker, public ::testing::Test {};

TEST_F(ItemWalk, NumberedNamesJoinTheFolderAsTypedAndAreLoggedWhole) {
    request.folder = destination + "/";
    EXPECT_EQ(WalkNumbers(1, 2), WalkEnd::Finished);
    EXPECT_EQ(WalkNumbers(2, 2), WalkEnd::Finished);
    EXPECT_EQ(FolderEntries(destination), QStringList({"f1", "f2"}));
    EXPECT_EQ(observer.lines,
              QStringList({Created(destination + "//f1"), Created(destination + "//f2"),
                           destination + "//f2は既に存在しています"}));
    EXPECT_EQ(host.pumps, 3);
    EXPECT_EQ(observer.steps, 3);
}

TEST_F(ItemWalk, StopIsSeenBeforeTheNextNameButNotAfterTheLast) {
    // Stop pressed at the second pump: three numbers leave one unmade, two end the range first.
    for (std::int32_t last : {3, 2}) {
        Walker walk;
        walk.host.onPump = [&walk](int pump) { walk.stopRequested = pump == 2; };
        const bool stopped = last == 3;
        EXPECT_EQ(walk.WalkNumbers(1, last), stopped ? WalkEnd::Stopped : WalkEnd::Finished);
        EXPECT_EQ(FolderEntries(walk.destination).size(), 2);
        EXPECT_EQ(walk.observer.lines.size(), 2 + (stopped ? 1 : 0));
        EXPECT_EQ(walk.observer.lines.back() == QString::fromUtf16(kStoppedLine), stopped);
    }
}

// A name read from data is used as it stands unless it climbs out of the folder; a name the walk
// cannot make is heard as such and raised, and the lines after it are not read.
TEST_F(ItemWalk, NamesReadFromDataAreUsedAsTheyStandUnlessTheyClimbOut) {
    QDir().mkpath(Item("sub"));
    QDir().mkpath(temporary.filePath("outside"));  // where "../outside/up" would land
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
        observer.lines.clear();
        observer.results.clear();
        SCOPED_TRACE(c.line.toStdString());
        int error = 0;
        try {
            EXPECT_EQ(WalkLines(c.line + "\nnext\n"), WalkEnd::Finished);
        } catch (const RunTimeError& failure) {
            error = failure.number();
            EXPECT_TRUE(failure.description().endsWith(
                c.error == EINVAL ? QString(name).replace(QChar(0), QChar(0xFFFD)) : Item(name)));
        }
        EXPECT_EQ(error, c.error);
        const ItemResult result = c.error == 0        ? ItemResult::Made
                                  : c.error == EINVAL ? ItemResult::Refused
                                                      : ItemResult::Failed;
        EXPECT_EQ(observer.results.front(), result);
        EXPECT_TRUE(c.error != 0 || Exists(Item(name)));
        EXPECT_EQ(Exists(Item("next")), c.error == 0);
        EXPECT_EQ(observer.lines.size(), c.error == 0 ? 2 : 0);
        QDir(Item("next")).removeRecursively();
    }
    EXPECT_FALSE(Exists(temporary.filePath("up")));
    EXPECT_FALSE(Exists(temporary.filePath("outside/up")));
    EXPECT_FALSE(Exists(Item("up")));
}

// A dry run logs an item it cannot make and goes on, but ends when it may remember no more.
TEST_F(ItemWalk, DryRunPassesFailedItemsButEndsAtItsMemoryLimit) {
    DryRunFileService dryRun(templatePath, 2);
    RunContext context{host, observer, dryRun, stopRequested, templatePath};
    const QString list = temporary.filePath(QStringLiteral("names.txt"));
    WriteFile(list, "a\nmissing/b\nc\nd\n");
    TextFileNames names(files, list, [] { return false; });
    const WalkPlan plan{request.folder, ItemRecipeOf(request.items, templatePath),
                        ParentFolders::MustExist, FailedItem::IsLoggedAndPassed};
    EXPECT_THROW(WalkItems(context, names, plan), DryRunLimitError);
    // a, the error for missing/b, c; d would be the third to remember
    EXPECT_EQ(observer.lines.size(), 3);
    EXPECT_TRUE(observer.lines[1].startsWith("[2][0]"));
    EXPECT_TRUE(FolderEntries(destination).isEmpty());
}

TEST_F(ItemWalk, FolderAndListWhoseNamesAreNotUtf8AreTheOnesUsed) {
    // Siblings named with U+FFFD and '?' stand where a lossy decoding would land.
    const QByteArray base = EncodeBytes(destination);
    for (const QByteArray& folder : {base + "/d\xff", base + "/d\xef\xbf\xbd", base + "/d?"}) {
        ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    }
    WriteFile(temporary.filePath("list"), "a\n\x82\xa0\n");
    const QByteArray list = EncodeBytes(temporary.path()) + "/n\xfe.txt";
    ASSERT_EQ(::rename(EncodeBytes(temporary.filePath("list")).constData(), list.constData()), 0);
    request.folder = DecodeBytes(base + "/d\xff");
    TextFileNames names(files, DecodeBytes(list), [] { return false; });
    EXPECT_EQ(Walk(names), WalkEnd::Finished);
    EXPECT_EQ(::access((base + "/d\xff/a").constData(), F_OK), 0);
    EXPECT_EQ(::access((base + "/d\xff/\xe3\x81\x82").constData(), F_OK), 0);  // あ from CP932
    EXPECT_EQ(FolderEntries(Item("d\uFFFD")).size() + FolderEntries(Item("d?")).size(), 0);
}

}  // namespace
}  // namespace zarame
