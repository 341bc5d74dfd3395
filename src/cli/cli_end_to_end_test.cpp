// The command-line runner as a script would use it: a separate process, real folders, exit
// statuses and output streams.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::ReadFile;
using testing::WriteFile;

constexpr int kProcessTimeoutMilliseconds = 20000;

struct CliResult {
    int exitCode = -1;
    QStringList out;  // standard output, line by line
    QString error;    // standard error, whole
};

QStringList Lines(const QByteArray& output) {
    QStringList lines = QString::fromUtf8(output).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

class CliEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temporary_.isValid());
        // Each test runs its own copy of the program: the template is made beside the executable,
        // and tests that run at the same time must not meet at one template.
        programFolder_ = temporary_.filePath(QStringLiteral("bin"));
        destination_ = temporary_.filePath(QStringLiteral("out"));
        ASSERT_TRUE(QDir().mkpath(programFolder_));
        ASSERT_TRUE(QDir().mkpath(destination_));
        program_ = programFolder_ + QStringLiteral("/zarame-cli");
        const QString built = QStringLiteral(ZARAME_CLI_PATH);
        ASSERT_TRUE(QFile::copy(built, program_)) << ZARAME_CLI_PATH;
        ASSERT_TRUE(QFile::setPermissions(program_, QFile::permissions(built)));
    }

    void Start(QProcess& process, const QStringList& arguments) {
        process.start(program_, arguments);
        ASSERT_TRUE(process.waitForStarted(kProcessTimeoutMilliseconds));
    }

    static CliResult Finish(QProcess& process) {
        CliResult result;
        // waitForFinished is false for a process that has already ended, so ask only if it runs.
        if (process.state() != QProcess::NotRunning &&
            !process.waitForFinished(kProcessTimeoutMilliseconds)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "zarame-cli did not finish";
            return result;
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        result.exitCode = process.exitCode();
        result.out = Lines(process.readAllStandardOutput());
        result.error = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    CliResult Run(const QStringList& arguments) {
        QProcess process;
        Start(process, arguments);
        return Finish(process);
    }

    // Ctrl+C, pressed again and again until the program has ended: every press after the first
    // must be absorbed, not end the program half-way through its clean-up. Returns how many
    // presses were sent.
    static int InterruptUntilEnded(QProcess& process) {
        int presses = 0;
        QElapsedTimer clock;
        clock.start();
        while (process.state() == QProcess::Running && process.processId() > 0 &&
               clock.elapsed() < kProcessTimeoutMilliseconds) {
            ::kill(static_cast<pid_t>(process.processId()), SIGINT);
            ++presses;
            ::usleep(200);
            process.waitForFinished(0);
        }
        return presses;
    }

    QStringList Numbers(int last) const {
        return {QStringLiteral("--source=numbers"),   QStringLiteral("--min=1"),
                QStringLiteral("--max=%1").arg(last), QStringLiteral("--fixed-text=file"),
                QStringLiteral("--extension=.dat"),   QStringLiteral("--folder=") + destination_};
    }

    QString Item(const QString& name) const { return destination_ + u'/' + name; }
    QString TemplatePath() const { return programFolder_ + QStringLiteral("/KRB_tmp.tmp"); }

    QTemporaryDir temporary_;
    QString programFolder_;
    QString program_;
    QString destination_;
};

TEST_F(CliEndToEndTest, NewFilesFromSequentialNumbers) {
    const CliResult result =
        Run(Numbers(3) + QStringList{QStringLiteral("--size=1000"), QStringLiteral("--fill=0x41")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, (QStringList{Item("file001.dat") + "を作成しました",
                                       Item("file002.dat") + "を作成しました",
                                       Item("file003.dat") + "を作成しました"}));
    EXPECT_EQ(result.error, QString());
    EXPECT_EQ(ReadFile(Item("file001.dat")), QByteArray(1000, 'A'));
    EXPECT_EQ(ReadFile(Item("file003.dat")), QByteArray(1000, 'A'));
    EXPECT_FALSE(Exists(TemplatePath()));
}

TEST_F(CliEndToEndTest, RefusedInputExitsWithTwo) {
    const CliResult result = Run({QStringLiteral("--folder=")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.error.contains(QStringLiteral("作成先フォルダを指定してください")))
        << result.error.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(CliEndToEndTest, UnknownOptionExitsWithTwoAndShowsUsage) {
    const CliResult result = Run({QStringLiteral("--colour=red")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.error.contains(QStringLiteral("--colour=red")));
    EXPECT_TRUE(result.error.contains(QStringLiteral("使い方: zarame-cli")));
    EXPECT_TRUE(result.out.isEmpty());
}

TEST_F(CliEndToEndTest, WorkbookColumnAndAWorkbookThatCannotBeOpened) {
    const QString names = temporary_.filePath(QStringLiteral("names.csv"));
    WriteFile(names, "x,alpha\ny,\nz,beta\n");
    const QStringList arguments{
        QStringLiteral("--source=excel"),  QStringLiteral("--excel=") + names,
        QStringLiteral("--start-cell=b1"), QStringLiteral("--blank-rows=2"),
        QStringLiteral("--kind=folder"),   QStringLiteral("--folder=") + destination_};
    CliResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    EXPECT_EQ(result.out, QStringList({"alphaを作成しました", "betaを作成しました"}));
    EXPECT_EQ(FolderEntries(destination_), QStringList({"alpha", "beta"}));

    // The message, then the cause on a second line.
    WriteFile(names, "");
    QFile::rename(names, temporary_.filePath(QStringLiteral("names.xlsx")));
    result = Run(QStringList(arguments).replaceInStrings("names.csv", "names.xlsx"));
    EXPECT_EQ(result.exitCode, 3);
    const QStringList lines = result.error.split(u'\n');
    ASSERT_GE(lines.size(), 2) << result.error.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("ざらめ: Microsoft Excelがインストールされていません。"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("ブックの形式ではありません")))
        << result.error.toStdString();
    EXPECT_FALSE(Exists(TemplatePath()));
}

TEST_F(CliEndToEndTest, ErrorLineEndsTheRunWithOne) {
    // A file where the first folder should go: mkdir fails with EEXIST (17).
    WriteFile(Item("file001.dat"), "");
    const CliResult result = Run(Numbers(3) + QStringList{QStringLiteral("--kind=folder")});
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_FALSE(result.out.isEmpty());
    EXPECT_TRUE(result.out.back().startsWith(QStringLiteral("[17][0]")))
        << result.out.back().toStdString();
    EXPECT_FALSE(Exists(Item("file002.dat")));
}

TEST_F(CliEndToEndTest, TextFileWithWindowsLineEnds) {
    const QString names = temporary_.filePath(QStringLiteral("names.txt"));
    WriteFile(names, "alpha\r\nベータ\r\n");
    const CliResult result =
        Run({QStringLiteral("--source=text"), QStringLiteral("--text=") + names,
             QStringLiteral("--kind=folder"), QStringLiteral("--folder=") + destination_});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, (QStringList{"alphaを作成しました", "ベータを作成しました"}));
    EXPECT_EQ(FolderEntries(destination_), (QStringList{"alpha", "ベータ"}));
}

TEST_F(CliEndToEndTest, TextWalkEndedEarlyExitsWithOneAndSaysWhy) {
    const QString names = temporary_.filePath(QStringLiteral("names.txt"));
    WriteFile(names, "a\nmissing/b\nc\n");
    const CliResult result =
        Run({QStringLiteral("--source=text"), QStringLiteral("--text=") + names,
             QStringLiteral("--kind=folder"), QStringLiteral("--folder=") + destination_});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, QStringList{"aを作成しました"});
    EXPECT_TRUE(result.error.contains(Item("missing/b"))) << result.error.toStdString();
    EXPECT_FALSE(Exists(Item("c")));
}

TEST_F(CliEndToEndTest, InterruptStopsABatchAfterTheItemInHand) {
    QProcess process;
    Start(process, Numbers(200000) + QStringList{QStringLiteral("--kind=folder")});
    // Output comes in blocks once items are being made, and the signals are trapped by then.
    ASSERT_TRUE(process.waitForReadyRead(kProcessTimeoutMilliseconds));
    EXPECT_GE(InterruptUntilEnded(process), 1);
    const CliResult result = Finish(process);
    EXPECT_EQ(result.exitCode, 130);
    ASSERT_FALSE(result.out.isEmpty());
    EXPECT_EQ(result.out.back(), QStringLiteral("処理を中断しました"));
    // Every folder made was reported, and nothing was reported that was not made.
    EXPECT_EQ(FolderEntries(destination_).size(), result.out.size() - 1);
    EXPECT_LT(result.out.size(), 200000);
}

TEST_F(CliEndToEndTest, InterruptWhileWritingTheTemplateLeavesNoTemplate) {
    QProcess process;
    Start(process, Numbers(1) + QStringList{QStringLiteral("--size=1073741824")});
    // Once the template has content, the run is past installing its signal handlers.
    QElapsedTimer clock;
    clock.start();
    while (process.state() == QProcess::Running && QFileInfo(TemplatePath()).size() == 0 &&
           clock.elapsed() < kProcessTimeoutMilliseconds) {
        process.waitForFinished(1);
    }
    ASSERT_GT(QFileInfo(TemplatePath()).size(), 0);
    EXPECT_GE(InterruptUntilEnded(process), 1);
    const CliResult result = Finish(process);
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.out, QStringList{QStringLiteral("処理を中断しました")});
    EXPECT_FALSE(Exists(TemplatePath()));
    EXPECT_TRUE(FolderEntries(destination_).isEmpty());
}

TEST_F(CliEndToEndTest, ReaderThatGoesAwayStopsTheRunCleanly) {
    // As with "zarame-cli ... | head -1": standard output is a pipe nobody reads any more, so the
    // first block written raises SIGPIPE.
    int readerGone[2];
    ASSERT_EQ(::pipe(readerGone), 0);
    ::close(readerGone[0]);
    QProcess process;
    process.setChildProcessModifier(
        [writeEnd = readerGone[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    Start(process, Numbers(200000) + QStringList{QStringLiteral("--size=100")});
    ::close(readerGone[1]);
    const CliResult result = Finish(process);
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_FALSE(Exists(TemplatePath()));
    EXPECT_LT(FolderEntries(destination_).size(), 200000);
}

}  // namespace
}  // namespace zarame
