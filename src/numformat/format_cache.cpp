#include "numformat/format_cache.h"

#include "numformat/format_parser.h"

namespace zarame::numformat {

const ParsedFormat& FormatCache::Get(QStringView code) {
    const std::u16string_view key(reinterpret_cast<const char16_t*>(code.utf16()),
                                  static_cast<size_t>(code.size()));
    if (last_ != nullptr && key == lastKey_) {
        return *last_;
    }
    if (code.size() > kMaxFormatCodeLength) {
        // Never kept: every overlong code renders as General.
        if (!overlong_) {
            overlong_ = std::make_unique<const ParsedFormat>(ParseFormatCode(code));
        }
        return *overlong_;
    }
    auto found = formats_.find(key);
    if (found == formats_.end()) {
        if (formats_.size() >= kMaxEntries || codeText_ + key.size() > kMaxCodeText) {
            formats_.clear();
            codeText_ = 0;
            last_ = nullptr;
        }
        codeText_ += key.size();
        found = formats_
                    .emplace(std::u16string(key),
                             std::make_unique<const ParsedFormat>(ParseFormatCode(code)))
                    .first;
    }
    lastKey_ = found->first;  // the key's text stays put in its node
    last_ = found->second.get();
    return *last_;
}

FormatCache& ThreadFormatCache() {
    thread_local FormatCache cache;
    return cache;
}

}  // namespace zarame::numformat
