#include "run/run_sequence.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>

#include "run/progress_log.h"
#include "testing/legacy_book.h"
#include "testing/test_support.h"
#include "testing/zip_writer.h"
#include "window/input_groups.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::FolderEntries;
using testing::ReadFile;

class WholeRun : public testing::RunFixture, public ::testing::Test {
protected:
    WholeRun() {
        SetNumbers(1, 3);
        model.setText(TextBox::txtFileByte, "1000");
        model.setText(TextBox::txtCode, "0x41");
        UpdateInputGroups(model);
        before = EnabledStates();
    }
    // After every kind of ending the window is as it was before, with no template left.
    void ExpectCleanEnd() {
        EXPECT_EQ(EnabledStates(), before);
        EXPECT_FALSE(Exists(templatePath));
        EXPECT_TRUE(model.caption(Label::lblNow).isEmpty());
        EXPECT_EQ(model.progress().value, 0.0f);
    }

    std::vector<bool> before;
};

TEST_F(WholeRun, TypicalSequentialBatchOfNewFiles) {
    std::vector<bool> lockedAtFirstPump;
    QString statusAtFirstPump;
    host.onPump = [&](int pump) {
        if (pump == 1) {
            lockedAtFirstPump = EnabledStates();
            statusAtFirstPump = model.caption(Label::lblNow);
        }
    };
    EXPECT_EQ(Start(), RunOutcome::Completed);
    EXPECT_EQ(FolderEntries(destination),
              QStringList({"file001.dat", "file002.dat", "file003.dat"}));
    EXPECT_EQ(ReadFile(destination + "/file002.dat"), QByteArray(1000, 'A'));
    EXPECT_EQ(model.logLines().back(), destination + "/file003.datを作成しました");
    EXPECT_EQ(model.progress().maximum, 3.0f);
    EXPECT_EQ(statusAtFirstPump, QString::fromUtf16(kStatusWritingTemplate));
    EXPECT_FALSE(lockedAtFirstPump[static_cast<int>(Control::cmdCreate)]);
    EXPECT_FALSE(lockedAtFirstPump[static_cast<int>(Control::fra2)]);
    EXPECT_FALSE(lockedAtFirstPump[static_cast<int>(Control::cmdEnd)]);
    EXPECT_TRUE(lockedAtFirstPump[static_cast<int>(Control::cmdStop)]);
    EXPECT_TRUE(lockedAtFirstPump[static_cast<int>(Control::Command1)]);
    ExpectCleanEnd();

    // A second run skips what the first made.
    EXPECT_EQ(Start(), RunOutcome::Completed);
    EXPECT_EQ(model.logLines().size(), 3);
    EXPECT_EQ(model.logLines().front(), destination + "/file001.datは既に存在しています");
}

TEST_F(WholeRun, RefusalsEndThroughTheFinishingSteps) {
    model.appendLogLine("old");
    model.setText(TextBox::txtFolder, "");
    testing::WriteFile(templatePath, "leftover");
    EXPECT_EQ(Start(), RunOutcome::Refused);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(model.logLines(), QStringList{"old"});
    EXPECT_FALSE(Exists(templatePath));  // a leftover goes even on a refused run
    ExpectCleanEnd();

    EXPECT_TRUE(host.focus.empty());

    model.setText(TextBox::txtFolder, destination);
    model.setText(TextBox::txtMax, "abc");
    EXPECT_EQ(Start(), RunOutcome::Refused);
    EXPECT_TRUE(model.logLines().isEmpty());  // no template error line from the finish either
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "連番設定が正しくありません");
    EXPECT_EQ(host.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(host.focus, std::vector<TextBox>{TextBox::txtFix});
    ExpectCleanEnd();
}

TEST_F(WholeRun, StopDuringTheTemplateCreatesNothing) {
    model.setText(TextBox::txtFileByte, "100000");
    host.onPump = [this](int) { run.cmdStop_Click(); };
    EXPECT_EQ(Start(), RunOutcome::Stopped);
    EXPECT_TRUE(FolderEntries(destination).isEmpty());
    EXPECT_EQ(model.logLines(), QStringList{QString::fromUtf16(kStoppedLine)});
    ExpectCleanEnd();
}

