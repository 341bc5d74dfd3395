#include "cli/run_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "create/posix_calls.h"
#include "window/window_model.h"

namespace zarame {

namespace {

// JSON has no room for bytes that are not text: they show as U+FFFD, as in the log.
QJsonValue Text(const QString& text) {
    return VisibleText(text);
}

QString FillText(const ItemRequest& items) {
    if (items.content == FileContent::Random) {
        // The seed drawn for a run without one is given too, so that the run can be repeated.
        return QStringLiteral("random:%1").arg(items.randomSeed);
    }
    return QStringLiteral("0x") +
           QString::number(items.fillByte, 16).toUpper().rightJustified(2, u'0');
}

QJsonObject Inputs(const WindowModel& model, const BatchRequest& request) {
    static const char* const sources[] = {"excel", "text", "numbers"};
    static const char* const kinds[] = {"file", "copy", "folder"};
    const auto typed = [&](TextBox box) { return Text(model.text(box)); };
    return {
        {"source", sources[static_cast<int>(request.names.source)]},
        {"excel", typed(TextBox::txtExcel)},
        {"startCell", typed(TextBox::txtStartCell)},
        {"blankRows", typed(TextBox::txtBlank)},
        {"text", typed(TextBox::txtText)},
        {"fixedText", typed(TextBox::txtFix)},
        {"numberPosition", model.selected(OptionGroup::optBeforeAfter) == 0 ? "before" : "after"},
        {"min", typed(TextBox::txtMin)},
        {"max", typed(TextBox::txtMax)},
        {"digits", typed(TextBox::txtSize)},
        {"extension", typed(TextBox::txtExt)},
        {"kind", kinds[static_cast<int>(request.items.kind)]},
        {"size", QJsonValue(static_cast<qint64>(request.items.fileSize))},
        {"fill", FillText(request.items)},
        {"copySource", typed(TextBox::txtDup)},
        {"folder", typed(TextBox::txtFolder)},
        {"parents", request.parentFolders == ParentFolders::Make},
        {"dryRun", request.mode == RunMode::DryRun},
    };
}

QString EndText(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Completed:
            return QStringLiteral("completed");
        case RunOutcome::Stopped:
            return QStringLiteral("stopped");
        case RunOutcome::Refused:  // never reported
        case RunOutcome::Failed:
        case RunOutcome::WorkbookUnavailable:
            break;
    }
    return QStringLiteral("failed");
}

}  // namespace

std::int64_t BytesWritten(const BatchRequest& request, long long namedItemsMade) {
    switch (request.items.kind) {
        case ItemKind::NewFile:
            return request.items.fileSize * namedItemsMade;
        case ItemKind::Duplicate: {
            struct stat status;
            const QByteArray source = EncodeBytes(request.items.duplicateSource);
            return ::stat(source.constData(), &status) == 0 ? status.st_size * namedItemsMade : 0;
        }
        case ItemKind::Folder:
            break;
    }
    return 0;
}

QByteArray ReportJson(const RunReport& report) {
    const CliHost::Counts& counts = report.counts;
    const QJsonObject root{
        {"program", "zarame-cli"},
        {"version", PROJECT_VERSION},
        {"inputs", Inputs(report.model, report.request)},
        {"counts", QJsonObject{{"made", counts.made},
                               {"alreadyThere", counts.alreadyThere},
                               {"failed", counts.failed},
                               {"refused", counts.refused}}},
        {"bytesWritten", QJsonValue(static_cast<qint64>(report.bytesWritten))},
        {"elapsedSeconds", report.elapsedSeconds},
        {"end", EndText(report.outcome)},
        {"exitStatus", report.exitStatus},
        {"firstError", report.firstError.isEmpty() ? QJsonValue() : Text(report.firstError)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<QString> ReportPathRefusal(const QString& path) {
    const QByteArray native = EncodeBytes(path);
    if (native.contains('\0')) {
        return FileSystemError(EINVAL, path).description();
    }
    struct stat status;
    if (::lstat(native.constData(), &status) == 0) {
        return S_ISREG(status.st_mode)
                   ? std::nullopt
                   : std::optional<QString>(
                         QStringLiteral("通常のファイルではないため置き換えません: ") +
                         VisibleLine(path));
    }
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : native.left(slash);
    if (::stat(folder.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return QStringLiteral("レポートの保存先フォルダがありません: ") + VisibleLine(path);
    }
    return std::nullopt;
}

std::optional<QString> WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const auto cause = [&](int error) { return FileSystemError(error, path).description(); };
    const QByteArray native = EncodeBytes(path);
    if (native.contains('\0')) {
        return cause(EINVAL);
    }
    struct stat status;
    if (::lstat(native.constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return QStringLiteral("通常のファイルではないため置き換えません: ") + VisibleLine(path);
    }
    // Beside the report, so that the rename stays within one file system.
    const qsizetype slash = native.lastIndexOf('/');
    QByteArray temporary =
        (slash < 0 ? QByteArray(".") : native.left(slash)) + "/.zarame-report-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return cause(errno);
    }
    // A report is an ordinary file for its reader, whatever mkostemp's private mode.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    int error = 0;
    if (!posix::WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size())) ||
        ::fchmod(fd, 0666 & ~mask) != 0 || ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), native.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return cause(error);
    }
    return std::nullopt;
}

}  // namespace zarame
