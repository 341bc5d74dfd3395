#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "common/run_time_error.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "window/batch_request.h"
#include "window/start_cell.h"

namespace zarame {

class FileService;
class Host;
namespace workbook {
class SpreadsheetApplication;
class Workbook;
}  // namespace workbook
class WindowModel;
struct RunContext;

// How a press of the start button ended, for front ends that report it (the command line's exit
// status); the window itself shows only the log and the status label.
enum class RunOutcome {
    Completed,            // the batch ran to its end, existing items included
    Refused,              // an input check refused the run
    Failed,               // an error line ended it
    WorkbookUnavailable,  // the spreadsheet connection could not be opened
    Stopped,              // the stop flag was honoured
};

// The run of the main window: from the start button to the single exit that cleans up.
class RunSequence {
public:
    using FileServiceFactory = std::function<std::unique_ptr<FileService>()>;

    RunSequence(WindowModel& model, Host& host, QString templatePath,
                FileServiceFactory makeFileService = {});
    ~RunSequence();

    RunOutcome cmdCreate_Click();
    void cmdStop_Click() { stopRequested_ = true; }

    bool stopRequested() const { return stopRequested_; }
    std::int32_t logMax() const { return logMax_; }
    void setLogMax(std::int32_t logMax) { logMax_ = logMax; }
    const QString& templatePath() const { return templatePath_; }
    // The command line takes any cell of a sheet where the window's field holds two characters.
    void setCellReach(CellReach reach) { cellReach_ = reach; }
    // Lets a front end add what the window's inputs cannot hold (the command line's sizes past
    // the window's field, its fills and folder options) once the inputs passed their checks.
    using RequestAmendment = std::function<void(BatchRequest&)>;
    void setRequestAmendment(RequestAmendment amend) { amendRequest_ = std::move(amend); }
    // The number of the empty line that ended the last text walk's list while lines that are
    // not empty follow it in the file; 0 when there was none.
    std::int64_t emptyLineBeforeMore() const { return emptyLineBeforeMore_; }
    // Why the last run's workbook could not be opened, if it could not.
    const std::optional<RunTimeError>& connectionFailure() const { return connectionFailure_; }
    // How far the walk under way has come through its source.
    const SourceExtent& sourceExtent() const { return extent_; }

private:
    RunContext Context();
    RunOutcome Dispatch();
    RunOutcome Walk(RunContext& context, const BatchRequest& request);
    RunOutcome RunExcelColumn(RunContext& context, const BatchRequest& request);
    RunOutcome OpenAndWalkWorkbook(RunContext& context, const BatchRequest& request);
    void Finish() noexcept;

    WindowModel& model_;
    Host& host_;
    QString templatePath_;
    FileServiceFactory makeFileService_;
    std::unique_ptr<FileService> files_;
    bool stopRequested_ = false;
    std::int32_t logMax_ = kDefaultLogMax;
    CellReach cellReach_ = CellReach::WindowField;
    RequestAmendment amendRequest_;
    std::int64_t emptyLineBeforeMore_ = 0;
    std::optional<RunTimeError> connectionFailure_;
    // The spreadsheet connection, held from its opening to the finishing steps.
    std::unique_ptr<workbook::SpreadsheetApplication> spreadsheet_;
    std::unique_ptr<workbook::Workbook> workbook_;
    SourceExtent extent_;
};

}  // namespace zarame