TEST_F(WholeRun, StopDuringItemsThenStartAgain) {
    SetNumbers(1, 10);
    host.onPump = [this](int pump) {
        if (pump == 3) {
            run.cmdStop_Click();
        }
    };
    EXPECT_EQ(Start(), RunOutcome::Stopped);
    EXPECT_EQ(model.logLines().back(), QString::fromUtf16(kStoppedLine));
    EXPECT_EQ(FolderEntries(destination).size(), 2);  // one template block, then two items
    ExpectCleanEnd();

    host.onPump = nullptr;
    EXPECT_EQ(Start(), RunOutcome::Completed);
    EXPECT_EQ(FolderEntries(destination).size(), 10);
}

// An error is one log line with its site tag, never a message; items made before it stay.
TEST_F(WholeRun, ErrorsEndTheRunWithOneLogLine) {
    using Operation = testing::FaultyFileService::Operation;
    const struct {
        QString fileBytes;
        Operation failing;
        int error;
        int succeeding;  // calls of the failing operation that succeed first
        QString line;
        int itemsLeft;
    } cases[] = {
        {"1e10", Operation::CopyFile, 0, 0, "[6][0]オーバーフローしました", 0},  // in validation
        {"0", Operation::CreateTemplate, EACCES, 0, "[13][1]アクセスが拒否されました", 0},
        {"0", Operation::CopyFile, ENOSPC, 1, "[28][0]ディスクの空き容量が不足しています", 1},
    };
    for (const auto& c : cases) {
        model.setText(TextBox::txtFileByte, c.fileBytes);
        model.setText(TextBox::txtFolder, destination + "/" + c.line.left(4));
        QDir().mkpath(model.text(TextBox::txtFolder));
        RunSequence faulty(model, host, log, templatePath, [&c] {
            return std::make_unique<testing::FaultyFileService>(c.failing, c.error, c.succeeding);
        });
        EXPECT_EQ(faulty.cmdCreate_Click(), RunOutcome::Failed);
        EXPECT_TRUE(model.logLines().back().startsWith(c.line))
            << model.logLines().back().toStdString();
        EXPECT_EQ(FolderEntries(model.text(TextBox::txtFolder)).size(), c.itemsLeft);
        EXPECT_TRUE(host.messages.empty());
        ExpectCleanEnd();
    }
}

TEST_F(WholeRun, WorkbookThatCannotBeOpenedShowsTheConnectionMessage) {
    model.select(OptionGroup::optType, 0);
    model.select(OptionGroup::optSpec, 2);
    const QString workbook = temporary.path() + "/book.xls";
    testing::WriteFile(workbook, "not a workbook");
    model.setText(TextBox::txtExcel, workbook);
    UpdateInputGroups(model);
    before = EnabledStates();
    EXPECT_EQ(Start(), RunOutcome::WorkbookUnavailable);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages.front().text,
        "Microsoft Excelがインストールされていません。\nブックの形式ではありません: " + workbook);
    EXPECT_EQ(host.messages.front().icon, MessageIcon::Error);
    ASSERT_TRUE(record.ends.back().workbookFailure.has_value());
    EXPECT_EQ(record.ends.back().workbookFailure->number(), 1004);
    EXPECT_TRUE(model.logLines().isEmpty());
    ExpectCleanEnd();
}

// Whether this process still holds the file open.
bool HeldOpen(const QString& path) {
    const QByteArray target = QFileInfo(path).canonicalFilePath().toLocal8Bit();
    for (int fd = 0; fd < 1024; ++fd) {
        char link[4096];
        const ssize_t size =
            ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)), link, sizeof link);
        if (size > 0 && QByteArray(link, size) == target) {
            return true;
        }
    }
    return false;
}

