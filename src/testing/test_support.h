#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "create/posix_file_service.h"
#include "create/text_stream.h"
#include "run/host.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "run/run_observer.h"
#include "run/run_sequence.h"
#include "sources/name_generator.h"
#include "window/window_model.h"

// Lets test failures print Qt strings readably.
inline void PrintTo(const QString& text, std::ostream* stream) {
    *stream << text.toStdString();
}

namespace zarame::testing {

// Records what a run asked of its host; onPump lets a test press "stop" at any pump.
class TestHost : public Host {
public:
    struct Message {
        QString text;
        MessageIcon icon;
    };

    void ShowMessage(const QString& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    void MoveFocus(TextBox box) override { focus.push_back(box); }
    void PumpEvents() override {
        ++pumps;
        if (onPump) {
            onPump(pumps);
        }
    }

    std::vector<Message> messages;
    std::vector<TextBox> focus;
    int pumps = 0;
    std::function<void(int)> onPump;
};

// The real file service with one operation made to fail, to stand for what a test machine cannot
// produce at will (a full disk, a refused permission when running as root).
class FaultyFileService : public FileService {
public:
    enum class Operation {
        CopyFile,
        CreateFolder,
        WriteTemplate,
        CreateTemplate,
        CreateRandomFile
    };

    FaultyFileService(Operation operation, int errorNumber, int succeedingCalls = 0)
        : operation_(operation), errorNumber_(errorNumber), succeedingCalls_(succeedingCalls) {}

    bool FolderExists(const QString& path) override { return real_.FolderExists(path); }
    bool FileExists(const QString& path) override { return real_.FileExists(path); }
    CreateOutcome CreateFolder(const QString& path) override;
    CreateOutcome CopyFile(const QString& source, const QString& destination) override;
    CreateOutcome CreateRandomFile(const QString& destination, std::int64_t size,
                                   std::uint64_t runSeed, std::uint64_t itemIndex) override;
    CreateOutcome CreateFilledFile(const QString& destination, std::int64_t size,
                                   std::uint8_t fillByte) override;
    void DeleteFile(const QString& path) override { real_.DeleteFile(path); }
    std::unique_ptr<TextStream> OpenTextFile(const QString& path) override {
        return real_.OpenTextFile(path);
    }
    void CreateTemplate(const QString& path) override;
    void WriteTemplate(const char* bytes, qsizetype count) override;
    void RemoveTemplate(const QString& path) noexcept override { real_.RemoveTemplate(path); }

private:
    void MaybeFail(Operation operation, const QString& path);

    PosixFileService real_;
    Operation operation_;
    int errorNumber_;
    int succeedingCalls_;
};

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& content);
bool Exists(const QString& path);
// The number of the RunTimeError `action` raises, 0 when it raises none.
int ErrorNumberOf(const std::function<void()>& action);
QStringList FolderEntries(const QString& folder);
// Every step a name source gives up to its end: names, and an empty text for a blank step.
QStringList Names(NameGenerator& names);

// Records what a run told its observer: the lines a log would show (outcomes, the stop, errors),
// the phases in order, the steps and the end.
class RecordingObserver final : public RunObserver {
public:
    void RunAccepted() override { ++accepted; }
    void PhaseStarted(const PhaseStart& start) override { phases.push_back(start.phase); }
    void TemplateBlockWritten(std::int64_t written, std::int64_t) override {
        templateBlocks = written;
    }
    void ItemFinished(const ItemOutcome& outcome) override;
    void StepTaken(const SourceExtent& extent) override {
        ++steps;
        lastExtent = extent;
    }
    void StopHonoured() override { lines << QString::fromUtf16(kStoppedLine); }
    void ErrorRaised(const RunTimeError& error, SiteTag site) override {
        lines << ErrorLine(error, site);
    }
    void RunEnded(const RunEnd& end) override { ends.push_back(end); }

    int accepted = 0;
    std::vector<RunPhase> phases;
    std::int64_t templateBlocks = 0;
    QStringList lines;
    std::vector<ItemResult> results;
    int steps = 0;
    SourceExtent lastExtent;
    std::vector<RunEnd> ends;
};

// Tells two observers the same events, in order.
class TeeObserver final : public RunObserver {
public:
    TeeObserver(RunObserver& first, RunObserver& second) : first_(first), second_(second) {}
    void RunAccepted() override {
        Both([](RunObserver& o) { o.RunAccepted(); });
    }
    void PhaseStarted(const PhaseStart& s) override {
        Both([&](RunObserver& o) { o.PhaseStarted(s); });
    }
    void TemplateBlockWritten(std::int64_t written, std::int64_t count) override {
        Both([&](RunObserver& o) { o.TemplateBlockWritten(written, count); });
    }
    void ItemFinished(const ItemOutcome& i) override {
        Both([&](RunObserver& o) { o.ItemFinished(i); });
    }
    void StepTaken(const SourceExtent& e) override {
        Both([&](RunObserver& o) { o.StepTaken(e); });
    }
    void StopHonoured() override {
        Both([](RunObserver& o) { o.StopHonoured(); });
    }
    void ErrorRaised(const RunTimeError& e, SiteTag t) override {
        Both([&](RunObserver& o) { o.ErrorRaised(e, t); });
    }
    void RunEnded(const RunEnd& e) override {
        Both([&](RunObserver& o) { o.RunEnded(e); });
    }

private:
    template <typename Event>
    void Both(Event event) {
        event(first_);
        event(second_);
    }
    RunObserver& first_;
    RunObserver& second_;
};

// A window, a host and a run whose template and destination live in a fresh temporary folder.
struct RunFixture {
    RunFixture();

    // Sequential numbers into the destination folder, new files of the given size.
    void SetNumbers(int first, int last, const QString& fixedText = QStringLiteral("file"),
                    const QString& extension = QStringLiteral(".dat"));

    RunOutcome Start() { return run.cmdCreate_Click(); }

    // The enabled flag of every control, to compare before and after a run.
    std::vector<bool> EnabledStates() const;

    QTemporaryDir temporary;
    QString destination;
    QString templatePath;
    WindowModel model;
    TestHost host;
    WindowLog log{model};
    RecordingObserver record;
    TeeObserver observer{log, record};
    RunSequence run;
};

// A context for calling one procedure on its own, outside a run.
struct ContextFixture {
    ContextFixture();
    RunContext Context() { return RunContext{host, observer, files, stopRequested, templatePath}; }

    QTemporaryDir temporary;
    QString destination;
    QString templatePath;
    BatchRequest request;  // into the destination
    WindowModel model;     // the inputs, for the procedures that read them
    TestHost host;
    RecordingObserver observer;
    PosixFileService files;
    bool stopRequested = false;
};

}  // namespace zarame::testing
