#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>

#include "run/run_observer.h"

namespace zarame {

class RunTimeError;
class WindowModel;

inline constexpr std::int32_t kDefaultLogMax = 1000;

// Log texts and status captions.
inline constexpr char16_t kCreatedSuffix[] = u"を作成しました";
inline constexpr char16_t kExistsSuffix[] = u"は既に存在しています";
inline constexpr char16_t kStoppedLine[] = u"処理を中断しました";
inline constexpr char16_t kStatusWritingTemplate[] = u"一時ファイル作成中";
inline constexpr char16_t kStatusCreating[] = u"連続作成中";
inline constexpr char16_t kStatusStopped[] = u"処理を中断";

// The outcome line of one item: subject + "を作成しました" or + "は既に存在しています".
QString OutcomeLine(const QString& subject, ItemResult result);

// "[" number "][" tag "]" description.
QString ErrorLine(const RunTimeError& error, SiteTag site);

// The window's side of a run: the log, capped at logMax lines, the status label and the bar.
class WindowLog final : public RunObserver {
public:
    explicit WindowLog(WindowModel& model) : model_(model) {}

    std::int32_t logMax() const { return logMax_; }
    // The list counts its lines in 16 bits and needs one line to scroll to, so a cap outside
    // 1..32767 is held to that range.
    void setLogMax(std::int32_t logMax) { logMax_ = std::clamp<std::int32_t>(logMax, 1, 32767); }

    void RunAccepted() override;
    void PhaseStarted(const PhaseStart& start) override;
    void TemplateBlockWritten(std::int64_t blocksWritten, std::int64_t blockCount) override;
    void ItemFinished(const ItemOutcome& outcome) override;
    void StepTaken(const SourceExtent& extent) override;
    void StopHonoured() override;
    void ErrorRaised(const RunTimeError& error, SiteTag site) override;
    void RunEnded(const RunEnd&) override {}

private:
    // Appends a line (escaped bytes shown as U+FFFD), drops the oldest once there are more than
    // the cap, and scrolls to the end.
    void Add(const QString& line);
    void ResetBar(std::optional<double> batchMaximum);

    WindowModel& model_;
    std::int32_t logMax_ = kDefaultLogMax;
};

}  // namespace zarame
