// The command-line runner as a script would use it: a separate process, real folders, exit
// statuses and output streams.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include "common/byte_text.h"
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
        // Each test runs its own copy of the program, which like an installed one keeps its
        // template in the user's data folder, one per test so that tests running at the same
        // time never meet at one template.
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
        QProcessEnvironment environment = process.processEnvironment();
        if (environment.isEmpty()) {
            environment = QProcessEnvironment::systemEnvironment();
        }
        environment.insert(QStringLiteral("XDG_DATA_HOME"), temporary_.filePath("data"));
        process.setProcessEnvironment(environment);
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

    // The program run with a change to its process made between fork and exec, if any.
    CliResult Run(const QStringList& arguments, const std::function<void()>& inChild = {}) {
        QProcess process;
        if (inChild) {
            process.setChildProcessModifier(inChild);
        }
        Start(process, arguments);
        return Finish(process);
    }

    QStringList Numbers(int last) const {
        return {QStringLiteral("--source=numbers"),   QStringLiteral("--min=1"),
                QStringLiteral("--max=%1").arg(last), QStringLiteral("--fixed-text=file"),
                QStringLiteral("--extension=.dat"),   QStringLiteral("--folder=") + destination_};
    }
    QStringList Text(const QString& names, const QString& kind = "folder") const {
        return {"--source=text", "--text=" + names, "--kind=" + kind, "--folder=" + destination_};
    }
    void EmptyDestination() const {
        QDir(destination_).removeRecursively();
        QDir().mkpath(destination_);
    }
    QString File(const QString& name) const { return temporary_.filePath(name); }
    QString Item(const QString& name) const { return destination_ + u'/' + name; }
    QString TemplatePath() const { return temporary_.filePath("data/zarame/KRB_tmp.tmp"); }

    QTemporaryDir temporary_;
    QString programFolder_;
    QString program_;
    QString destination_;
};

// On a terminal, standard error shows the live count and a closing summary; standard output stays
// the log alone.
TEST_F(CliEndToEndTest, CountAndSummaryGoToAStandardErrorThatIsATerminal) {
    // Runs with standard error on a terminal and gives back what the terminal showed.
    const auto onTerminal = [this](const QStringList& arguments, const QByteArray& late,
                                   CliResult& result) {
        const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(terminal, 0);
        EXPECT_EQ(::grantpt(terminal), 0);
        EXPECT_EQ(::unlockpt(terminal), 0);
        const int screen = ::open(::ptsname(terminal), O_RDWR | O_NOCTTY);
        EXPECT_GE(screen, 0);
        QProcess process;
        process.setChildProcessModifier([screen] { ::dup2(screen, STDERR_FILENO); });
        Start(process, arguments);
        // The last names come late, so that the count is drawn while the run waits for them.
        process.write("a\nb\n");
        EXPECT_TRUE(process.waitForBytesWritten(kProcessTimeoutMilliseconds));
        ::usleep(400 * 1000);
        process.write(late);
        process.closeWriteChannel();
        result = Finish(process);
        ::close(screen);
        ::fcntl(terminal, F_SETFL, O_NONBLOCK);
        QByteArray shown;
        char block[4096];
        for (ssize_t count; (count = ::read(terminal, block, sizeof block)) > 0;) {
            shown.append(block, count);
        }
        ::close(terminal);
        return QString::fromUtf8(shown);
    };
    CliResult result;
    const QString piped = onTerminal(Text("/dev/stdin"), "c\n\nd\n", result);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, (QStringList{"aを作成しました", "bを作成しました", "cを作成しました"}));
    EXPECT_TRUE(piped.contains(QStringLiteral("\r\033[K0 件  0 件/秒"))) << piped.toStdString();
    EXPECT_TRUE(piped.contains(QStringLiteral("作成 3 件、既存 0 件、経過 ")))
        << piped.toStdString();
    EXPECT_FALSE(piped.contains(QStringLiteral("空行"))) << piped.toStdString();  // not a file

    // An empty line that ends a list before its end is told.
    EmptyDestination();
    WriteFile(File("names.txt"), "x\n\ny\n");
    const QString listed = onTerminal(Text(File("names.txt")), "", result);
    EXPECT_EQ(result.out, QStringList{"xを作成しました"});
    EXPECT_TRUE(listed.contains(QStringLiteral("作成 1 件、既存 0 件、経過 ")))
        << listed.toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral(
        " 秒\r\nzarame-cli: 2 行目の空行で一覧が終わりました。その後の行からは作成していません")))
        << listed.toStdString();
}

