#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "run/run_context.h"
#include "run/run_observer.h"
#include "window/batch_request.h"
#include "window/start_cell.h"

namespace zarame {

class FileService;
class Host;
class NameGenerator;
class WindowModel;
namespace workbook {
class Workbook;
}

// The run of the main window: from the start button to the single exit that cleans up. It reads
// the window's inputs once into a request, and tells the observer everything that happens.
class RunSequence {
public:
    using FileServiceFactory = std::function<std::unique_ptr<FileService>()>;

    RunSequence(WindowModel& model, Host& host, RunObserver& observer, QString templatePath,
                FileServiceFactory makeFileService = {});
    ~RunSequence();

    RunOutcome cmdCreate_Click();
    void cmdStop_Click() { stopRequested_ = true; }

    bool stopRequested() const { return stopRequested_; }
    const QString& templatePath() const { return templatePath_; }
    // The command line takes any cell of a sheet where the window's field holds two characters.
    void setCellReach(CellReach reach) { cellReach_ = reach; }
    // Lets a front end add what the window's inputs cannot hold (the command line's sizes past
    // the window's field, its fills and folder options) once the inputs passed their checks.
    using RequestAmendment = std::function<void(BatchRequest&)>;
    void setRequestAmendment(RequestAmendment amend) { amendRequest_ = std::move(amend); }

private:
    RunContext Context();
    RunOutcome Dispatch(RunEnd& end);
    RunOutcome Walk(RunContext& context, const BatchRequest& request, RunEnd& end);
    RunOutcome WalkNames(RunContext& context, const BatchRequest& request, NameGenerator& names);
    RunOutcome RunExcelColumn(RunContext& context, const BatchRequest& request, RunEnd& end);
    void Finish() noexcept;

    WindowModel& model_;
    Host& host_;
    RunObserver& observer_;
    QString templatePath_;
    FileServiceFactory makeFileService_;
    std::unique_ptr<FileService> files_;
    bool stopRequested_ = false;
    CellReach cellReach_ = CellReach::WindowField;
    RequestAmendment amendRequest_;
    // The workbook, held from its opening to the finishing steps.
    std::unique_ptr<workbook::Workbook> workbook_;
};

}  // namespace zarame
