#include "create/template_file.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <vector>

#include "run/progress_log.h"
#include "testing/test_support.h"

namespace zarame {
namespace {

using testing::Exists;
using testing::ReadFile;

// Remembers the size of every block written.
class RecordingFileService : public PosixFileService {
public:
    void WriteTemplate(const char* bytes, qsizetype count) override {
        blocks.push_back(count);
        PosixFileService::WriteTemplate(bytes, count);
    }
    std::vector<qsizetype> blocks;
};

class TemplateBuilder : public ::testing::Test {
protected:
    TemplateBuilder() {
        path = temporary.path() + "/KRB_tmp.tmp";
        model.select(OptionGroup::optType, 2);
        model.setText(TextBox::txtMin, "5");
        model.setText(TextBox::txtMax, "14");
        host.onPump = [this](int) { barAtPump.push_back(model.progress().value); };
    }
    TemplateOutcome Prepare(const QString& size, const QString& fill = "0x00") {
        model.setText(TextBox::txtFileByte, size);
        model.setText(TextBox::txtCode, fill);
        return PrepareTemplateFile(context, TemplateMode::Prepare);
    }

    QTemporaryDir temporary;
    QString path;
    WindowModel model;
    testing::TestHost host;
    RecordingFileService files;
    bool stopRequested = false;
    SourceExtent extent;
    RunContext context{model, host, files, stopRequested, 1000, temporary.path() + "/KRB_tmp.tmp",
                       extent};
    std::vector<float> barAtPump;
};

// Blocks of 32,000 bytes from one buffer; the bar counts them, then returns to the batch.
TEST_F(TemplateBuilder, WritesBlocksOf32000AndCountsThem) {
    const struct {
        const char* size;
        std::vector<qsizetype> blocks;
        std::vector<float> barAtPumps;
    } cases[] = {{"0", {}, {}},
                 {"1", {1}, {1}},
                 {"31999", {31999}, {1}},
                 {"32000", {32000}, {1}},
                 {"32001", {32000, 1}, {1, 2}},
                 {"64000", {32000, 32000}, {1, 2}},  // a maximum of 3 that the bar never reaches
                 {"70000", {32000, 32000, 6000}, {1, 2, 3}}};
    for (const auto& c : cases) {
        files.blocks.clear();
        barAtPump.clear();
        ASSERT_EQ(Prepare(c.size, "255"), TemplateOutcome::Ready);
        EXPECT_EQ(files.blocks, c.blocks) << c.size;
        EXPECT_EQ(barAtPump, c.barAtPumps) << c.size;
        EXPECT_EQ(model.progress().maximum, 10.0f);  // numbers 5 to 14
        EXPECT_EQ(model.progress().value, 0.0f);
        ASSERT_TRUE(Exists(path));
        EXPECT_EQ(ReadFile(path), QByteArray(QByteArray(c.size).toInt(), '\xFF'));
        PrepareTemplateFile(context, TemplateMode::Finish);
        EXPECT_FALSE(Exists(path));
    }
    Prepare("2", "0");
    EXPECT_EQ(ReadFile(path), QByteArray(2, '\0'));
    EXPECT_EQ(model.caption(Label::lblNow), QString::fromUtf16(kStatusWritingTemplate));
}

TEST_F(TemplateBuilder, StopBetweenBlocksLeavesThePartialFileForTheFinish) {
    host.onPump = [this](int pump) { stopRequested = pump == 1; };
    EXPECT_EQ(Prepare("100000"), TemplateOutcome::Stopped);
    EXPECT_EQ(files.blocks.size(), 1u);
    EXPECT_EQ(model.logLines(), QStringList{QString::fromUtf16(kStoppedLine)});
    EXPECT_EQ(model.caption(Label::lblNow), QString::fromUtf16(kStatusStopped));
    EXPECT_EQ(QFileInfo(path).size(), 32000);
    PrepareTemplateFile(context, TemplateMode::Finish);
    EXPECT_FALSE(Exists(path));
}

TEST_F(TemplateBuilder, StopDuringTheLastBlockIsNotReportedByTheBuild) {
    host.onPump = [this](int) { stopRequested = true; };
    EXPECT_EQ(Prepare("100"), TemplateOutcome::Ready);
    EXPECT_TRUE(model.logLines().isEmpty());
    EXPECT_TRUE(stopRequested);
}

TEST_F(TemplateBuilder, FailureIsLoggedWithItsSiteTagAndStopsTheRun) {
    testing::FaultyFileService faulty(testing::FaultyFileService::Operation::WriteTemplate, ENOSPC,
                                      1);
    RunContext failing{model, host, faulty, stopRequested, 1000, path, extent};
    model.setText(TextBox::txtFileByte, "100000");
    EXPECT_EQ(PrepareTemplateFile(failing, TemplateMode::Prepare), TemplateOutcome::Failed);
    EXPECT_TRUE(stopRequested);
    ASSERT_EQ(model.logLines().size(), 1);
    EXPECT_TRUE(model.logLines().front().startsWith("[28][1]"))
        << model.logLines().front().toStdString();
    EXPECT_EQ(model.progress().maximum, 10.0f);
    PrepareTemplateFile(failing, TemplateMode::Finish);
    EXPECT_FALSE(Exists(path));
}

TEST_F(TemplateBuilder, OtherKindsOnlyPrepareTheBar) {
    testing::WriteFile(path, "someone's");
    model.select(OptionGroup::optSpec, 1);
    model.select(OptionGroup::optType, 1);
    model.setProgressValue(7);
    EXPECT_EQ(Prepare("100"), TemplateOutcome::Ready);
    PrepareTemplateFile(context, TemplateMode::Finish);
    EXPECT_EQ(ReadFile(path), "someone's");
    EXPECT_EQ(model.progress().maximum, 100.0f);
    EXPECT_EQ(model.progress().value, 0.0f);
}

TEST(BatchMaximum, CountsTheWholeNonNegativeRange) {
    WindowModel model;
    model.select(OptionGroup::optType, 2);
    model.setText(TextBox::txtMin, "0");
    model.setText(TextBox::txtMax, "2147483647");
    EXPECT_EQ(BatchMaximum(model), 2147483648.0);
    model.setText(TextBox::txtMin, "abc");
    EXPECT_FALSE(BatchMaximum(model).has_value());
    model.select(OptionGroup::optType, 0);
    EXPECT_EQ(BatchMaximum(model), 100.0);
}

}  // namespace
}  // namespace zarame
