#include "create/dry_run_file_service.h"

#include <sys/stat.h>
#include <QHash>
#include <cerrno>

#include "common/run_time_error.h"
#include "create/posix_calls.h"

namespace zarame {

namespace {

std::uint64_t PathHash(const QString& path) {
    return static_cast<std::uint64_t>(qHash(path, 0x5a6172616d65ULL));
}

}  // namespace

DryRunLimitError::DryRunLimitError(std::size_t remembered)
    : RunTimeError(7,
                   QStringLiteral("試行で覚えておける項目の数 (%1 件) を超えたため、ここで止めます")
                       .arg(remembered)) {}

void DryRunFileService::Remember(const QString& path, Made made) {
    if (made_.size() >= rememberedItems_) {
        throw DryRunLimitError(rememberedItems_);
    }
    made_.emplace(PathHash(path), made);
}

DryRunFileService::Standing DryRunFileService::Look(const QString& path) const {
    const auto made = made_.find(PathHash(path));
    if (made != made_.end()) {
        return made->second == Made::Folder ? Standing::Folder : Standing::Other;
    }
    const QByteArray native = posix::Native(path);
    struct stat status;
    if (::lstat(native.constData(), &status) != 0) {
        if (errno == ENOENT) {
            return Standing::Nothing;
        }
        posix::ThrowErrno(path);
    }
    // A link counts as what it leads to, as the real creates would find it; a dangling one is
    // still something in the way.
    if (S_ISLNK(status.st_mode) && ::stat(native.constData(), &status) != 0) {
        return Standing::Other;
    }
    return S_ISDIR(status.st_mode) ? Standing::Folder : Standing::Other;
}

// The folder an item goes into must be there, or be one this run would have made. Most items
// share one folder, which is looked at once.
void DryRunFileService::CheckParent(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash <= 0) {
        return;
    }
    const QStringView parent = QStringView(path).left(slash);
    if (parent == lastFolder_) {
        return;
    }
    switch (Look(parent.toString())) {
        case Standing::Folder:
            lastFolder_ = parent.toString();
            return;
        case Standing::Nothing:
            throw FileSystemError(ENOENT, path);
        case Standing::Other:
            throw FileSystemError(ENOTDIR, path);
    }
}

CreateOutcome DryRunFileService::CreateFolder(const QString& path) {
    switch (Look(path)) {
        case Standing::Folder:
            return CreateOutcome::AlreadyExists;
        case Standing::Other:
            throw FileSystemError(EEXIST, path);
        case Standing::Nothing:
            break;
    }
    CheckParent(path);
    Remember(path, Made::Folder);
    return CreateOutcome::Created;
}

CreateOutcome DryRunFileService::CopyFile(const QString& source, const QString& destination) {
    return CreateFile(destination, [&] {
        if (source != templatePath_) {
            CheckSource(source);
        }
    });
}

// Like the real exclusive create: nothing is made when the content cannot be had.
CreateOutcome DryRunFileService::CreateFile(const QString& destination,
                                            const std::function<void()>& checkContent) {
    switch (Look(destination)) {
        case Standing::Folder:
            throw FileSystemError(EISDIR, destination);
        case Standing::Other:
            return CreateOutcome::AlreadyExists;
        case Standing::Nothing:
            break;
    }
    CheckParent(destination);
    if (checkContent) {
        checkContent();
    }
    Remember(destination, Made::File);
    return CreateOutcome::Created;
}

// The copy's source is looked at as the real copy looks at it, once: it must be a regular file.
void DryRunFileService::CheckSource(const QString& source) {
    if (source == checkedSource_) {
        return;
    }
    posix::LookAtCopySource(source);
    checkedSource_ = source;
}

}  // namespace zarame
