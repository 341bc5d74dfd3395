#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace zarame {

// How the bytes of a text file (a list of names, a comma-separated sheet) become text.
enum class TextEncoding { Utf8, ShiftJis, Utf16LittleEndian, Utf16BigEndian };

// "UTF-8", "Shift_JIS", ... as a message names the encoding.
QString NameOf(TextEncoding encoding);

struct ByteOrderMark {
    TextEncoding encoding;
    qsizetype length;
};

// The byte-order mark that starts a text, if any; `head` is its first three bytes (or all of a
// shorter text).
std::optional<ByteOrderMark> ByteOrderMarkOf(QByteArrayView head);

// Decides the encoding of a text without a byte-order mark from all of it: valid UTF-8 throughout
// is UTF-8, anything else is Shift_JIS (CP932), as lists saved on Japanese Windows are. One line
// cannot tell on its own: many CP932 kanji pairs are valid UTF-8 by accident (凜子 is EA A3 8E 71,
// "꣎q" as UTF-8), so one decision holds for every line of a file.
class EncodingDecision {
public:
    // Looks at the next bytes of the text.
    void Feed(QByteArrayView bytes);
    // True once the bytes seen rule UTF-8 out: nothing more needs to be looked at.
    bool settled() const { return invalid_; }
    // For all of the text fed: a sequence cut off at its end is not UTF-8.
    TextEncoding Whole() const;
    // For the start of a longer text: a sequence cut off where the start ends counts for UTF-8.
    TextEncoding Start() const;

private:
    int pending_ = 0;  // continuation bytes still expected
    unsigned char lowest_ = 0x80;
    unsigned char highest_ = 0xBF;
    bool invalid_ = false;
};

// One piece of a text (a line, a field) in its encoding; nothing when it holds what the encoding
// cannot decode: an invalid sequence, half a UTF-16 code unit or a lone surrogate, any of which
// would become another name on disk than the one written.
std::optional<QString> DecodeText(QByteArrayView bytes, TextEncoding encoding);

}  // namespace zarame
