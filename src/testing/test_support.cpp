#include "testing/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/run_time_error.h"

namespace zarame::testing {

void FaultyFileService::MaybeFail(Operation operation, const QString& path) {
    if (operation != operation_) {
        return;
    }
    if (succeedingCalls_ > 0) {
        --succeedingCalls_;
        return;
    }
    throw FileSystemError(errorNumber_, path);
}

CreateOutcome FaultyFileService::CreateFolder(const QString& path) {
    MaybeFail(Operation::CreateFolder, path);
    return real_.CreateFolder(path);
}

CreateOutcome FaultyFileService::CopyFile(const QString& source, const QString& destination) {
    MaybeFail(Operation::CopyFile, destination);
    return real_.CopyFile(source, destination);
}

CreateOutcome FaultyFileService::CreateRandomFile(const QString& destination, std::int64_t size,
                                                  std::uint64_t runSeed, std::uint64_t itemIndex) {
    MaybeFail(Operation::CopyFile, destination);  // a new file's write fails as a copy's does
    return real_.CreateRandomFile(destination, size, runSeed, itemIndex);
}

CreateOutcome FaultyFileService::CreateFilledFile(const QString& destination, std::int64_t size,
                                                  std::uint8_t fillByte) {
    MaybeFail(Operation::CopyFile, destination);
    return real_.CreateFilledFile(destination, size, fillByte);
}

void FaultyFileService::CreateTemplate(const QString& path) {
    MaybeFail(Operation::CreateTemplate, path);
    real_.CreateTemplate(path);
}

void FaultyFileService::WriteTemplate(const char* bytes, qsizetype count) {
    MaybeFail(Operation::WriteTemplate, QStringLiteral("template"));
    real_.WriteTemplate(bytes, count);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
    }
}

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RunTimeError& error) {
        return error.number();
    }
    return 0;
}

bool Exists(const QString& path) {
    return QFileInfo::exists(path);
}

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

QStringList Names(NameGenerator& names) {
    QStringList all;
    for (NameStep step = names.Next(); step.kind != NameStep::Kind::End; step = names.Next()) {
        all << step.name;
    }
    return all;
}

RunFixture::RunFixture()
    : destination(temporary.path() + QStringLiteral("/out")),
      templatePath(temporary.path() + QStringLiteral("/KRB_tmp.tmp")),
      run(model, host, observer, templatePath) {
    QDir().mkpath(destination);
    model.setText(TextBox::txtFolder, destination);
}

void RunFixture::SetNumbers(int first, int last, const QString& fixedText,
                            const QString& extension) {
    model.select(OptionGroup::optType, 2);
    model.setText(TextBox::txtMin, QString::number(first));
    model.setText(TextBox::txtMax, QString::number(last));
    model.setText(TextBox::txtFix, fixedText);
    model.setText(TextBox::txtExt, extension);
}

std::vector<bool> RunFixture::EnabledStates() const {
    std::vector<bool> states;
    for (int control = 0; control < kControlCount; ++control) {
        states.push_back(model.enabled(static_cast<Control>(control)));
    }
    return states;
}

ContextFixture::ContextFixture()
    : destination(temporary.path() + QStringLiteral("/out")),
      templatePath(temporary.path() + QStringLiteral("/KRB_tmp.tmp")) {
    QDir().mkpath(destination);
    model.setText(TextBox::txtFolder, destination);
    request.folder = destination;
}

void RecordingObserver::ItemFinished(const ItemOutcome& outcome) {
    results.push_back(outcome.result);
    if (outcome.result == ItemResult::Made || outcome.result == ItemResult::AlreadyThere) {
        lines << OutcomeLine(outcome.subject, outcome.result);
    }
}

}  // namespace zarame::testing