TEST_F(WholeRun, WorkbookColumnRunHoldsTheBookOnlyDuringTheRun) {
    model.select(OptionGroup::optType, 0);
    model.select(OptionGroup::optSpec, 2);
    model.setText(TextBox::txtStartCell, "B1");
    model.setText(TextBox::txtBlank, "2");
    const QString workbook = QStringLiteral(ZARAME_WORKBOOK_TESTDATA "/openpyxl.xlsx");
    model.setText(TextBox::txtExcel, workbook);
    UpdateInputGroups(model);
    before = EnabledStates();
    bool heldDuringWalk = false;
    host.onPump = [&](int pump) {
        heldDuringWalk = heldDuringWalk || (pump == 1 && HeldOpen(workbook));
    };
    // The fourth cell shows #N/A: a name the file system takes as a path into a missing folder.
    EXPECT_EQ(Start(), RunOutcome::Failed);
    EXPECT_TRUE(heldDuringWalk);
    EXPECT_FALSE(HeldOpen(workbook));
    EXPECT_EQ(FolderEntries(destination).size(), 3);
    EXPECT_EQ(model.logLines().size(), 4);
    EXPECT_TRUE(model.logLines().back().startsWith("[2][0]"));
    EXPECT_TRUE(host.messages.empty());
    ExpectCleanEnd();

    model.setText(TextBox::txtExcel, QStringLiteral(ZARAME_WORKBOOK_TESTDATA "/write_only.xlsx"));
    host.onPump = [this](int) { run.cmdStop_Click(); };
    EXPECT_EQ(Start(), RunOutcome::Stopped);
    EXPECT_EQ(model.logLines().back(), QString::fromUtf16(kStoppedLine));
    EXPECT_FALSE(HeldOpen(workbook));
    ExpectCleanEnd();
}

class WorkbookRun : public WholeRun {
protected:
    // A folder per name of column A of a one-sheet book; the walk ends at the first blank.
    void UseBook(const testing::ZipParts& parts,
                 testing::ZipCompression compression = testing::ZipCompression::Deflate) {
        book = temporary.filePath("book.xlsx");
        ASSERT_TRUE(testing::WriteZip(book, parts, compression));
        UseBookFile(book, "A1");
    }
    void UseBookFile(const QString& path, const QString& startCell) {
        model.select(OptionGroup::optType, 0);
        model.select(OptionGroup::optSpec, 2);
        model.setText(TextBox::txtStartCell, startCell);
        model.setText(TextBox::txtBlank, "1");
        model.setText(TextBox::txtExcel, path);
        UpdateInputGroups(model);
        before = EnabledStates();
    }
    // The run's first pump comes from inside the reader: a stop there ends the run before any
    // cell is read or any item made.
    void ExpectStoppedWhileReading() {
        host.onPump = [this](int) { run.cmdStop_Click(); };
        EXPECT_EQ(Start(), RunOutcome::Stopped);
        EXPECT_EQ(model.logLines(), QStringList{QString::fromUtf16(kStoppedLine)});
        EXPECT_TRUE(FolderEntries(destination).isEmpty());
        ExpectCleanEnd();
    }
    QString book;
};

TEST_F(WorkbookRun, StopIsHeardWhileALongSharedStringTableIsRead) {
    // Far more strings than a twentieth of a second reads; the first cell names the first.
    UseBook(testing::OneSheetXlsx("<row><c t=\"s\"><v>0</v></c></row>",
                                  "<si><t>name</t></si>" + QByteArray("<si/>").repeated(3000000)));
    ExpectStoppedWhileReading();
}

// A shared-string table of 400,000 strings takes far longer to read than the readers go
// without asking for a stop; the run's first pump comes from inside the reader, before any cell.
TEST_F(WorkbookRun, StopIsHeardWhileALegacyBookIsRead) {
    namespace book = workbook::test_books;
    QByteArray strings("\x80\x1a\x06\x00\x80\x1a\x06\x00", 8);
    for (int index = 0; index < 400000; ++index) {
        strings += book::Latin1String("n");
    }
    QByteArray table = book::Record(0x00FC, strings.left(8224));
    for (qsizetype at = 8224; at < strings.size(); at += 8220) {
        table += book::Record(0x003C, strings.mid(at, 8220));  // every piece starts on a string
    }
    const QString workbook = temporary.path() + "/long.xls";
    testing::WriteFile(
        workbook,
        book::CompoundFileOf(
            {{"Workbook", book::BookStream(0x0600, table,
                                           {book::Record(0x00FD, book::CellHeader(0, 1) +
                                                                     QByteArray(4, '\0'))})}}));
    UseBookFile(workbook, "B1");
    ExpectStoppedWhileReading();
}

