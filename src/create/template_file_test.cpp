#include "create/template_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFileInfo>

#include <atomic>
#include <functional>
#include <thread>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::ErrorNumberOf;
using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

class TemplateLife : public ::testing::Test {
protected:
    QString Path(const char* name) const { return temporary.path() + u'/' + QLatin1String(name); }

    QTemporaryDir temporary;
    QString templatePath = temporary.path() + "/KRB_tmp.tmp";
    TemplateFile ours;
};

// The template: one run's own, locked from before it has its name to its removal.

TEST_F(TemplateLife, ASecondRunCannotTakeOrDeleteALiveTemplate) {
    ours.Create(templatePath);
    ours.Write("12345", 5);

    TemplateFile second;
    EXPECT_EQ(ErrorNumberOf([&] { second.Create(templatePath); }), EWOULDBLOCK);
    second.Remove(templatePath);
    EXPECT_EQ(ReadFile(templatePath), "12345");

    ours.Remove(templatePath);
    EXPECT_FALSE(Exists(templatePath));
    second.Create(templatePath);  // free again
    second.Remove(templatePath);
}

TEST_F(TemplateLife, LeftoversAreReplacedAndAPlantedLinkIsNotFollowed) {
    {
        // A run that ended without its clean-up, under a umask that would make its file
        // read-only: the leftover still has mode 0644, so the next run clears it.
        const mode_t umaskBefore = ::umask(0222);
        TemplateFile killed;
        killed.Create(templatePath);
        killed.Write("old leftover, longer than the new content", 41);
        ::umask(umaskBefore);
    }
    EXPECT_EQ(QFileInfo(templatePath).permissions() & 0x0777, 0x0644);
    ours.Create(templatePath);
    ours.Write("new", 3);
    EXPECT_EQ(ReadFile(templatePath), "new");
    ours.Remove(templatePath);

    const QString victim = Path("victim");
    WriteFile(victim, "keep me");
    ASSERT_EQ(::symlink(EncodeBytes(victim).constData(), EncodeBytes(templatePath).constData()), 0);
    ours.Create(templatePath);
    ours.Write("xyz", 3);
    EXPECT_FALSE(QFileInfo(templatePath).isSymLink());
    ours.Remove(templatePath);
    EXPECT_EQ(ReadFile(victim), "keep me");

    // A write-protected leftover is not forced: the build fails, and the file stays.
    WriteFile(templatePath, "read-only");
    QFile::setPermissions(templatePath, QFileDevice::ReadOwner);
    EXPECT_EQ(ErrorNumberOf([&] { ours.Create(templatePath); }), EEXIST);
    ours.Remove(templatePath);
    EXPECT_TRUE(Exists(templatePath));
}

TEST_F(TemplateLife, RunsThatClearLeftoversNeverDisturbALiveRun) {
    // Refused runs clear leftovers in their clean-up while real runs take the template.
    std::atomic<bool> done{false};
    std::thread refusedRuns([&] {
        while (!done) {
            TemplateFile refused;
            refused.Remove(templatePath);
        }
    });
    int disturbed = 0;
    for (int run = 0; run < 300; ++run) {
        TemplateFile live;
        disturbed += ErrorNumberOf([&] {
                         live.Create(templatePath);
                         live.Write("x", 1);
                     }) != 0;
        disturbed += ReadFile(templatePath) != "x";
        live.Remove(templatePath);
    }
    done = true;
    refusedRuns.join();
    EXPECT_EQ(disturbed, 0);
}

TEST_F(TemplateLife, CopiesAreExactlyTheTemplate) {
    const struct {
        QByteArray content;
        int blocks;
    } cases[] = {
        {{}, 0},
        {"A", 1},
        {QByteArray(32000, 'A'), 33},  // over a megabyte: more than one block from memory
        {"mixed content", 1},
        {QByteArray(700000, 'x') + "y", 2},  // read back from the template
    };
    int index = 0;
    for (const auto& c : cases) {
        ours.Create(templatePath);
        for (int block = 0; block < c.blocks; ++block) {
            ours.Write(c.content.constData(), c.content.size());
        }
        const QString copy = Path("copy") + QString::number(index++);
        {
            const int fd = ::open(EncodeBytes(copy).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            ASSERT_GE(fd, 0);
            ASSERT_TRUE(ours.Serves(templatePath));
            ours.CopyTo(fd, copy, [] {});
            ::close(fd);
        }
        EXPECT_EQ(ReadFile(copy), c.content.repeated(c.blocks)) << index;
        ours.Remove(templatePath);
    }
}

}  // namespace
}  // namespace zarame
