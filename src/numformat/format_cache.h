#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "numformat/format_code.h"

namespace zarame::numformat {

// Parsed format codes by their text, so that a column of cells sharing a code parses it once.
// Not shared between threads. Bounded: past kMaxEntries distinct codes, or kMaxCodeText
// characters of code in all, it starts afresh, so a workbook full of distinct long codes
// cannot fill the memory.
class FormatCache {
public:
    static constexpr size_t kMaxEntries = 4096;
    static constexpr size_t kMaxCodeText = 256 * 1024;

    const ParsedFormat& Get(QStringView code);
    size_t size() const { return formats_.size(); }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view text) const {
            return std::hash<std::u16string_view>{}(text);
        }
    };

    std::unordered_map<std::u16string, std::unique_ptr<const ParsedFormat>, Hash, std::equal_to<>>
        formats_;
    std::u16string_view lastKey_;
    size_t codeText_ = 0;
    const ParsedFormat* last_ = nullptr;
    std::unique_ptr<const ParsedFormat> overlong_;
};

// The calling thread's cache.
FormatCache& ThreadFormatCache();

}  // namespace zarame::numformat