TEST_F(WorkbookRun, DamageBehindTheLastCellReadFailsTheRunAfterItsItems) {
    // Stored, so that a changed byte still reads; only the part's checksum tells.
    testing::ZipParts parts = testing::OneSheetXlsx(
        "<row><c t=\"inlineStr\"><is><t>one</t></is></c></row><row/>"
        "<row><c t=\"inlineStr\"><is><t>behind</t></is></c></row>");
    UseBook(parts, testing::ZipCompression::Store);
    QByteArray file = ReadFile(book);
    file[file.indexOf("behind")] = 'X';
    testing::WriteFile(book, file);
    EXPECT_EQ(Start(), RunOutcome::Failed);
    EXPECT_EQ(FolderEntries(destination), QStringList{"one"});
    EXPECT_TRUE(model.logLines().back().contains("ブックが壊れています"))
        << model.logLines().back().toStdString();
    ExpectCleanEnd();
}

// A text walk that ends on a failure, of an item or of the list itself (every cause of the latter
// is pinned with the stream), leaves its error line; an empty line is a normal end.
TEST_F(WholeRun, TextWalkEndsWithItsLogLine) {
    model.select(OptionGroup::optType, 1);
    model.select(OptionGroup::optSpec, 2);
    UpdateInputGroups(model);
    before = EnabledStates();
    const QString list = temporary.filePath("names.txt");
    model.setText(TextBox::txtText, list);
    const struct {
        QByteArray names;
        RunOutcome outcome;
        QString lastLine;
    } cases[] = {
        {"a\n\nb\n", RunOutcome::Completed, "aを作成しました"},
        {"a\nmissing/b\nc\n", RunOutcome::Failed,
         "[2][0]ファイルまたはフォルダが見つかりません: " + destination + "/missing/b"},
        {"a\n\x82\xA0\x80\n", RunOutcome::Failed,
         "[84][0]2 行目を Shift_JIS として読めません: " + list},
    };
    for (const auto& c : cases) {
        QDir(destination).removeRecursively();
        QDir().mkpath(destination);
        testing::WriteFile(list, c.names);
        EXPECT_EQ(Start(), c.outcome);
        EXPECT_EQ(model.logLines(), (QStringList{"aを作成しました", c.lastLine})
                                        .mid(c.outcome == RunOutcome::Completed ? 1 : 0))
            << c.names.left(16).toHex().constData();
        EXPECT_EQ(record.ends.back().emptyLineBeforeMore,
                  c.outcome == RunOutcome::Completed ? 2 : 0);
        EXPECT_TRUE(host.messages.empty());
        ExpectCleanEnd();
    }
}

TEST_F(WholeRun, StopButtonIsHeardWhileTheTextWalkWaitsForAPipe) {
    model.select(OptionGroup::optType, 1);
    UpdateInputGroups(model);
    before = EnabledStates();
    int silent[2];  // a writer that never writes
    ASSERT_EQ(::pipe(silent), 0);
    model.setText(TextBox::txtText, "/proc/self/fd/" + QString::number(silent[0]));
    host.onPump = [this](int pump) {
        if (pump == 5) {
            run.cmdStop_Click();
        }
    };
    EXPECT_EQ(Start(), RunOutcome::Stopped);
    EXPECT_EQ(model.logLines(), QStringList{QString::fromUtf16(kStoppedLine)});
    ::close(silent[0]);
    ::close(silent[1]);
    ExpectCleanEnd();
}

}  // namespace
}  // namespace zarame