TEST_F(CliEndToEndTest, ExitStatusSaysHowTheRunEnded) {
    WriteFile(File("names.txt"), "a\nmissing/b\nc\n");
    WriteFile(File("book.xlsx"), "not really a workbook");
    // Names in column AB from row 12: past the window's field, for the command line only.
    WriteFile(File("wide.csv"), QByteArray(11, '\n') + QByteArray(27, ',') + "gamma\n" +
                                    QByteArray(27, ',') + "delta\n");
    WriteFile(Item("file002.dat"), "");  // a file where the second folder should go
    const struct {
        QStringList arguments;
        int exitCode;
        QString lastLine;  // the start of the last log line
        QString error;     // a part of standard error
    } cases[] = {
        {{"--folder="}, 2, {}, "作成先フォルダを指定してください"},
        {{"--colour=red"}, 2, {}, "使い方: zarame-cli"},
        {{"--source=excel", "--excel=" + File("book.xlsx"), "--folder=" + destination_},
         3,
         {},
         // The message, then the cause on a second line.
         "zarame-cli: Microsoft Excelがインストールされていません。\n"
         "ブックの形式ではありません"},
        {{"--source=excel", "--excel=" + File("wide.csv"), "--start-cell=\uFF41b12",
          "--blank-rows=2", "--kind=folder", "--folder=" + destination_},
         0,
         "deltaを作成しました",
         {}},
        {Numbers(3) + QStringList{"--kind=folder"}, 1, "[17][0]", "zarame-cli: [17][0]"},
        // The text walk's failure is its last log line, and standard error has it too.
        {Text(File("names.txt")), 1,
         "[2][0]ファイルまたはフォルダが見つかりません: " + Item("missing/b"),
         "zarame-cli: [2][0]ファイルまたはフォルダが見つかりません: " + Item("missing/b") + "\n"},
    };
    for (const auto& c : cases) {
        const CliResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(c.lastLine.isEmpty()
                        ? result.out.isEmpty()
                        : result.out.value(result.out.size() - 1).startsWith(c.lastLine))
            << result.out.join('\n').toStdString();
        EXPECT_TRUE(c.error.isEmpty() ? result.error.isEmpty() : result.error.contains(c.error))
            << result.error.toStdString();
        EXPECT_FALSE(Exists(TemplatePath()));
    }
    EXPECT_EQ(FolderEntries(destination_),
              (QStringList{"a", "delta", "file001.dat", "file002.dat", "gamma"}));
}

