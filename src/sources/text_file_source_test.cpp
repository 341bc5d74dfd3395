#include "sources/text_file_source.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QStringList>
#include <cerrno>

#include "create/template_file.h"
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

class TextFileSourceTest : public ::testing::Test {
protected:
    TextFileSourceTest() : namesPath_(fixture_.temporary.filePath(QStringLiteral("names.txt"))) {
        fixture_.model.select(OptionGroup::optType, 1);
        fixture_.model.select(OptionGroup::optSpec, 2);
        fixture_.model.setText(TextBox::txtText, namesPath_);
    }

    TextWalkResult Walk(const QByteArray& names) {
        WriteFile(namesPath_, names);
        RunContext context = fixture_.Context();
        return CreateFromTextFile(context);
    }

    QString Item(const QString& name) const { return fixture_.destination + u'/' + name; }
    QStringList Items() const { return FolderEntries(fixture_.destination); }
    const QStringList& Log() const { return fixture_.model.logLines(); }

    ContextFixture fixture_;
    QString namesPath_;
};

TEST_F(TextFileSourceTest, CreatesOneItemPerLineUpToTheFirstEmptyLine) {
    EXPECT_EQ(Walk("\r\nname\r\n").end, WalkEnd::Finished);
    EXPECT_TRUE(Items().isEmpty());
    // Blanks belong to the name, and a line of blanks is a name, not the end of the list.
    EXPECT_EQ(Walk("a\n x \n   \n\nc\n").end, WalkEnd::Finished);
    EXPECT_EQ(Items(), (QStringList{"   ", " x ", "a"}));
    EXPECT_EQ(Log(), (QStringList{Created("a"), Created(" x "), Created("   ")}));
    EXPECT_EQ(fixture_.host.pumps, 3);
}

TEST_F(TextFileSourceTest, NamesAreUsedAsTheyStandUnlessTheyClimbOutOfTheFolder) {
    QDir().mkpath(Item("sub"));
    // Created: the item and the next line's. Refused: an error line naming it, nothing more.
    // Failed: the walk ends quietly, without a line.
    enum Outcome { Created, Refused, Failed };
    const struct {
        QByteArray line;
        Outcome outcome;
    } cases[] = {
        {"sub/a", Created},         {"...", Created},
        {"a..b", Created},          {"..", Refused},
        {"../outside/up", Refused}, {"sub/../../up", Refused},
        {"sub/..", Refused},        {QByteArray("up\0x", 4), Refused},
        {"missing/b", Failed},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.line);
        fixture_.model.clearLog();
        const TextWalkResult result = Walk(c.line + "\nnext\n");
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(result.end, c.outcome == Created ? WalkEnd::Finished : WalkEnd::FailedQuietly);
        EXPECT_TRUE(c.outcome != Created || Exists(Item(name)));
        EXPECT_EQ(Exists(Item("next")), c.outcome == Created);
        EXPECT_EQ(Log().size(), c.outcome == Created ? 2 : c.outcome == Refused ? 1 : 0);
        if (c.outcome == Refused && !Log().isEmpty()) {
            EXPECT_TRUE(Log()[0].startsWith(QStringLiteral("[22][0]")) && Log()[0].endsWith(name));
        }
        QDir(Item("next")).removeRecursively();
    }
    EXPECT_FALSE(Exists(fixture_.temporary.filePath("up")));
    EXPECT_FALSE(Exists(Item("up")));
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

TEST_F(TextFileSourceTest, ProgressBarCountsLinesAndWrapsAfterOneHundred) {
    // The bar as a run sets it up (0 to 100 for a text file), then the value after n lines.
    const auto valueAfter = [this](int lines) {
        RunContext context = fixture_.Context();
        PrepareTemplateFile(context, TemplateMode::Prepare);
        QByteArray names;
        for (int line = 1; line <= lines; ++line) {
            names += QByteArray::number(line) + "\n";
        }
        Walk(names);
        return fixture_.model.progress().value;
    };
    EXPECT_EQ(valueAfter(150), 49);  // 100 at the 100th line, 0 at the 101st
}

}  // namespace
}  // namespace zarame
