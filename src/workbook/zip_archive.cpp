#include "workbook/zip_archive.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include "workbook/read_stop.h"
#include "workbook/workbook_error.h"
#include "workbook/workbook_file.h"

namespace zarame::workbook {

namespace {

constexpr std::int64_t kReadPiece = 64 * 1024;

}  // namespace

ZipEntryStream::ZipEntryStream(zip_file* file, QString name, std::int64_t cap)
    : file_(file), name_(std::move(name)), cap_(cap) {}

ZipEntryStream::~ZipEntryStream() {
    zip_fclose(file_);
}

std::int64_t ZipEntryStream::ReadInto(char* data, std::int64_t size) {
    PollStop();  // one piece inflates in well under a millisecond; a part may hold gigabytes
    const zip_int64_t got = zip_fread(file_, data, static_cast<zip_uint64_t>(size));
    if (got < 0) {
        // A checksum that fails at the end of a part is damage like any other.
        throw DamagedWorkbook(name_ + QStringLiteral(": ") +
                              QString::fromUtf8(zip_file_strerror(file_)));
    }
    total_ += got;
    if (total_ > cap_) {
        throw OversizedPart(name_);
    }
    return got;
}

QByteArray ZipEntryStream::Read() {
    QByteArray piece(kReadPiece, Qt::Uninitialized);
    piece.truncate(static_cast<qsizetype>(ReadInto(piece.data(), kReadPiece)));
    return piece;
}

void ZipEntryStream::ReadToEnd() {
    char discard[kReadPiece];
    while (ReadInto(discard, kReadPiece) > 0) {
    }
}

std::optional<ZipArchive> ZipArchive::Open(const WorkbookFile& file) {
    // libzip takes over the descriptor it is given; it gets a copy so the file stays ours.
    const int copy = ::fcntl(file.descriptor(), F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        return std::nullopt;
    }
    int error = 0;
    zip* archive = zip_fdopen(copy, ZIP_RDONLY, &error);
    if (archive == nullptr) {
        ::close(copy);
        return std::nullopt;
    }
    return ZipArchive(archive, file.path());
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) {
        zip_discard(archive_);  // never writes anything back
    }
}

std::int64_t ZipArchive::Locate(const QString& name) const {
    const QByteArray utf8 = name.toUtf8();
    if (utf8.contains('\0')) {
        return -1;
    }
    return zip_name_locate(archive_, utf8.constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
}

bool ZipArchive::Contains(const QString& name) const {
    return Locate(name) >= 0;
}

std::unique_ptr<ZipEntryStream> ZipArchive::OpenEntry(const QString& name, std::int64_t cap) const {
    const std::int64_t index = Locate(name);
    if (index < 0) {
        throw DamagedWorkbook(name + QStringLiteral(" がありません"));
    }
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &status) == 0 &&
        (status.valid & ZIP_STAT_SIZE) != 0 && status.size > static_cast<zip_uint64_t>(cap)) {
        throw OversizedPart(name);
    }
    zip_file* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        throw DamagedWorkbook(name + QStringLiteral(": ") +
                              QString::fromUtf8(zip_strerror(archive_)));
    }
    return std::make_unique<ZipEntryStream>(file, name, cap);
}

std::optional<QByteArray> ZipArchive::ReadWhole(const QString& name, std::int64_t cap) const {
    if (!Contains(name)) {
        return std::nullopt;
    }
    const std::unique_ptr<ZipEntryStream> stream = OpenEntry(name, cap);
    QByteArray whole;
    for (QByteArray piece = stream->Read(); !piece.isEmpty(); piece = stream->Read()) {
        whole += piece;
    }
    return whole;
}

}  // namespace zarame::workbook