// A file-size limit is an error with clean-up, never a killed run with a truncated item. The limit
// also shows that sizes past 2 GiB reach the writes without a test writing gigabytes: up to the
// window's largest size through the template, past it each file written for itself ([0], and no
// template), random or not.
TEST_F(CliEndToEndTest, CopiesThatCannotBeMadeEndTheRunCleanly) {
    WriteFile(File("big"), QByteArray(300 * 1024, 'b'));
    const auto fileSizeLimit = [] {
        const rlimit limit{100 * 1024, 100 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const struct {
        QStringList arguments;
        std::function<void()> inChild;
        QString lastLine;
    } cases[] = {
        {Numbers(2) + QStringList{"--size=200000"}, fileSizeLimit, "[27][1]"},
        {Numbers(2) + QStringList{"--size=2147483647"}, fileSizeLimit, "[27][1]"},
        {Numbers(2) + QStringList{"--size=3G"}, fileSizeLimit, "[27][0]"},
        {Numbers(2) + QStringList{"--size=2.5TiB", "--fill=random"}, fileSizeLimit, "[27][0]"},
        {Numbers(2) + QStringList{"--kind=copy", "--copy-source=" + File("big")}, fileSizeLimit,
         "[27][0]"},
    };
    for (const auto& c : cases) {
        const CliResult result = Run(c.arguments, c.inChild);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out.size(), 1) << result.out.join('\n').toStdString();
        EXPECT_TRUE(result.out.value(0).startsWith(c.lastLine))
            << result.out.value(0).toStdString();
        EXPECT_TRUE(FolderEntries(destination_).isEmpty());
        EXPECT_FALSE(Exists(TemplatePath()));
    }
}

// A seed makes a run again byte for byte; within a run every file has bytes of its own, and an
// existing item is left as it is.
TEST_F(CliEndToEndTest, RandomFillIsReproducibleBySeed) {
    WriteFile(Item("file002.dat"), "precious");
    const QStringList random = Numbers(3) + QStringList{"--size=1.5KiB", "--fill=random:2026"};
    const CliResult first = Run(random);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_TRUE(first.out.value(1).endsWith("は既に存在しています"));
    const QString again = File("again");
    QDir().mkpath(again);
    EXPECT_EQ(Run(random + QStringList{"--folder=" + again}).exitCode, 0);
    EXPECT_EQ(ReadFile(Item("file002.dat")), "precious");
    const QByteArray one = ReadFile(Item("file001.dat"));
    EXPECT_EQ(one.size(), 1536);
    EXPECT_NE(one, ReadFile(Item("file003.dat")));
    for (const char* name : {"file001.dat", "file003.dat"}) {
        EXPECT_EQ(ReadFile(Item(name)), ReadFile(again + u'/' + QLatin1String(name))) << name;
    }
    EXPECT_FALSE(Exists(TemplatePath()));
    const CliResult refused = Run(random + QStringList{"--size=1.5"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.error.startsWith("zarame-cli: --size の値「1.5」"))
        << refused.error.toStdString();
}

// Standard streams: closed ones never become a file of the run, a log that cannot be written is a
// failure, and names can come through a pipe.
TEST_F(CliEndToEndTest, StandardStreamsAndTheLog) {
    const CliResult closed = Run(Numbers(300) + QStringList{"--size=100", "--fill=0x41"}, [] {
        ::close(STDIN_FILENO);
        ::close(STDOUT_FILENO);
    });
    EXPECT_EQ(closed.exitCode, 0);
    const QStringList made = FolderEntries(destination_);
    EXPECT_EQ(made.size(), 300);
    for (const QString& name : made) {
        ASSERT_EQ(ReadFile(Item(name)), QByteArray(100, 'A')) << name.toStdString();
    }

    EmptyDestination();
    const CliResult full = Run(Numbers(2000) + QStringList{"--kind=folder"},
                               [] { ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO); });
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.error.contains("ログを書き込めません")) << full.error.toStdString();
    EXPECT_LT(FolderEntries(destination_).size(), 2000);  // it stopped soon

    EmptyDestination();

    // As with "zarame-cli ... | head -1": a reader that goes away is a stop, not a failure.
    int readerGone[2];
    ASSERT_EQ(::pipe(readerGone), 0);
    ::close(readerGone[0]);
    const CliResult gone = Run(Numbers(200000) + QStringList{"--kind=folder"},
                               [writeEnd = readerGone[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    ::close(readerGone[1]);
    EXPECT_EQ(gone.exitCode, 130);
    EXPECT_FALSE(Exists(TemplatePath()));

    // A reader that stops reading: the log waits, and a stop still ends the run.
    EmptyDestination();
    int stalled[2];
    ASSERT_EQ(::pipe(stalled), 0);
    ::fcntl(stalled[1], F_SETPIPE_SZ, 4096);  // full after a few dozen lines
    QProcess stalledRun;
    stalledRun.setChildProcessModifier(
        [writeEnd = stalled[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    Start(stalledRun, Numbers(200000) + QStringList{"--kind=folder", "--fixed-text=stalled"});
    ::close(stalled[1]);
    stalledRun.waitForFinished(500);
    stalledRun.terminate();
    const CliResult stopped = Finish(stalledRun);
    EXPECT_EQ(stopped.exitCode, 130);
    // Standard error says how many lines the reader never got: one per item and the stop line.
    QFile unread;
    ASSERT_TRUE(unread.open(stalled[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const qsizetype linesRead = unread.readAll().count('\n');
    const qsizetype linesMade = FolderEntries(destination_).size() + 1;
    EXPECT_TRUE(stopped.error.contains(QStringLiteral("ログの %1 行を").arg(linesMade - linesRead)))
        << stopped.error.toStdString() << linesMade << " " << linesRead;

    EmptyDestination();
    QProcess piped;
    Start(piped, Text("/dev/stdin"));
    piped.write("alpha\r\nベータ\nes\x1b[2Jc\tx\n");
    piped.closeWriteChannel();
    const CliResult names = Finish(piped);
    EXPECT_EQ(names.exitCode, 0);
    EXPECT_EQ(names.out, (QStringList{"alphaを作成しました", "ベータを作成しました",
                                      "es\u241B[2Jc\u2409xを作成しました"}));
    EXPECT_TRUE(Exists(Item("es\x1b[2Jc\tx")));  // the item keeps its bytes
}

// Ctrl+C and SIGTERM end a run cleanly whatever it is doing: making items, writing a large
// template, or waiting for a pipe whose writer never writes.
TEST_F(CliEndToEndTest, StopSignalsEndTheRunCleanly) {
    const auto templateHasContent = [this](qint64) { return QFileInfo(TemplatePath()).size() > 0; };
    // The template is in place and the walk sleeps in its wait for the pipe; a signal that came
    // while the template was still being written would end the run before the walk, unlogged.
    const auto waitingForNames = [this](qint64 pid) {
        QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!Exists(TemplatePath()) || !status.open(QIODevice::ReadOnly))
            return false;
        const QByteArray fields = status.readAll();
        return fields.mid(fields.lastIndexOf(')') + 2, 1) == "S";
    };
    const struct {
        QStringList arguments;
        std::function<bool(qint64)> ready;  // null: once the first log lines are out
        int signal;
    } cases[] = {
        {Numbers(200000) + QStringList{"--kind=folder", "--report=" + File("stopped.json")},
         {},
         SIGINT},
        {Numbers(1) + QStringList{"--size=1073741824"}, templateHasContent, SIGINT},
        {Text("/dev/stdin", "file") + QStringList{"--size=10"}, waitingForNames, SIGTERM},
    };
    for (const auto& c : cases) {
        EmptyDestination();
        QProcess process;
        Start(process, c.arguments);
        QElapsedTimer clock;
        clock.start();
        if (!c.ready) {
            ASSERT_TRUE(process.waitForReadyRead(kProcessTimeoutMilliseconds));
        }
        while (c.ready && !c.ready(process.processId()) &&
               clock.elapsed() < kProcessTimeoutMilliseconds) {
            process.waitForFinished(1);
        }
        // Pressed again and again until the program has ended: every press after the first must
        // be absorbed, not end the program half-way through its clean-up.
        while (process.state() == QProcess::Running &&
               clock.elapsed() < 2 * kProcessTimeoutMilliseconds) {
            ::kill(static_cast<pid_t>(process.processId()), c.signal);
            ::usleep(200);
            process.waitForFinished(0);
        }
        const CliResult result = Finish(process);
        EXPECT_EQ(result.exitCode, 130) << c.arguments.join(' ').toStdString();
        ASSERT_FALSE(result.out.isEmpty());
        EXPECT_EQ(result.out.back(), QStringLiteral("処理を中断しました"));
        // Every item made was reported, and nothing was reported that was not made.
        EXPECT_EQ(FolderEntries(destination_).size(), result.out.size() - 1);
        EXPECT_FALSE(Exists(TemplatePath()));
    }
    const QJsonObject report = QJsonDocument::fromJson(ReadFile(File("stopped.json"))).object();
    EXPECT_EQ(report["end"].toString(), "stopped");
    EXPECT_EQ(report["exitStatus"].toInt(), 130);
    EXPECT_GT(report["counts"]["made"].toInt(), 0);
}

TEST_F(CliEndToEndTest, SavedRunsTheWindowsStoredInputsAndNeverWritesThem) {
    const QString configuration = temporary_.filePath(QStringLiteral("config"));
    const QByteArray stored =
        "[KRB]\nType=2\nFixedText=saved\nNumberSize=0\nNumberMax=9\n"
        "FileCreateSpec=2\nFolder=" +
        destination_.toUtf8() + "\n";
    ASSERT_TRUE(QDir().mkpath(configuration));
    WriteFile(configuration + QStringLiteral("/Tobiuo.ini"), stored);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configuration);
    process.setProcessEnvironment(environment);
    Start(process, {QStringLiteral("--saved"), QStringLiteral("--max=2")});
    const CliResult result = Finish(process);
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    EXPECT_EQ(FolderEntries(destination_), (QStringList{"saved1", "saved2"}));
    EXPECT_EQ(ReadFile(configuration + QStringLiteral("/Tobiuo.ini")), stored);

    // A settings file that cannot be read refuses the run rather than run other inputs.
    const QByteArray damaged = "[KRB\nType=2\n";
    WriteFile(configuration + QStringLiteral("/Tobiuo.ini"), damaged);
    QProcess refused;
    refused.setProcessEnvironment(environment);
    Start(refused, {QStringLiteral("--saved"), QStringLiteral("--folder=") + destination_});
    const CliResult refusal = Finish(refused);
    EXPECT_EQ(refusal.exitCode, 2);
    EXPECT_TRUE(refusal.error.contains(u"保存された設定を読めません"))
        << refusal.error.toStdString();
    EXPECT_EQ(FolderEntries(destination_), (QStringList{"saved1", "saved2"}));
    EXPECT_EQ(ReadFile(configuration + QStringLiteral("/Tobiuo.ini")), damaged);
}

}  // namespace
}  // namespace zarame

namespace zarame {
namespace {

// A dry run tells every item's fate as the real run would meet it, the names it would make
// included, and writes nothing: no item, no folder, no template.
TEST_F(CliEndToEndTest, DryRunTellsEveryItemAndWritesNothing) {
    WriteFile(File("names.txt"), "a\nthere\nsub/b\n../up\na\n");
    WriteFile(Item("there"), "");
    const struct {
        QStringList options;
        QStringList out;
    } cases[] = {
        {{},
         {"aを作成します", "thereは既に存在しています",
          "[2][0]ファイルまたはフォルダが見つかりません: " + Item("sub/b"),
          "[22][0]作成先フォルダの外を指す名前は使えません: ../up", "aは既に存在しています"}},
        {{"--parents"},
         {"aを作成します", "thereは既に存在しています", "subを作成します", "sub/bを作成します",
          "[22][0]作成先フォルダの外を指す名前は使えません: ../up", "aは既に存在しています"}},
    };
    for (const auto& c : cases) {
        const CliResult result = Run(Text(File("names.txt"), "file") +
                                     QStringList{"--size=1G", "--dry-run"} + c.options);
        EXPECT_EQ(result.exitCode, 1);  // the real run would end on an error
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.error.contains("zarame-cli: 試行のみ (何も作成していません): 作成予定 "))
            << result.error.toStdString();
        EXPECT_EQ(FolderEntries(destination_), QStringList{"there"});
        EXPECT_FALSE(Exists(temporary_.filePath("data/zarame")));
    }
    WriteFile(File("good.txt"), "x\ny\n");
    EXPECT_EQ(Run(Text(File("good.txt")) + QStringList{"--dry-run"}).exitCode, 0);
    EXPECT_EQ(FolderEntries(destination_), QStringList{"there"});
}

// A name with "/" makes its missing folders inside the destination, each logged once; a name that
// climbs out stays refused.
TEST_F(CliEndToEndTest, ParentsAreMadeInsideTheDestinationOnly) {
    WriteFile(File("names.txt"), "開発部/第一課\n開発部/第二課\n2024/04/01\n../out2/x\n");
    const CliResult result = Run(Text(File("names.txt")) + QStringList{"--parents"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              (QStringList{"開発部を作成しました", "開発部/第一課を作成しました",
                           "開発部/第二課を作成しました", "2024を作成しました",
                           "2024/04を作成しました", "2024/04/01を作成しました",
                           "[22][0]作成先フォルダの外を指す名前は使えません: ../out2/x"}));
    EXPECT_TRUE(Exists(Item("2024/04/01")));
    EXPECT_FALSE(Exists(File("out2")));
}

// --quiet leaves standard output empty; the error and the summary still reach standard error.
TEST_F(CliEndToEndTest, QuietKeepsOnlyErrorsAndTheSummary) {
    WriteFile(File("names.txt"), "a\nmissing/b\n");
    const CliResult result = Run(Text(File("names.txt")) + QStringList{"--quiet"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.error.startsWith(
        "zarame-cli: [2][0]ファイルまたはフォルダが見つかりません: " + Item("missing/b") +
        "\nzarame-cli: 作成 1 件、既存 0 件、経過 "))
        << result.error.toStdString();
}

// The report of a completed and of a failed run; a report in the way that is not a regular file is
// left alone, and the run says it could not write the report.
TEST_F(CliEndToEndTest, ReportTellsHowTheRunEnded) {
    const QString reportPath = File("report.json");
    WriteFile(reportPath, "an older report");
    WriteFile(File("names.txt"), "a\nmissing/b\n");
    const struct {
        QStringList arguments;
        int exitCode;
        const char* end;
        qint64 made;
        qint64 bytes;
        QString firstError;
    } cases[] = {
        {Numbers(3) + QStringList{"--size=1.5K"}, 0, "completed", 3, 3 * 1536, {}},
        {Text(File("names.txt"), "file") + QStringList{"--size=10", "--fill=random:7"}, 1, "failed",
         1, 10, "[2][0]ファイルまたはフォルダが見つかりません: " + Item("missing/b")},
    };
    for (const auto& c : cases) {
        EmptyDestination();
        const CliResult result = Run(c.arguments + QStringList{"--report=" + reportPath});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.error.toStdString();
        const QJsonObject report = QJsonDocument::fromJson(ReadFile(reportPath)).object();
        EXPECT_EQ(report["end"].toString(), c.end);
        EXPECT_EQ(report["exitStatus"].toInt(), c.exitCode);
        EXPECT_EQ(report["counts"]["made"].toInteger(), c.made);
        EXPECT_EQ(report["bytesWritten"].toInteger(), c.bytes);
        EXPECT_EQ(report["firstError"].toString(), c.firstError);
        EXPECT_EQ(report["inputs"]["folder"].toString(), destination_);
    }
    const QJsonObject last = QJsonDocument::fromJson(ReadFile(reportPath)).object();
    EXPECT_EQ(last["inputs"]["fill"].toString(), "random:7");
    EXPECT_TRUE(last["firstError"].isString());
    EXPECT_FALSE(QFileInfo(reportPath).permissions() & QFile::ExeOwner);

    // A report that cannot go where it is asked to refuses the run before anything is made.
    EmptyDestination();
    const QString fifo = File("fifo");
    ASSERT_EQ(::mkfifo(EncodeBytes(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, File("missing/report.json")}) {
        const CliResult refused = Run(Numbers(1) + QStringList{"--report=" + path});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_TRUE(refused.error.startsWith("zarame-cli: ")) << refused.error.toStdString();
        EXPECT_TRUE(FolderEntries(destination_).isEmpty());
    }
}

}  // namespace
}  // namespace zarame
