#include "run/progress_log.h"

#include <gtest/gtest.h>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "window/window_model.h"

namespace zarame {
namespace {

// Error lines stand for any line: the log keeps the latest up to its cap.
void AddLines(WindowLog& log, int count) {
    for (int line = 1; line <= count; ++line) {
        log.ErrorRaised(RunTimeError(line, QString()), SiteTag::RunSequence);
    }
}

TEST(WindowLog, KeepsTheLatestLinesUpToTheCapAndScrollsToTheEnd) {
    WindowModel model;
    WindowLog log(model);
    AddLines(log, 1001);
    ASSERT_EQ(model.logLines().size(), 1000);
    EXPECT_EQ(model.logLines().front(), "[2][0]");
    EXPECT_EQ(model.logLines().back(), "[1001][0]");
    EXPECT_EQ(model.logTopIndex(), 999);
}

TEST(WindowLog, CapsOutsideTheListRangeAreHeldToIt) {
    WindowModel model;
    WindowLog log(model);
    log.setLogMax(-5);
    AddLines(log, 2);
    EXPECT_EQ(model.logLines(), QStringList{"[2][0]"});
    EXPECT_EQ(model.logTopIndex(), 0);
    log.setLogMax(100000);
    AddLines(log, 32800);
    EXPECT_EQ(model.logLines().size(), 32767);
}

TEST(LogLines, Formats) {
    EXPECT_EQ(OutcomeLine("/d/a", ItemResult::Made), QStringLiteral("/d/aを作成しました"));
    EXPECT_EQ(OutcomeLine(" x ", ItemResult::AlreadyThere),
              QStringLiteral(" x は既に存在しています"));
    EXPECT_EQ(ErrorLine(RunTimeError(53, "D"), SiteTag::TemplateBuilder), "[53][1]D");
    EXPECT_EQ(ErrorLine(RunTimeError(-2147, ""), SiteTag::RunSequence), "[-2147][0]");
}

// One outcome is one line: a byte that is not text shows as U+FFFD (a line never holds a lone
// surrogate) and a control character as its visible symbol.
TEST(WindowLog, ShowsEveryNameOnOneVisibleLine) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("a\xff", 2), QStringLiteral("a\uFFFD")},
        {QByteArray("a\nb\rc", 5), QStringLiteral("a\u240Ab\u240Dc")},
        {QByteArray("\0x", 2), QStringLiteral("\u2400x")},
        {QByteArray("\t\x1b[31m\x1f\x7f"), QStringLiteral("\u2409\u241B[31m\u241F\u2421")},
        {QByteArray(" ~\xc2\x85\xf0\x9f\x98\x80"), QStringLiteral(" ~\u0085😀")},
    };
    for (const auto& [name, shown] : cases) {
        WindowModel model;
        WindowLog log(model);
        const QString subject = DecodeBytes(name);
        log.ItemFinished({subject, ItemResult::Made});
        EXPECT_EQ(model.logLines(), QStringList{shown + QStringLiteral("を作成しました")})
            << name.toHex().constData();
    }
}

TEST(WindowLog, BarStepsUpThenWrapsToTheMinimum) {
    WindowModel model;
    WindowLog log(model);
    log.PhaseStarted({RunPhase::Creating, 100.0});  // as for the text and spreadsheet sources
    for (int item = 1; item <= 150; ++item) {
        log.StepTaken({});
    }
    EXPECT_EQ(model.progress().value, 49.0f);  // 100 at the 100th item, 0 at the 101st
    EXPECT_EQ(model.caption(Label::lblNow), QString::fromUtf16(kStatusCreating));
    log.PhaseStarted({RunPhase::Finishing, std::nullopt});
    EXPECT_EQ(model.progress().value, 0.0f);
    EXPECT_EQ(model.progress().maximum, 100.0f);  // numbers that cannot be read keep the bar
    EXPECT_TRUE(model.caption(Label::lblNow).isEmpty());
}

}  // namespace
}  // namespace zarame
