#include "run/template_builder.h"

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
        request.names.source = NameSource::SequentialNumbers;
        request.names.numbers.first = 5;
        request.names.numbers.last = 14;
        host.onPump = [this](int) { barAtPump.push_back(model.progress().value); };
    }
    TemplateOutcome Prepare(std::int64_t size, std::uint8_t fill = 0) {
        request.items.fileSize = size;
        request.items.fillByte = fill;
        return PrepareTemplateFile(context, request);
    }
    void Finish(RunContext& run) { FinishTemplateFile(run, request.items.kind); }

    QTemporaryDir temporary;
    QString path;
    BatchRequest request;
    WindowModel model;
    WindowLog log{model};
    testing::TestHost host;
    RecordingFileService files;
    bool stopRequested = false;
    RunContext context{host, log, files, stopRequested, temporary.path() + "/KRB_tmp.tmp"};
    std::vector<float> barAtPump;
};

// Blocks of 32,000 bytes from one buffer; the window's bar counts them.
TEST_F(TemplateBuilder, WritesBlocksOf32000AndCountsThem) {
    const struct {
        std::int32_t size;
        std::vector<qsizetype> blocks;
        std::vector<float> barAtPumps;
    } cases[] = {{0, {}, {}},
                 {1, {1}, {1}},
                 {31999, {31999}, {1}},
                 {32000, {32000}, {1}},
                 {32001, {32000, 1}, {1, 2}},
                 {64000, {32000, 32000}, {1, 2}},  // a maximum of 3 that the bar never reaches
                 {70000, {32000, 32000, 6000}, {1, 2, 3}}};
    for (const auto& c : cases) {
        files.blocks.clear();
        barAtPump.clear();
        ASSERT_EQ(Prepare(c.size, 255), TemplateOutcome::Ready);
        EXPECT_EQ(files.blocks, c.blocks) << c.size;
        EXPECT_EQ(barAtPump, c.barAtPumps) << c.size;
        // Numbers 5 to 14 for an empty template, else the blocks and one more.
        EXPECT_EQ(model.progress().maximum, c.size == 0 ? 10.0f : c.size / 32000 + 1.0f);
        ASSERT_TRUE(Exists(path));
        EXPECT_EQ(ReadFile(path), QByteArray(c.size, '\xFF'));
        Finish(context);
        EXPECT_FALSE(Exists(path));
    }
    Prepare(2, 0);
    EXPECT_EQ(ReadFile(path), QByteArray(2, '\0'));
    EXPECT_EQ(model.caption(Label::lblNow), QString::fromUtf16(kStatusWritingTemplate));
}

TEST_F(TemplateBuilder, StopBetweenBlocksLeavesThePartialFileForTheFinish) {
    host.onPump = [this](int pump) { stopRequested = pump == 1; };
    EXPECT_EQ(Prepare(100000), TemplateOutcome::Stopped);
    EXPECT_EQ(files.blocks.size(), 1u);
    EXPECT_EQ(model.logLines(), QStringList{QString::fromUtf16(kStoppedLine)});
    EXPECT_EQ(model.caption(Label::lblNow), QString::fromUtf16(kStatusStopped));
    EXPECT_EQ(QFileInfo(path).size(), 32000);
    Finish(context);
    EXPECT_FALSE(Exists(path));
}

TEST_F(TemplateBuilder, StopDuringTheLastBlockIsNotReportedByTheBuild) {
    host.onPump = [this](int) { stopRequested = true; };
    EXPECT_EQ(Prepare(100), TemplateOutcome::Ready);
    EXPECT_TRUE(model.logLines().isEmpty());
    EXPECT_TRUE(stopRequested);
}

TEST_F(TemplateBuilder, FailureIsLoggedWithItsSiteTagAndStopsTheRun) {
    testing::FaultyFileService faulty(testing::FaultyFileService::Operation::WriteTemplate, ENOSPC,
                                      1);
    RunContext failing{host, log, faulty, stopRequested, path};
    request.items.fileSize = 100000;
    EXPECT_EQ(PrepareTemplateFile(failing, request), TemplateOutcome::Failed);
    EXPECT_TRUE(stopRequested);
    ASSERT_EQ(model.logLines().size(), 1);
    EXPECT_TRUE(model.logLines().front().startsWith("[28][1]"))
        << model.logLines().front().toStdString();
    Finish(failing);
    EXPECT_FALSE(Exists(path));
}

TEST_F(TemplateBuilder, OtherKindsHaveNoTemplatePhase) {
    testing::WriteFile(path, "someone's");
    request.items.kind = ItemKind::Duplicate;
    EXPECT_EQ(Prepare(100), TemplateOutcome::Ready);
    Finish(context);
    EXPECT_EQ(ReadFile(path), "someone's");
    EXPECT_TRUE(model.caption(Label::lblNow).isEmpty());
}

// Counts what would be written, without writing it.
class CountingFileService : public PosixFileService {
public:
    void CreateTemplate(const QString&) override { ++templates; }
    void WriteTemplate(const char*, qsizetype count) override {
        ++blocks;
        bytes += count;
    }
    int templates = 0;
    std::int64_t blocks = 0;
    std::int64_t bytes = 0;
};

// Past 2^31 bytes the size, the block count and the bar stay exact.
TEST_F(TemplateBuilder, SizesPastThirtyTwoBitsAreWrittenInBlocks) {
    CountingFileService counting;
    RunContext large{host, log, counting, stopRequested, path};
    request.items.fileSize = (std::int64_t{1} << 31) + 1;
    float lastBar = 0;
    host.onPump = [&](int) { lastBar = model.progress().value; };
    EXPECT_EQ(PrepareTemplateFile(large, request), TemplateOutcome::Ready);
    EXPECT_EQ(counting.bytes, request.items.fileSize);
    EXPECT_EQ(counting.blocks, 67109);  // 67,108 of 32,000 and one of 27,649
    EXPECT_EQ(lastBar, 67109.0f);       // the build's maximum, ⌊N / 32000⌋ + 1
}

// Random files are each written for themselves: no template phase.
TEST_F(TemplateBuilder, RandomContentNeedsNoTemplate) {
    CountingFileService counting;
    RunContext random{host, log, counting, stopRequested, path};
    request.items.fileSize = 100000;
    request.items.content = FileContent::Random;
    EXPECT_EQ(PrepareTemplateFile(random, request), TemplateOutcome::Ready);
    EXPECT_EQ(counting.templates, 0);
    EXPECT_TRUE(model.caption(Label::lblNow).isEmpty());
}

// The finish of a refused run reads the typed numbers as they stand.
TEST(BatchMaximum, CountsTheWholeRangeAsTyped) {
    const NameSource numbers = NameSource::SequentialNumbers;
    EXPECT_EQ(BatchMaximum(numbers, u"0", u"2147483647"), 2147483648.0);
    EXPECT_EQ(BatchMaximum(numbers, u"10", u"9"), 0.0);
    EXPECT_FALSE(BatchMaximum(numbers, u"abc", u"9").has_value());
    EXPECT_EQ(BatchMaximum(NameSource::ExcelColumn, u"abc", u"9"), 100.0);
    NameRequest names;
    names.source = numbers;
    names.numbers.last = 2147483647;
    EXPECT_EQ(BatchMaximum(names), 2147483648.0);
}

}  // namespace
}  // namespace zarame
