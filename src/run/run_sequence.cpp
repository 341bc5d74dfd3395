#include "run/run_sequence.h"

#include <initializer_list>
#include <new>

#include "common/byte_text.h"
#include "create/posix_file_service.h"
#include "run/host.h"
#include "run/parse_request.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "run/template_builder.h"
#include "sources/excel_source.h"
#include "sources/sequence_source.h"
#include "sources/text_file_source.h"
#include "window/input_groups.h"
#include "window/window_model.h"
#include "workbook/read_stop.h"
#include "workbook/spreadsheet.h"

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

RunSequence::RunSequence(WindowModel& model, Host& host, QString templatePath,
                         FileServiceFactory makeFileService)
    : model_(model),
      host_(host),
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
    emptyLineBeforeMore_ = 0;
    connectionFailure_.reset();
    extent_ = {};
    RunOutcome outcome;
    try {
        outcome = Dispatch();
    } catch (const RunTimeError& error) {
        AddLog(model_, ErrorLine(error, SiteTag::RunSequence), logMax_);
        outcome = RunOutcome::Failed;
    } catch (const std::bad_alloc&) {
        AddLog(model_,
               ErrorLine(RunTimeError(7, QStringLiteral("メモリが不足しています")),
                         SiteTag::RunSequence),
               logMax_);
        outcome = RunOutcome::Failed;
    }
    Finish();
    return outcome;
}

RunContext RunSequence::Context() {
    return RunContext{model_, host_, *files_, stopRequested_, logMax_, templatePath_, extent_};
}

RunOutcome RunSequence::Dispatch() {
    RunContext context = Context();
    const ParsedRequest parsed =
        ParseRequest(model_, *files_, cellReach_, [this] { model_.clearLog(); });
    if (!parsed.request) {
        ShowRefusal(host_, parsed.refusal);
        return RunOutcome::Refused;
    }
    BatchRequest request = *parsed.request;
    if (amendRequest_) {
        amendRequest_(request);
    }
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
    model_.setCaption(Label::lblNow, QString::fromUtf16(kStatusCreating));
    return Walk(context, request);
}

RunOutcome RunSequence::Walk(RunContext& context, const BatchRequest& request) {
    switch (request.names.source) {
        case NameSource::ExcelColumn:
            return RunExcelColumn(context, request);
        case NameSource::TextFile: {
            const TextWalkResult result = CreateFromTextFile(context, request);
            emptyLineBeforeMore_ = result.emptyLineBeforeMore;
            return result.end == WalkEnd::Stopped ? RunOutcome::Stopped : RunOutcome::Completed;
        }
        case NameSource::SequentialNumbers:
            return CreateFromNumbers(context, request) == WalkEnd::Stopped ? RunOutcome::Stopped
                                                                           : RunOutcome::Completed;
    }
    return RunOutcome::Completed;
}

RunOutcome RunSequence::RunExcelColumn(RunContext& context, const BatchRequest& request) {
    // Opening a book and reading between two cells can take long: the readers ask for a stop
    // on their own, and a stop heard there ends the run as a stop from the walk would.
    const workbook::ReadStopScope readStop([this] {
        host_.PumpEvents();
        return stopRequested_;
    });
    try {
        return OpenAndWalkWorkbook(context, request);
    } catch (const workbook::ReadStopped&) {
        ReportStop(model_, logMax_);
        return RunOutcome::Stopped;
    }
}

RunOutcome RunSequence::OpenAndWalkWorkbook(RunContext& context, const BatchRequest& request) {
    // The connection trap covers exactly the start of the component and the opening of the book.
    try {
        spreadsheet_ = std::make_unique<workbook::SpreadsheetApplication>();
        spreadsheet_->SetDisplayAlerts(false);
        spreadsheet_->SetVisible(false);
        workbook_ = spreadsheet_->Open(request.names.workbookColumn.workbookPath,
                                       workbook::OpenMode::ReadOnly);
    } catch (const RunTimeError& error) {
        connectionFailure_ = error;
    } catch (const std::bad_alloc&) {
        connectionFailure_ = RunTimeError(7, QStringLiteral("メモリが不足しています"));
    }
    if (connectionFailure_) {
        // The first line is the one every failure has always shown; no spreadsheet program is
        // ever missing here, so the second line tells what to fix, paths shown as the log does.
        host_.ShowMessage(QString::fromUtf16(kSpreadsheetUnavailable) + u'\n' +
                              VisibleLine(connectionFailure_->description()),
                          MessageIcon::Error);
        return RunOutcome::WorkbookUnavailable;
    }
    return CreateFromExcel(context, request, *workbook_) == WalkEnd::Stopped
               ? RunOutcome::Stopped
               : RunOutcome::Completed;
}

void RunSequence::Finish() noexcept {
    // Every step runs whatever an earlier one did, so the window always comes back.
    const auto step = [](auto&& action) {
        try {
            action();
        } catch (...) {
        }
    };
    step([&] { model_.setProgressValue(model_.progress().minimum); });
    step([&] { model_.setCaption(Label::lblNow, QString()); });
    step([&] {
        // A refused run has no request: the finish reads what the inputs hold.
        RunContext context = Context();
        FinishTemplateFile(context, model_.itemKind(),
                           BatchMaximum(model_.nameSource(), model_.text(TextBox::txtMin),
                                        model_.text(TextBox::txtMax)));
    });
    files_.reset();
    // The book is closed before its application quits.
    if (workbook_) {
        workbook_->Close();
        workbook_.reset();
    }
    if (spreadsheet_) {
        spreadsheet_->Quit();
        spreadsheet_.reset();
    }
    step([&] { SetWindowLock(model_, WindowLock::Released); });
    step([&] { UpdateInputGroups(model_); });
}

}  // namespace zarame
