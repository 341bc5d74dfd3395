#pragma once

#include <QString>
#include <cstdint>

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

// Which handler wrote an error line: the run's general handler or the template builder's.
enum class SiteTag { RunSequence = 0, TemplateBuilder = 1 };

// Appends a line (escaped bytes shown as U+FFFD), drops the oldest once there are more than
// logMax, and scrolls to the end.
void AddLog(WindowModel& model, const QString& text, std::int32_t logMax);

// The outcome line of one item: subject + "を作成しました" or + "は既に存在しています".
QString OutcomeLine(const QString& subject, bool created);

// "[" number "][" tag "]" description.
QString ErrorLine(const RunTimeError& error, SiteTag site);

// Logs that the stop was honoured and shows it in the status label.
void ReportStop(WindowModel& model, std::int32_t logMax);

// After an item: one step up, or back to the minimum once the maximum is reached.
void AdvanceProgress(WindowModel& model);

}  // namespace zarame
