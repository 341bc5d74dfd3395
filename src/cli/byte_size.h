#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace zarame {

// Why a text is no size.
enum class ByteSizeRefusal {
    Empty,
    Negative,
    NotNumber,
    BadGrouping,
    UnknownUnit,
    NotWholeBytes,
    TooLarge
};

struct ParsedByteSize {
    std::optional<std::int64_t> bytes;
    ByteSizeRefusal refusal = ByteSizeRefusal::Empty;  // when there are no bytes
};

// A size as people write it: digits, grouped by commas in threes or not, an optional decimal
// fraction, then an optional unit. K, M, G, T alone and KiB, MiB, GiB, TiB are powers of 1024;
// KB, MB, GB, TB powers of 1000; B is bytes (any case, blanks allowed around the number and the
// unit, full-width forms read as their ASCII ones). A fraction must come to a whole number of
// bytes (1.5K is 1536; 1.1K is refused rather than rounded), and the size must stay within
// 2^63 - 1 bytes.
ParsedByteSize ParseByteSize(QStringView text);

// The Japanese reason a text given for `option` is no size, for an error message.
QString ByteSizeRefusalText(ByteSizeRefusal refusal, const QString& option, const QString& text);

}  // namespace zarame
