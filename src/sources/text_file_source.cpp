#include "sources/text_file_source.h"

#include "create/file_service.h"
#include "create/text_stream.h"

namespace zarame {

TextFileNames::TextFileNames(FileService& files, const QString& path,
                             std::function<bool()> stopCheck)
    : stream_(files.OpenTextFile(path)) {
    stream_->SetStopCheck(std::move(stopCheck));
}

TextFileNames::~TextFileNames() = default;

NameStep TextFileNames::Next() {
    if (ended_) {
        return {};
    }
    std::optional<QString> line = stream_->ReadLine();
    if (!line || line->isEmpty()) {
        ended_ = true;
        const std::int64_t emptyLine = stream_->lineNumber();  // before looking on moves it
        if (line && stream_->TextFollows()) {
            emptyLineBeforeMore_ = emptyLine;
        }
        return {};
    }
    return {NameStep::Kind::Item, std::move(*line)};
}

SourceExtent TextFileNames::extent() const {
    return {SourceExtent::Unit::Bytes, stream_->bytesRead(), stream_->size()};
}

}  // namespace zarame
