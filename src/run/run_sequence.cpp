#include "run/run_sequence.h"

#include <initializer_list>
#include <new>

#include "common/byte_text.h"
#include "create/dry_run_file_service.h"
#include "create/item_creator.h"
#include "create/posix_file_service.h"
#include "create/text_stream.h"
#include "run/host.h"
#include "run/item_walk.h"
#include "run/parse_request.h"
#include "run/template_builder.h"
#include "sources/excel_source.h"
#include "sources/sequence_source.h"
#include "sources/text_file_source.h"
#include "window/input_groups.h"
#include "window/window_model.h"
#include "workbook/read_stop.h"
#include "workbook/spreadsheet.h"
#include "workbook/streaming_sheet.h"

namespace zarame {

namespace {

constexpr char16_t kSpreadsheetUnavailable[] = u"Microsoft Excelがインストールされていません。";

enum class WindowLock { Locked, Released };

// The controls a run locks, in the order they are set; the stop button works the other way round.
void SetWindowLock(WindowModel& model, WindowLock lock) {
    const bool released = lock == WindowLock::Released;
    for (Control control :
         {Control::optType0, Control::optType1, Control::optType2, Control::fra0, Control::fra1,
          Control::fra2, Control::txtFolder, Control::cmdReferFolder, Control::optSpec0,
          Control::optSpec1, Control::optSpec2, Control::txtFileByte, Control::txtCode,
          Control::txtDup, Control::cmdReferDup, Control::cmdCreate}) {
        model.setEnabled(control, released);
    }
    model.setEnabled(Control::cmdStop, !released);
    model.setEnabled(Control::cmdEnd, released);
}

// The refusal's message, then the focus on the input it names, once the message is closed.
void ShowRefusal(Host& host, const InputRefusal& refusal) {
    host.ShowMessage(refusal.message, MessageIcon::Warning);
    if (refusal.focus) {
        host.MoveFocus(*refusal.focus);
    }
}

}  // namespace

RunSequence::RunSequence(WindowModel& model, Host& host, RunObserver& observer,
                         QString templatePath, FileServiceFactory makeFileService)
    : model_(model),
      host_(host),
      observer_(observer),
      templatePath_(std::move(templatePath)),
      makeFileService_(std::move(makeFileService)) {
    if (!makeFileService_) {
        makeFileService_ = [] { return std::make_unique<PosixFileService>(); };
    }
}

RunSequence::~RunSequence() = default;

RunOutcome RunSequence::cmdCreate_Click() {
    files_ = makeFileService_();
    stopRequested_ = false;
    RunEnd end;
    try {
        end.outcome = Dispatch(end);
    } catch (const RunTimeError& error) {
        observer_.ErrorRaised(error, SiteTag::RunSequence);
        end.outcome = RunOutcome::Failed;
    } catch (const std::bad_alloc&) {
        observer_.ErrorRaised(RunTimeError(7, QStringLiteral("メモリが不足しています")),
                              SiteTag::RunSequence);
        end.outcome = RunOutcome::Failed;
    }
    Finish();
    observer_.RunEnded(end);
    return end.outcome;
}

RunContext RunSequence::Context() {
    return RunContext{host_, observer_, *files_, stopRequested_, templatePath_};
}

RunOutcome RunSequence::Dispatch(RunEnd& end) {
    const ParsedRequest parsed =
        ParseRequest(model_, *files_, cellReach_, [this] { observer_.RunAccepted(); });
    if (!parsed.request) {
        ShowRefusal(host_, parsed.refusal);
        return RunOutcome::Refused;
    }
    BatchRequest request = *parsed.request;
    if (amendRequest_) {
        amendRequest_(request);
    }
    if (request.mode == RunMode::DryRun) {
        // From here on nothing is written: not the template, not an item, and no leftover
        // template is removed either.
        files_ = std::make_unique<DryRunFileService>(templatePath_);
    }
    // One item of gigabytes takes long to write: the stop is heard between its blocks too.
    files_->SetStopCheck([this] {
        host_.PumpEvents();
        return stopRequested_;
    });
    RunContext context = Context();
    SetWindowLock(model_, WindowLock::Locked);
    switch (PrepareTemplateFile(context, request)) {
        case TemplateOutcome::Failed:
            return RunOutcome::Failed;
        case TemplateOutcome::Stopped:
            return RunOutcome::Stopped;
        case TemplateOutcome::Ready:
            break;
    }
    if (stopRequested_) {
        return RunOutcome::Stopped;  // pressed during the last block: the build saw no stop
    }
    observer_.PhaseStarted({RunPhase::Creating, BatchMaximum(request.names)});
    // A stop heard while a reader waits or reads (a pipe, a long look through a file, a book
    // between two cells) ends the run as a stop from the walk would.
    try {
        return Walk(context, request, end);
    } catch (const TextStream::Stopped&) {
    } catch (const workbook::ReadStopped&) {
    } catch (const ItemStopped&) {
    }
    observer_.StopHonoured();
    return RunOutcome::Stopped;
}

RunOutcome RunSequence::Walk(RunContext& context, const BatchRequest& request, RunEnd& end) {
    switch (request.names.source) {
        case NameSource::ExcelColumn:
            return RunExcelColumn(context, request, end);
        case NameSource::TextFile: {
            TextFileNames names(*files_, request.names.textFilePath, [this] {
                host_.PumpEvents();
                return stopRequested_;
            });
            const RunOutcome outcome = WalkNames(context, request, names);
            end.emptyLineBeforeMore = names.emptyLineBeforeMore();
            return outcome;
        }
        case NameSource::SequentialNumbers: {
            SequenceNames names(request.names.numbers);
            return WalkNames(context, request, names);
        }
    }
    return RunOutcome::Completed;
}

RunOutcome RunSequence::WalkNames(RunContext& context, const BatchRequest& request,
                                  NameGenerator& names) {
    const bool dryRun = request.mode == RunMode::DryRun;
    const WalkPlan plan{request.folder, ItemRecipeOf(request.items, templatePath_),
                        request.parentFolders,
                        dryRun ? FailedItem::IsLoggedAndPassed : FailedItem::EndsTheRun};
    return WalkItems(context, names, plan) == WalkEnd::Stopped ? RunOutcome::Stopped
                                                               : RunOutcome::Completed;
}

RunOutcome RunSequence::RunExcelColumn(RunContext& context, const BatchRequest& request,
                                       RunEnd& end) {
    // Opening a book and reading between two cells can take long: the readers ask for a stop
    // on their own.
    const workbook::ReadStopScope readStop([this] {
        host_.PumpEvents();
        return stopRequested_;
    });
    workbook::WorkbookOpening opening =
        workbook::OpenWorkbook(request.names.workbookColumn.workbookPath);
    if (!opening.book) {
        // The first line is the one every failure has always shown; no spreadsheet program is
        // ever missing here, so the second line tells what to fix, paths shown as the log does.
        host_.ShowMessage(QString::fromUtf16(kSpreadsheetUnavailable) + u'\n' +
                              VisibleLine(opening.failure->description()),
                          MessageIcon::Error);
        end.workbookFailure = std::move(opening.failure);
        return RunOutcome::WorkbookUnavailable;
    }
    workbook_ = std::move(opening.book);
    WorkbookColumnNames names(workbook_->ActiveSheet(), request.names.workbookColumn);
    return WalkNames(context, request, names);
}

void RunSequence::Finish() noexcept {
    // Every step runs whatever an earlier one did, so the window always comes back.
    const auto step = [](auto&& action) {
        try {
            action();
        } catch (...) {
        }
    };
    // A refused run has no request: the finish reads what the inputs hold.
    step([&] {
        observer_.PhaseStarted(
            {RunPhase::Finishing, BatchMaximum(model_.nameSource(), model_.text(TextBox::txtMin),
                                               model_.text(TextBox::txtMax))});
    });
    step([&] {
        RunContext context = Context();
        FinishTemplateFile(context, model_.itemKind());
    });
    files_.reset();
    if (workbook_) {
        workbook_->Close();
        workbook_.reset();
    }
    step([&] { SetWindowLock(model_, WindowLock::Released); });
    step([&] { UpdateInputGroups(model_); });
}

}  // namespace zarame
